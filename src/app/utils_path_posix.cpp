#include "utils_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include "utils_text.h"

namespace Utils {

wchar_t PathSeparator() { return L'/'; }

std::wstring GetExecutablePath() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path);
  if (n <= 0 || static_cast<size_t>(n) >= sizeof path) return {};
  std::wstring wide = ToWide(std::string_view(path, static_cast<size_t>(n)), kCodePageUtf8);
  if (wide.size() >= kMaxPath) return {};
  return wide;
}

bool PathExists(const std::wstring& path) {
  struct stat st {};
  return !path.empty() && stat(ToNarrow(path, kCodePageUtf8).c_str(), &st) == 0;
}

bool FileExists(const std::wstring& path) {
  struct stat st {};
  return !path.empty() && stat(ToNarrow(path, kCodePageUtf8).c_str(), &st) == 0 &&
         !S_ISDIR(st.st_mode);
}

}  // namespace Utils
