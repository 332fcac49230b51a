#include "utils_path.h"

#include <sys/stat.h>

#include "utils_text.h"

namespace Utils {

wchar_t PathSeparator() { return L'/'; }

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
