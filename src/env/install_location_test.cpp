#include "env/install_location.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/utils_path.h"
#include "env/directory.h"
#include "env/fake_environment.h"
#include "env/test_support.h"

namespace {

using Utils::Testing::FakeEnvironment;

struct DefaultCase {
  const char* name;
  bool consoleAdmin;
  bool processAdmin;
  bool appDataSet;
  std::wstring recordedPath;
  bool uninstallerExists;
  std::wstring expected;
};

TEST(DefaultInstallDir, FollowsAdminFlagsAppDataAndTheRecord) {
  const std::wstring roaming = L"C:\\Users\\alice\\AppData\\Roaming\\Orin\\Quorvane";
  const std::wstring x86 = L"C:\\Program Files (x86)\\Quorvane";
  const std::vector<DefaultCase> cases = {
      {"admin account, elevated", true, true, true, L"", false, roaming},
      {"admin account, not elevated", true, false, true, L"", false, roaming},
      {"elevated by another account", false, true, true, L"", false, x86},
      {"plain user", false, false, true, L"", false, roaming},
      {"admin, APPDATA missing", true, true, false, L"", false, x86},
      {"plain user, APPDATA missing", false, false, false, L"", false, x86},
      {"record with its uninstaller", false, true, true, L"E:\\Old\\Quorvane", true, L"E:\\Old\\Quorvane"},
      {"record without its uninstaller", false, true, true, L"E:\\Old\\Quorvane", false, x86},
      {"record without uninstaller, plain user", false, false, true, L"E:\\Old", false, roaming},
  };
  for (const auto& c : cases) {
    FakeEnvironment env;
    if (c.consoleAdmin) env.adminAccounts.insert(L"alice");
    env.processAdmin = c.processAdmin;
    if (!c.appDataSet) env.variables.clear();
    Utils::InstallState state;
    state.recordedInstallPath = c.recordedPath;
    state.recordedUnInstallEp = c.recordedPath + L"\\uninst.data";
    if (c.uninstallerExists) env.files.insert(state.recordedUnInstallEp);
    EXPECT_EQ(Utils::GetDefaultInstallDir(state, env.Services()), c.expected) << c.name;
    EXPECT_EQ(state.consoleUserIsAdmin, c.consoleAdmin) << c.name;
    EXPECT_EQ(state.processIsAdmin, c.processAdmin) << c.name;
  }
}

TEST(DefaultInstallDir, FallbacksAndLimits) {
  FakeEnvironment env;
  env.processAdmin = true;
  env.programFilesX86.clear();
  Utils::InstallState state;
  EXPECT_EQ(Utils::GetDefaultInstallDir(state, env.Services()), L"C:\\Program Files\\Quorvane")
      << "the program files folder when the 32-bit one is unknown";

  env.programFiles.clear();
  EXPECT_EQ(Utils::GetDefaultInstallDir(state, env.Services()), L"") << "no folder: no relative path";

  FakeEnvironment noConsole;
  noConsole.consoleUser.reset();
  noConsole.adminAccounts.insert(L"");
  noConsole.processAdmin = true;
  EXPECT_EQ(Utils::GetDefaultInstallDir(state, noConsole.Services()), L"C:\\Program Files (x86)\\Quorvane");
  EXPECT_FALSE(state.consoleUserIsAdmin) << "no console user is no administrator";

  FakeEnvironment longAppData;
  longAppData.variables[L"APPDATA"] = L"C:\\" + std::wstring(242, L'a');  // 245 + "\\Orin\\Quorvane"
  EXPECT_EQ(Utils::GetDefaultInstallDir(state, longAppData.Services()).size(), 259u);
  longAppData.variables[L"APPDATA"] += L"b";
  EXPECT_EQ(Utils::GetDefaultInstallDir(state, longAppData.Services()), L"")
      << "a path past 259 characters is refused, not cut";

  Utils::InstallState emptyRecord;
  emptyRecord.recordedUnInstallEp = L"E:\\Old\\uninst.data";
  env.files.insert(emptyRecord.recordedUnInstallEp);
  EXPECT_EQ(Utils::GetDefaultInstallDir(emptyRecord, FakeEnvironment().Services()),
            L"C:\\Users\\alice\\AppData\\Roaming\\Orin\\Quorvane")
      << "an empty InstallPath is no installation";
}

TEST(ChosenInstallDir, JoinsTheProductFolderOnceAndNeverPastTheLimit) {
  const std::wstring def = L"C:\\Users\\alice\\AppData\\Roaming\\Orin\\Quorvane";
  const std::vector<std::pair<std::wstring, std::wstring>> cases = {
      {L"D:\\Apps", L"D:\\Apps\\Quorvane"},
      {L"D:\\Apps\\", L"D:\\Apps\\Quorvane"},
      {L"D:\\", L"D:\\Quorvane"},
      {def, def},
      {L"c:\\users\\ALICE\\appdata\\roaming\\orin\\quorvane", def},
      {L"C:\\Users\\alice\\AppData\\Roaming\\Orin", def},  // the parent
      {def + L"\\", def + L"\\Quorvane"},                   // a trailing backslash on one side differs
      {L"", L""},
      {L"D:\\" + std::wstring(247, L'x'), L"D:\\" + std::wstring(247, L'x') + L"\\Quorvane"},
      {L"D:\\" + std::wstring(248, L'x'), L""},
  };
  for (const auto& [text, expected] : cases) {
    FakeEnvironment env;
    Utils::InstallState state;
    EXPECT_EQ(Utils::GetChosenInstallDir(state, env.Services(), text), expected) << text.size();
  }
}

TEST(SameDirectory, IsDefaultInstallDirUsesTheRelativePathRule) {
  FakeEnvironment env;
  Utils::InstallState state;
  const std::wstring def = L"C:\\Users\\alice\\AppData\\Roaming\\Orin\\Quorvane";
  EXPECT_TRUE(Utils::IsDefaultInstallDir(state, env.Services(), def));
  EXPECT_TRUE(Utils::IsDefaultInstallDir(state, env.Services(), L"C:\\USERS\\alice\\AppData\\Roaming\\Orin\\Quorvane"));
  EXPECT_FALSE(Utils::IsDefaultInstallDir(state, env.Services(), def + L"\\"));
  EXPECT_FALSE(Utils::IsDefaultInstallDir(state, env.Services(), L"D:" + def.substr(2)));
  EXPECT_FALSE(Utils::IsDefaultInstallDir(state, env.Services(), L""));
  EXPECT_FALSE(Utils::SameDirectoryText(Utils::kPosixPathRules, L"/opt/Q", L"/opt/q"))
      << "POSIX names keep their case";
}

TEST(OverwriteQuestion, AskedOnlyForAnotherDirectoryThanTheRecorded) {
  Utils::InstallState state;
  EXPECT_FALSE(Utils::NeedsOverwriteQuestion(state, L"D:\\Apps\\Quorvane"));
  state.recordedInstallPath = L"E:\\Old\\Quorvane";
  state.hasPreviousInstall = true;
  EXPECT_FALSE(Utils::NeedsOverwriteQuestion(state, L"e:\\old\\QUORVANE"));
  EXPECT_TRUE(Utils::NeedsOverwriteQuestion(state, L"D:\\Apps\\Quorvane"));
  EXPECT_TRUE(Utils::NeedsOverwriteQuestion(state, L"E:\\Old\\Quorvane\\"));
}

// The checks on a real folder: the "config" file of an installed product lies
// in the recorded directory.
class StartChecks : public ::testing::Test {
 protected:
  void SetUp() override {
    recorded = temp.Wide(L"Quorvane");
    std::filesystem::create_directory(temp.path() / "Quorvane");
    state.recordedInstallPath = recorded;
    state.recordedUnInstallEp = temp.Wide(L"Quorvane") + Utils::NativePathRules().separator + L"uninst.data";
    state.hasPreviousInstall = true;
  }
  void WriteConfig(const std::string& content) {
    Utils::Testing::WriteFile(temp.path() / "Quorvane" / "config", content);
  }
  Utils::StartDecision Check(const std::wstring& path) {
    return Utils::CheckInstallStart(state, env.Services(Utils::NativePathRules()), path);
  }

  Utils::Testing::TempFolder temp;
  FakeEnvironment env;
  Utils::InstallState state;
  std::wstring recorded;
};

TEST_F(StartChecks, OverwriteRuleReadsTheProductsConfig) {
  struct Case {
    const char* config;  // null: no file
    bool overwrite;
  };
  const std::vector<Case> cases = {{nullptr, true},
                                   {"[Uninstall]\r\nIsOverride=true\r\n", true},
                                   {"[Uninstall]\r\nIsOverride=false\r\n", false},
                                   {"[Uninstall]\r\nIsOverride=True\r\n", false},
                                   {"[Uninstall]\r\nOther=1\r\n", true},
                                   {"[Other]\r\nIsOverride=false\r\n", true}};
  for (const auto& c : cases) {
    std::filesystem::remove(temp.path() / "Quorvane" / "config");
    if (c.config) WriteConfig(c.config);
    const auto label = c.config ? c.config : "no config";
    EXPECT_EQ(Utils::IsOverrideInstall(state, env.Services(Utils::NativePathRules()), recorded), c.overwrite)
        << label;
    const auto decision = Check(recorded);
    ASSERT_TRUE(decision.Accepted()) << label;
    EXPECT_EQ(decision.installDir, recorded);
    EXPECT_EQ(decision.uninstaller, c.overwrite ? L"" : state.recordedUnInstallEp) << label;
  }
  const auto elsewhere = Check(temp.Wide(L"Other"));
  ASSERT_TRUE(elsewhere.Accepted());
  EXPECT_EQ(elsewhere.uninstaller, state.recordedUnInstallEp)
      << "another directory always hands over the recorded uninstaller";
}

TEST_F(StartChecks, OneGibibyteBoundaryAndRefusalOrder) {
  env.freeBytes = 1ull << 30;
  EXPECT_TRUE(Check(recorded).Accepted());
  EXPECT_EQ(env.freeSpaceQueries.back(), recorded);

  env.freeBytes = (1ull << 30) - 1;
  auto decision = Check(recorded);
  EXPECT_EQ(decision.refusal, Utils::StartRefusal::LowDiskSpace);
  EXPECT_STREQ(decision.Message(), L"当前磁盘空间不足，请修改安装路径");
  EXPECT_TRUE(decision.installDir.empty());

  env.freeBytes = 0;  // what a failed query reports
  EXPECT_EQ(Check(recorded).refusal, Utils::StartRefusal::LowDiskSpace);

  env.uncreatable.insert(recorded);
  const size_t queries = env.freeSpaceQueries.size();
  decision = Check(recorded);
  EXPECT_EQ(decision.refusal, Utils::StartRefusal::InvalidPath) << "an invalid path is no lack of space";
  EXPECT_STREQ(decision.Message(), L"当前路径无效");
  EXPECT_EQ(env.freeSpaceQueries.size(), queries) << "space is not asked for an invalid path";
  EXPECT_EQ(Check(L"").refusal, Utils::StartRefusal::InvalidPath);
  EXPECT_EQ(Utils::StartDecision().Message(), nullptr);
}

TEST_F(StartChecks, RealServicesRefuseAnOverlongChosenFolder) {
  Utils::EnvServices services = env.Services(Utils::NativePathRules());
  services.createDirectoryChain = [](const std::wstring& path) { return Utils::CreateDirectoryChain(path); };
  Utils::InstallState fresh;
  std::wstring picked = temp.Wide();
  picked += Utils::NativePathRules().separator;
  picked += std::wstring(Utils::kMaxPath - 5 - picked.size(), L'p');
  const std::wstring dir = Utils::GetChosenInstallDir(fresh, services, picked);
  EXPECT_EQ(dir, L"");
  EXPECT_EQ(Utils::CheckInstallStart(fresh, services, dir).refusal, Utils::StartRefusal::InvalidPath);
  EXPECT_FALSE(std::filesystem::exists(temp.path() / std::wstring(Utils::kMaxPath - 5 - temp.Wide().size() - 1, L'p')));
}

}  // namespace
