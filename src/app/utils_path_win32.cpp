#include "utils_path.h"

#include <windows.h>

namespace Utils {

wchar_t PathSeparator() { return L'\\'; }

std::wstring GetExecutablePath() {
  wchar_t path[kMaxPath] = {};
  const DWORD n = GetModuleFileNameW(nullptr, path, kMaxPath);
  if (n == 0 || n >= kMaxPath) return {};  // a cut path names another file
  return std::wstring(path, n);
}

bool PathExists(const std::wstring& path) {
  return !path.empty() && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool FileExists(const std::wstring& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace Utils
