#include "profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>

#include "utils_text.h"

namespace Utils {
namespace {

// How a profile file stores its text; a rewrite keeps it.
enum class Encoding { kPlain, kUtf8Bom, kUtf16Le, kUtf16Be };

struct ProfileText {
  Encoding encoding = Encoding::kPlain;
  std::wstring text;
};

std::wstring DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::wstring out;
  out.reserve(bytes.size() / 2);
  const auto unit = [&](size_t i) -> uint32_t {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0);
  };
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const uint32_t u = unit(i);
    if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size()) {
      const uint32_t low = unit(i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        out.push_back(static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00)));
        i += 2;
        continue;
      }
    }
    out.push_back(static_cast<wchar_t>((u >= 0xD800 && u < 0xE000) ? 0xFFFD : u));
  }
  return out;
}

std::string EncodeUtf16(std::wstring_view text, bool bigEndian) {
  std::string out;
  out.reserve(text.size() * 2 + 2);
  const auto put = [&](uint32_t u) {
    const char hi = static_cast<char>(u >> 8);
    const char lo = static_cast<char>(u & 0xFF);
    out.push_back(bigEndian ? hi : lo);
    out.push_back(bigEndian ? lo : hi);
  };
  put(0xFEFF);
  for (wchar_t wc : text) {
    auto cp = static_cast<uint32_t>(wc);
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) cp = 0xFFFD;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      put(0xD800 + (cp >> 10));
      put(0xDC00 + (cp & 0x3FF));
    } else {
      put(cp);
    }
  }
  return out;
}

ProfileText Decode(std::string_view bytes) {
  ProfileText file;
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    file.encoding = Encoding::kUtf16Le;
    file.text = DecodeUtf16(bytes.substr(2), false);
  } else if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') {
    file.encoding = Encoding::kUtf16Be;
    file.text = DecodeUtf16(bytes.substr(2), true);
  } else if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    file.encoding = Encoding::kUtf8Bom;
    file.text = ToWide(bytes.substr(3), kCodePageUtf8);
  } else {
    file.text = ToWide(bytes, kCodePageAnsi);
  }
  return file;
}

std::string Encode(const ProfileText& file) {
  switch (file.encoding) {
    case Encoding::kUtf16Le: return EncodeUtf16(file.text, false);
    case Encoding::kUtf16Be: return EncodeUtf16(file.text, true);
    case Encoding::kUtf8Bom: return "\xEF\xBB\xBF" + ToNarrow(file.text, kCodePageUtf8);
    case Encoding::kPlain: break;
  }
  return ToNarrow(file.text, kCodePageAnsi);
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

// The whole file; false when it exists but cannot be read. A missing file
// reads as empty with `exists` false.
bool ReadWholeFile(const std::string& path, std::string& bytes, bool& exists) {
  bytes.clear();
  Fd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  exists = fd.get() >= 0;
  if (!exists) return errno == ENOENT;
  struct stat st {};
  if (fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  char buffer[8192];
  for (;;) {
    const ssize_t n = read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    bytes.append(buffer, static_cast<size_t>(n));
  }
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Writes a sibling temporary file and renames it over `path`, so a reader
// sees either the old file or the new one, never a part.
bool ReplaceFile(const std::string& path, std::string_view bytes, mode_t mode) {
  std::string temp = path + ".XXXXXX";
  Fd fd(mkstemp(temp.data()));
  if (fd.get() < 0) return false;
  const bool written = fchmod(fd.get(), mode) == 0 && WriteAll(fd.get(), bytes) &&
                       fsync(fd.get()) == 0 && close(fd.release()) == 0;
  if (!written || rename(temp.c_str(), path.c_str()) != 0) {
    unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace

std::wstring ReadProfileString(const std::wstring& path, const std::wstring& section,
                               const std::wstring& key, const std::wstring& fallback,
                               size_t capacity) {
  std::string bytes;
  bool exists = false;
  if (!ReadWholeFile(ToNarrow(path, kCodePageUtf8), bytes, exists)) bytes.clear();
  return ProfileLookup(Decode(bytes).text, section, key, fallback, capacity);
}

bool WriteProfileEntry(const std::wstring& path, const std::wstring& section,
                        const std::wstring& key, const std::wstring& value) {
  if (path.empty() || !IsWritableProfileEntry(section, key, value)) return false;
  const std::string narrowPath = ToNarrow(path, kCodePageUtf8);
  std::string bytes;
  bool exists = false;
  if (!ReadWholeFile(narrowPath, bytes, exists)) return false;
  ProfileText file = Decode(bytes);
  mode_t mode = 0644;
  struct stat st {};
  if (exists && stat(narrowPath.c_str(), &st) == 0) mode = st.st_mode & 07777;
  file.text = SetProfileValue(file.text, section, key, value);
  return ReplaceFile(narrowPath, Encode(file), mode);
}

}  // namespace Utils
