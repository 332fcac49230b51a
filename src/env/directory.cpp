#include "directory.h"

#include "app/utils_path.h"

namespace Utils {
namespace {

// Index from which separators start prefixes that may be created. A UNC path
// (\\server\share\...) begins at the separator after its share: the server and
// the share are never created.
size_t WalkStart(const std::wstring& path, const PathRules& rules) {
  if (!rules.backslashSeparates || path.size() < 2 || !rules.IsSeparator(path[0]) ||
      !rules.IsSeparator(path[1])) {
    return 0;
  }
  size_t separatorsToSkip = 2;  // after the server, after the share
  size_t i = 2;
  for (; i < path.size(); ++i) {
    if (rules.IsSeparator(path[i]) && --separatorsToSkip == 0) break;
  }
  return i;
}

bool EnsureDirectory(const std::wstring& path, const DirectoryOps& ops) {
  return ops.kind(path) != PathKind::Missing || ops.create(path);
}

}  // namespace

bool CreateDirectoryChainWith(const std::wstring& path, const PathRules& rules,
                              const DirectoryOps& ops) {
  if (path.empty() || path.size() >= kMaxPath) return false;
  for (size_t i = WalkStart(path, rules); i < path.size(); ++i) {
    if (rules.IsSeparator(path[i]) && !EnsureDirectory(path.substr(0, i + 1), ops)) return false;
  }
  if (!rules.IsSeparator(path.back()) && !EnsureDirectory(path, ops)) return false;
  return ops.kind(path) == PathKind::Directory;
}

bool CreateDirectoryChain(const std::wstring& path) {
  return CreateDirectoryChainWith(path, NativePathRules(), NativeDirectoryOps());
}

}  // namespace Utils
