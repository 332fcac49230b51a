// How the system reads and writes paths. The portable logic of this folder
// takes the rules as a value, so that the same code answers for Windows paths
// ("D:\Apps") and POSIX paths ("/srv/apps") wherever it runs.
#pragma once

#include <string>
#include <string_view>

namespace Utils {

struct PathRules {
  wchar_t separator;          // written between folders
  bool backslashSeparates;    // '\' separates as well as '/' (Windows)
  bool ignoreCase;            // names match without regard to (ASCII) case

  bool IsSeparator(wchar_t c) const {
    return c == L'/' || (backslashSeparates && c == L'\\');
  }
};

constexpr PathRules kWindowsPathRules{L'\\', true, true};
constexpr PathRules kPosixPathRules{L'/', false, false};

// The rules of the system this program runs on.
const PathRules& NativePathRules();

// `dir` and `name` joined with one separator, none inserted when `dir` already
// ends in one; the empty string when `dir` is empty or the result would not
// fit 259 characters.
std::wstring JoinPathWith(const PathRules& rules, std::wstring_view dir, std::wstring_view name);

// True when `a` and `b` denote the same directory as the system's relative-path
// service sees it: the relative path from one to the other, both taken as
// directories, is ".". That holds exactly when both are non-empty and equal,
// ignoring case where the rules do; a trailing separator on only one side, a
// different drive or a differently spelled path (".." or doubled separators)
// makes them different. Pure text comparison: the folders need not exist.
bool SameDirectoryText(const PathRules& rules, std::wstring_view a, std::wstring_view b);

// The same test through the system's own service: PathRelativePathToW on
// Windows, SameDirectoryText with the native rules elsewhere.
bool IsSameDirectory(const std::wstring& a, const std::wstring& b);

}  // namespace Utils
