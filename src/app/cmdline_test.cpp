#include "app/cmdline.h"

#include <gtest/gtest.h>

#include "app/cmdline_test_cases.h"

namespace {

TEST(SplitCommandLine, FollowsTheSystemsRules) {
  for (const SplitCase& c : SplitCases()) EXPECT_EQ(Utils::SplitCommandLine(c.line), c.args) << c.line;
}

TEST(SplitCommandLine, EndsAtTheFirstNulAndGivesNothingForNothing) {
  EXPECT_EQ(Utils::SplitCommandLine(std::wstring(L"p a\0b", 5)),
            (std::vector<std::wstring>{L"p", L"a"}));
  EXPECT_TRUE(Utils::SplitCommandLine(L"").empty());
}

TEST(ProcessArguments, StartWithTheProgram) {
  const std::vector<std::wstring> args = Utils::ProcessArguments();
  ASSERT_FALSE(args.empty());
  EXPECT_NE(args[0].find(L"app_test"), std::wstring::npos);
}

}  // namespace
