// Command lines from arbitrary bytes: splitting never fails, and arguments
// quoted by the usual rules come back unchanged from the splitter.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/cmdline.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

std::wstring Widen(const std::string& bytes) {
  std::wstring out;
  for (char c : bytes) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return out;
}

// The usual quoting for one argument after the program name.
std::wstring Quote(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out.push_back(c);
  }
  out.append(backslashes * 2, L'\\');
  out.push_back(L'"');
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::wstring raw = Widen(std::string(reinterpret_cast<const char*>(bytes), size));
  const std::vector<std::wstring> split = Utils::SplitCommandLine(raw);
  Check(split.empty() == (raw.empty() || raw[0] == L'\0'));

  FuzzedDataProvider data(bytes, size);
  std::wstring program = Widen(data.ConsumeRandomLengthString(40));
  std::vector<std::wstring> args;
  for (wchar_t& c : program)
    if (c == L'"' || c == L'\0') c = L'_';
  args.push_back(program);
  std::wstring line = L"\"" + program + L"\"";
  while (data.remaining_bytes() > 0) {
    std::wstring arg = Widen(data.ConsumeRandomLengthString(40));
    for (wchar_t& c : arg)
      if (c == L'\0') c = L'_';
    line += L" " + Quote(arg);
    args.push_back(arg);
  }
  Check(Utils::SplitCommandLine(line) == args);
  return 0;
}
