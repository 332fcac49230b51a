#include <windows.h>

#include "engine/files.h"

namespace Utils {

bool CopyFileReplacing(const std::wstring& from, const std::wstring& to) {
  if (from.empty() || to.empty()) return false;
  return CopyFileW(from.c_str(), to.c_str(), FALSE) != 0;
}

bool DeleteFileAt(const std::wstring& path) {
  if (path.empty()) return false;
  return DeleteFileW(path.c_str()) != 0;
}

}  // namespace Utils
