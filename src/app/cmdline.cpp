#include "cmdline.h"

namespace Utils {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view line) {
  line = line.substr(0, line.find(L'\0'));
  std::vector<std::wstring> args;
  if (line.empty()) return args;
  const size_t n = line.size();
  size_t i = 0;
  std::wstring arg;

  // 1. The program name, without escapes.
  if (line[0] == L'"') {
    for (i = 1; i < n && line[i] != L'"'; ++i) arg.push_back(line[i]);
    if (i < n) ++i;  // the closing quote
  } else {
    for (; i < n && !IsBlank(line[i]); ++i) arg.push_back(line[i]);
  }
  args.push_back(std::move(arg));
  while (i < n && IsBlank(line[i])) ++i;
  if (i == n) return args;

  // 2. The other arguments. `quotes` counts the quotes of the current run
  // (1 = inside a group); `backslashes` those just before the current
  // character, all already copied.
  arg.clear();
  int quotes = 0;
  size_t backslashes = 0;
  while (i < n) {
    const wchar_t c = line[i];
    if (IsBlank(c) && quotes == 0) {
      args.push_back(std::move(arg));
      arg.clear();
      backslashes = 0;
      while (i < n && IsBlank(line[i])) ++i;
      if (i == n) return args;
    } else if (c == L'\\') {
      arg.push_back(c);
      ++backslashes;
      ++i;
    } else if (c == L'"') {
      if (backslashes % 2 == 0) {
        // 2n backslashes: n of them stay, the quote opens or closes a group.
        arg.resize(arg.size() - backslashes / 2);
        ++quotes;
      } else {
        // 2n+1 backslashes: n of them stay, followed by a literal quote.
        arg.resize(arg.size() - backslashes / 2 - 1);
        arg.push_back(L'"');
      }
      backslashes = 0;
      ++i;
      // A run of quotes: every third one is literal.
      for (; i < n && line[i] == L'"'; ++i) {
        if (++quotes == 3) {
          arg.push_back(L'"');
          quotes = 0;
        }
      }
      if (quotes == 2) quotes = 0;
    } else {
      arg.push_back(c);
      backslashes = 0;
      ++i;
    }
  }
  args.push_back(std::move(arg));
  return args;
}

}  // namespace Utils
