#include "path_rules.h"

namespace Utils {

const PathRules& NativePathRules() { return kPosixPathRules; }

bool IsSameDirectory(const std::wstring& a, const std::wstring& b) {
  return SameDirectoryText(kPosixPathRules, a, b);
}

}  // namespace Utils
