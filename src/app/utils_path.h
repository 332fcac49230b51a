// Path helpers. Paths are wide strings; fixed path buffers of the system hold
// 260 characters including the terminating zero, so a path has at most 259.
#pragma once

#include <string>
#include <string_view>

namespace Utils {

constexpr size_t kMaxPath = 260;

// The separator the platform writes between folders: '\' on Windows, '/' on
// POSIX. Both '\' and '/' are accepted as separators when reading a path.
wchar_t PathSeparator();
constexpr bool IsPathSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// `dir` and `name` joined with one separator, none inserted when `dir` already
// ends in one. The empty string when the result would not fit 259 characters.
std::wstring JoinPath(std::wstring_view dir, std::wstring_view name);

// `path` without its last component and the separator before it
// ("C:\a\b.exe" -> "C:\a"); the empty string when there is no separator.
std::wstring RemoveLastComponent(std::wstring_view path);

// The full path of the running executable; empty when it does not fit 259
// characters or cannot be read.
std::wstring GetExecutablePath();

// True when a file or folder exists at `path`.
bool PathExists(const std::wstring& path);
// True when a regular file (not a folder) exists at `path`.
bool FileExists(const std::wstring& path);

}  // namespace Utils
