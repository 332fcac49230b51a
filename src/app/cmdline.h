// Windows command lines: splitting one into its arguments by the system's
// rules, and the arguments of the running process.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Utils {

// The arguments of a Windows command line, split exactly as the system's
// CommandLineToArgvW does it:
//   - the first argument, the program name, ends at the next blank, or when
//     it starts with a quote at the next quote; it knows no escapes;
//   - elsewhere blanks (space, tab) outside quotes separate arguments and
//     quotes group blanks; 2n backslashes before a quote give n backslashes
//     and the quote opens or closes a group, 2n+1 give n backslashes and a
//     literal quote; other backslashes are literal;
//   - "" inside a group gives a literal quote and closes the group;
//   - "" outside a group is an empty argument.
// The text ends at its first NUL. An empty line gives no arguments (the
// system answers with the program's own path there).
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// The arguments of the running process, the program path first. On Windows
// the process command line split by the system; elsewhere the process's
// argument vector.
std::vector<std::wstring> ProcessArguments();

}  // namespace Utils
