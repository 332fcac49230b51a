#include <gtest/gtest.h>

#include <filesystem>

#include "env/registry.h"
#include "env/registry_sandbox.h"
#include "env/test_support.h"

namespace {

std::filesystem::path StoreFile() {
  return std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "OrinSoft" / "HKEY_CURRENT_USER.reg";
}

TEST(RegistryStore, SkipsDamagedLinesAndLeavesNoTemporaryFile) {
  Utils::Testing::RegistrySandbox sandbox;
  ASSERT_TRUE(Utils::RegWriteString(Utils::RegRoot::CurrentUser, sandbox.Key(), L"InstallPath",
                                    Utils::kRegSz, L"/opt/q\t%\n"));
  std::string content = Utils::Testing::ReadFile(StoreFile());
  content += "half a line\tno\n";
  content += "Software\\OrinSoft\\Quorvane\tUnInstallEp\t1\t4";  // cut in the middle
  Utils::Testing::WriteFile(StoreFile(), content);

  Utils::RegValueType type = 0;
  std::wstring text;
  ASSERT_TRUE(Utils::RegReadString(Utils::RegRoot::CurrentUser, sandbox.Key(), L"InstallPath", type, text));
  EXPECT_EQ(text, L"/opt/q\t%\n") << "names and data survive tabs, newlines and escapes";
  EXPECT_FALSE(Utils::RegReadString(Utils::RegRoot::CurrentUser, sandbox.Key(), L"UnInstallEp", type, text));

  ASSERT_TRUE(Utils::RegWriteString(Utils::RegRoot::CurrentUser, sandbox.Key(), L"UnInstallEp",
                                    Utils::kRegSz, L"/opt/q/uninst.data"));
  ASSERT_TRUE(Utils::RegReadString(Utils::RegRoot::CurrentUser, sandbox.Key(), L"InstallPath", type, text));
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(StoreFile().parent_path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1u);
}

TEST(RegistryStore, OtherRootsAndAMissingConfigurationFolderFail) {
  Utils::Testing::RegistrySandbox sandbox;
  EXPECT_FALSE(Utils::RegWriteString(Utils::RegRoot::LocalMachine, sandbox.Key(), L"A", Utils::kRegSz, L"x"));
  Utils::Testing::TempFolder notAFolder;
  Utils::Testing::WriteFile(notAFolder.path() / "file", "");
  setenv("XDG_CONFIG_HOME", (notAFolder.path() / "file").c_str(), 1);
  EXPECT_FALSE(Utils::RegWriteString(Utils::RegRoot::CurrentUser, sandbox.Key(), L"A", Utils::kRegSz, L"x"));
}

}  // namespace
