#include "directory.h"

#include <sys/stat.h>

#include <cerrno>

#include "app/utils_text.h"

namespace Utils {
namespace {

PathKind KindOf(const std::wstring& path) {
  struct stat st {};
  if (stat(ToNarrow(path, kCodePageUtf8).c_str(), &st) != 0) return PathKind::Missing;
  return S_ISDIR(st.st_mode) ? PathKind::Directory : PathKind::Other;
}

bool CreateOne(const std::wstring& path) {
  if (mkdir(ToNarrow(path, kCodePageUtf8).c_str(), 0777) == 0) return true;
  return errno == EEXIST && KindOf(path) == PathKind::Directory;
}

}  // namespace

const DirectoryOps& NativeDirectoryOps() {
  static const DirectoryOps ops{KindOf, CreateOne};
  return ops;
}

}  // namespace Utils
