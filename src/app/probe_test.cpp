#include "app/probe.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/test_support.h"
#include "app/utils_path.h"

namespace {

using testing_support::ScopedTempDirectory;
using testing_support::ScratchDir;

TEST(VersionText, NamesEverySystemOfTheTable) {
  struct Case {
    unsigned major, minor, build;
    bool r2;
    const wchar_t* text;
  };
  const Case cases[] = {
      {0, 0, 0, false, L"XP-"},  // the version query is missing
      {4, 10, 1998, false, L"XP-"},
      {5, 0, 2195, false, L"2K"},
      {5, 1, 2600, false, L"XP"},
      {5, 1, 2600, true, L"XP"},  // the R2 metric counts only for 5.2
      {5, 2, 3790, false, L"Server 2003"},
      {5, 2, 3790, true, L"Server 2003 R2"},
      {5, 3, 0, false, L"XP+"},
      {6, 0, 6002, false, L"Vista"},
      {6, 1, 7601, false, L"7"},
      {6, 2, 9200, false, L"8"},
      {6, 3, 9600, false, L"8.1"},
      {6, 4, 9841, false, L"8.1+"},
      {10, 0, 22631, false, L"10"},  // Windows 11 reports 10.0
      {10, 1, 0, false, L"10+"},
      {7, 0, 1, false, L"7.0.1"},
      {11, 0, 22000, false, L"11.0.22000"},
      {12, 3, 65535, true, L"12.3.65535"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Utils::VersionText(c.major, c.minor, c.build, c.r2), c.text)
        << c.major << "." << c.minor << "." << c.build;
}

TEST(GetWindowsVersionName, AlwaysNamesAVersion) {
  const Utils::WindowsVersion v = Utils::GetWindowsVersionName();
  EXPECT_FALSE(v.name.empty());
  EXPECT_FALSE(v.version.empty());
}

TEST(GetWorkingTempFolder, CreatesTheFolderOnceAndFindsItAgain) {
  ScratchDir dir;
  ScopedTempDirectory temp(dir.path().wstring());
  const std::wstring sep(1, Utils::PathSeparator());
  const std::wstring expected = dir.path().wstring() + sep + L"~OrinTemp" + sep;

  const std::wstring first = Utils::GetWorkingTempFolder();
  EXPECT_EQ(first, expected);
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / L"~OrinTemp"));
  EXPECT_EQ(Utils::GetWorkingTempFolder(), first);
}

TEST(GetWorkingTempFolder, IsEmptyWhenItCannotBeProvided) {
  ScratchDir dir;
  const std::wstring sep(1, Utils::PathSeparator());
  {
    SCOPED_TRACE("the temporary directory is missing");
    ScopedTempDirectory temp(dir.File(L"missing"));
    EXPECT_EQ(Utils::GetWorkingTempFolder(), L"");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / L"missing"));
  }
  {
    SCOPED_TRACE("a file has the folder's name");
    std::filesystem::create_directories(dir.path() / L"t");
    testing_support::WriteBytes(dir.File(L"t") + sep + L"~OrinTemp", "x");
    ScopedTempDirectory temp(dir.File(L"t"));
    EXPECT_EQ(Utils::GetWorkingTempFolder(), L"");
  }
  {
    SCOPED_TRACE("the path would pass 259 characters");
    std::wstring longDir = dir.path().wstring() + sep;
    longDir += std::wstring(255 - longDir.size(), L'a');
    ScopedTempDirectory temp(longDir);
    EXPECT_EQ(Utils::GetWorkingTempFolder(), L"");
  }
}

TEST(AccountProbes, UnknownOrEmptyAccountsAreNoAdministrators) {
  EXPECT_FALSE(Utils::IsAdminAccount(L""));
  EXPECT_FALSE(Utils::IsAdminAccount(L"qv-no-such-account-7f3a"));
  std::wstring name = L"unchanged";
  if (Utils::GetConsoleUserName(name)) {
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(Utils::ConsoleUserIsAdmin(), Utils::IsAdminAccount(name));
  } else {
    EXPECT_EQ(name, L"unchanged");
    EXPECT_FALSE(Utils::ConsoleUserIsAdmin());
  }
}

}  // namespace
