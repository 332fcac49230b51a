// Directory creation, the validity test of an installation path.
#pragma once

#include <functional>
#include <string>

#include "env/path_rules.h"

namespace Utils {

// Creates every missing directory along `path`; true when the whole path
// exists afterwards as a directory. This is the validity test of an
// installation path: an empty path, a path of 260 characters or more, a drive
// that does not exist or a file in the way make it fail. Directories created
// before a failure stay. A relative path is created relative to the current
// directory. On Windows '\' and '/' separate folders and a UNC path is walked
// from its share; on POSIX only '/' separates, as in every real POSIX path.
bool CreateDirectoryChain(const std::wstring& path);

// What lies at a path.
enum class PathKind { Missing, Directory, Other };

// The two file-system operations of the walk, so that the walk can be run
// over a model of a file system.
struct DirectoryOps {
  std::function<PathKind(const std::wstring&)> kind;
  // Creates one directory; true when it exists as a directory afterwards
  // (also when another process created it meanwhile).
  std::function<bool(const std::wstring&)> create;
};

// The walk of CreateDirectoryChain under the given rules and operations:
// every prefix of `path` that ends in a separator (C:\ then C:\a\ for C:\a\b),
// then the whole path, is created when nothing of that name exists; the first
// creation that fails ends the walk with false.
bool CreateDirectoryChainWith(const std::wstring& path, const PathRules& rules,
                              const DirectoryOps& ops);

// The real file system's operations.
const DirectoryOps& NativeDirectoryOps();

}  // namespace Utils
