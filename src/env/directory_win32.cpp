#include "directory.h"

#include <windows.h>

namespace Utils {
namespace {

PathKind KindOf(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Directory : PathKind::Other;
}

bool CreateOne(const std::wstring& path) {
  if (CreateDirectoryW(path.c_str(), nullptr)) return true;
  return GetLastError() == ERROR_ALREADY_EXISTS && KindOf(path) == PathKind::Directory;
}

}  // namespace

const DirectoryOps& NativeDirectoryOps() {
  static const DirectoryOps ops{KindOf, CreateOne};
  return ops;
}

}  // namespace Utils
