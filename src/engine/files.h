// The two file operations of an installation attempt.
#pragma once

#include <string>

namespace Utils {

// Copies the file `from` to `to`, replacing a file already there; the copy
// keeps the file's permission to run. False on failure.
bool CopyFileReplacing(const std::wstring& from, const std::wstring& to);
// Deletes the file at `path`; false when there was none or it stays.
bool DeleteFileAt(const std::wstring& path);

}  // namespace Utils
