// Command lines and the arguments the system's splitter gives for them; the
// portable splitter is tested against the expectations everywhere, and on
// Windows also against the system itself.
#pragma once

#include <string>
#include <vector>

struct SplitCase {
  const wchar_t* line;
  std::vector<std::wstring> args;
};

inline const std::vector<SplitCase>& SplitCases() {
  static const std::vector<SplitCase> cases = {
      {L"setup.exe", {L"setup.exe"}},
      {L"setup.exe  -a=1\t-b ", {L"setup.exe", L"-a=1", L"-b"}},
      {L"\"C:\\Program Files\\setup.exe\" -x", {L"C:\\Program Files\\setup.exe", L"-x"}},
      // The program name knows no escapes: its quote group ends at the next quote.
      {L"\"C:\\dir\\\" -x", {L"C:\\dir\\", L"-x"}},
      {L"C:\\a\\\"b c\" d", {L"C:\\a\\\"b", L"c d"}},
      {L"\"a b\"c d", {L"a b", L"c", L"d"}},
      {L"\"unterminated name", {L"unterminated name"}},
      {L" leading", {L"", L"leading"}},
      {L"p \"-instcmd=/S /D=C:\\x y\"", {L"p", L"-instcmd=/S /D=C:\\x y"}},
      {L"p -instcmd=\"/S /D=x\" z", {L"p", L"-instcmd=/S /D=x", L"z"}},
      // Backslashes: literal unless they come before a quote.
      {L"p a\\\\b c\\", {L"p", L"a\\\\b", L"c\\"}},
      {L"p a\\\"b", {L"p", L"a\"b"}},               // 1 -> a literal quote
      {L"p a\\\\\"b c\"", {L"p", L"a\\b c"}},       // 2 -> one backslash, a group
      {L"p a\\\\\\\"b", {L"p", L"a\\\"b"}},         // 3 -> one backslash and a quote
      {L"p \"a\\\\\" b", {L"p", L"a\\", L"b"}},     // 2 before the closing quote
      {L"p \"C:\\dir\\\\\" x", {L"p", L"C:\\dir\\", L"x"}},
      // Empty arguments and doubled quotes.
      {L"p \"\" x", {L"p", L"", L"x"}},
      {L"p \"\"", {L"p", L""}},
      {L"p \"", {L"p", L""}},
      {L"p a\"\"b", {L"p", L"ab"}},
      {L"p \"a\"\"b c\"", {L"p", L"a\"b", L"c"}},  // "" in a group: a quote, and the group ends
      {L"p \"\"\"a b\"\"\"", {L"p", L"\"a", L"b\""}},
      {L"p \"\"\"\" x", {L"p", L"\" x"}},  // the fourth quote opens a group
      {L"p \"\"\"\"\"\" x", {L"p", L"\"\"", L"x"}},
      {L"p a\"b c\"d e", {L"p", L"ab cd", L"e"}},
      {L"p \t \t", {L"p"}},
  };
  return cases;
}
