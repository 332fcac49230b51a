#include "path_rules.h"

#include <windows.h>
#include <shlwapi.h>

namespace Utils {

const PathRules& NativePathRules() { return kWindowsPathRules; }

bool IsSameDirectory(const std::wstring& a, const std::wstring& b) {
  // The service copies both paths into buffers of MAX_PATH characters; longer
  // texts would be cut and could compare equal by their first 259 characters.
  if (a.empty() || b.empty() || a.size() >= MAX_PATH || b.size() >= MAX_PATH) return false;
  // For two-character paths ("D:") the service measures the common root one
  // character past the end of the text; the text rule gives its intended answer.
  if (a.size() < 3 || b.size() < 3) return SameDirectoryText(kWindowsPathRules, a, b);
  wchar_t relative[MAX_PATH] = {};
  if (!PathRelativePathToW(relative, a.c_str(), FILE_ATTRIBUTE_DIRECTORY, b.c_str(),
                           FILE_ATTRIBUTE_DIRECTORY)) {
    return false;
  }
  return relative[0] == L'.' && relative[1] == L'\0';
}

}  // namespace Utils
