#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "app/cmdline.h"
#include "app/cmdline_test_cases.h"

namespace {

std::vector<std::wstring> SystemSplit(const wchar_t* line) {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(line, &count);
  std::vector<std::wstring> args;
  if (!argv) return args;
  for (int i = 0; i < count; ++i) args.emplace_back(argv[i]);
  LocalFree(argv);
  return args;
}

TEST(SplitCommandLine, AgreesWithTheSystem) {
  for (const SplitCase& c : SplitCases()) {
    EXPECT_EQ(Utils::SplitCommandLine(c.line), SystemSplit(c.line)) << c.line;
  }
}

}  // namespace
