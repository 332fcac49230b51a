// Helpers of this folder's tests: a private temporary folder per test.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

namespace Utils::Testing {

// A fresh folder under the system's temporary directory, removed with its
// content when the object goes. Names are unique across the processes that
// run tests side by side.
class TempFolder {
 public:
  TempFolder() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
      path_ = base / ("qv-env-" + std::to_string(stamp) + "-" + std::to_string(counter++));
      std::error_code error;
      if (std::filesystem::create_directory(path_, error)) break;
    }
  }
  ~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder, or `name` inside it, as a wide string in the system's spelling.
  std::wstring Wide(const std::wstring& name = {}) const {
    return name.empty() ? path_.wstring() : (path_ / name).wstring();
  }

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::filesystem::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace Utils::Testing
