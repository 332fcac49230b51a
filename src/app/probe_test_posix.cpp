#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "app/probe.h"
#include "app/test_support.h"

namespace {

using testing_support::ReadBytes;
using testing_support::ScratchDir;
using testing_support::WriteBytes;

// Puts `dir` alone on PATH while alive.
class ScopedPath {
 public:
  explicit ScopedPath(const std::string& dir) {
    if (const char* old = std::getenv("PATH")) old_ = old;
    setenv("PATH", dir.c_str(), 1);
  }
  ~ScopedPath() { setenv("PATH", old_.c_str(), 1); }

 private:
  std::string old_;
};

TEST(ProbePosix, RootIsTheAdministratorAndVersionsNeverNameXp) {
  EXPECT_TRUE(Utils::IsAdminAccount(L"root"));
  EXPECT_EQ(Utils::IsProcessAdmin(), geteuid() == 0);
  EXPECT_EQ(Utils::GetWindowsVersionName().version.find(L"XP"), std::wstring::npos);
}

TEST(ShellOpen, HandsTheTargetToTheOpenerAsOneArgumentWithoutAShell) {
  ScratchDir dir;
  const std::string bin = dir.path().string();
  const std::string record = bin + "/opened";
  WriteBytes(dir.File(L"xdg-open"),
             "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > '" + record + ".part'\nmv '" + record +
                 ".part' '" + record + "'\n");
  ASSERT_EQ(chmod((bin + "/xdg-open").c_str(), 0755), 0);
  ScopedPath path(bin + ":/usr/bin:/bin");

  const std::wstring target = L"https://x.example/agreement.html?a=1&b=2; touch $(echo hacked) \"q\"";
  EXPECT_GT(Utils::ShellOpen(target, 3), 32);
  for (int i = 0; i < 500 && access(record.c_str(), F_OK) != 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(ReadBytes(dir.File(L"opened")),
            "1|https://x.example/agreement.html?a=1&b=2; touch $(echo hacked) \"q\"");
}

TEST(ShellOpen, FailsWithoutAnOpener) {
  ScratchDir dir;
  ScopedPath path(dir.path().string());
  EXPECT_LE(Utils::ShellOpen(L"https://x.example/", 3), 32);
}

}  // namespace
