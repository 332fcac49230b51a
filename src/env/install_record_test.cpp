#include "env/install_record.h"

#include <gtest/gtest.h>

#include "env/fake_environment.h"
#include "env/registry.h"
#include "env/registry_sandbox.h"

namespace {

using Utils::RegRoot;
using Utils::Testing::FakeEnvironment;

class InstallRecord : public ::testing::Test {
 protected:
  Utils::EnvServices Services() {
    auto services = env.Services();
    services.recordKey = sandbox.Key();
    return services;
  }
  void Store(const wchar_t* name, const std::wstring& value) {
    ASSERT_TRUE(Utils::RegWriteString(RegRoot::CurrentUser, sandbox.Key(), name, Utils::kRegSz, value));
  }
  std::wstring Stored(const wchar_t* name) {
    Utils::RegValueType type = 0;
    std::wstring text = L"<missing>";
    Utils::RegReadString(RegRoot::CurrentUser, sandbox.Key(), name, type, text);
    return text;
  }

  Utils::Testing::RegistrySandbox sandbox;
  FakeEnvironment env;
  Utils::InstallState state;
};

TEST_F(InstallRecord, LoadFillsTheUninstallerAndThePreviousFlag) {
  state.recordedInstallPath = L"stale";
  Utils::LoadInstallRecord(state, Services());
  EXPECT_EQ(state.recordedInstallPath, L"");
  EXPECT_EQ(state.recordedUnInstallEp, L"");
  EXPECT_FALSE(state.hasPreviousInstall);

  Store(L"InstallPath", L"D:\\Apps\\Quorvane");
  Utils::LoadInstallRecord(state, Services());
  EXPECT_EQ(state.recordedUnInstallEp, L"D:\\Apps\\Quorvane\\uninst.data");
  EXPECT_TRUE(state.hasPreviousInstall);

  Store(L"UnInstallEp", L"D:\\Apps\\Quorvane\\bin\\remove.exe");
  Utils::LoadInstallRecord(state, Services());
  EXPECT_EQ(state.recordedUnInstallEp, L"D:\\Apps\\Quorvane\\bin\\remove.exe");

  Store(L"InstallPath", L"");
  Utils::LoadInstallRecord(state, Services());
  EXPECT_FALSE(state.hasPreviousInstall) << "an empty InstallPath is no installation";
}

TEST_F(InstallRecord, SaveWritesTheUninstallerOnlyWhenItsFileExists) {
  Store(L"UnInstallEp", L"E:\\Old\\uninst.data");
  state.installDir = L"D:\\Reported\\Quorvane";  // replaced by the package's report
  Utils::SaveInstallRecord(state, Services());
  EXPECT_EQ(Stored(L"InstallPath"), L"D:\\Reported\\Quorvane");
  EXPECT_EQ(state.newUninstallerPath, L"D:\\Reported\\Quorvane\\uninst.data");
  EXPECT_EQ(Stored(L"UnInstallEp"), L"E:\\Old\\uninst.data") << "kept: the new file is missing";

  env.files.insert(L"D:\\Reported\\Quorvane\\uninst.data");
  state.newUninstallerPath.clear();
  Utils::SaveInstallRecord(state, Services());
  EXPECT_EQ(Stored(L"UnInstallEp"), L"D:\\Reported\\Quorvane\\uninst.data");

  Utils::InstallState reloaded;
  Utils::LoadInstallRecord(reloaded, Services());
  EXPECT_EQ(reloaded.recordedInstallPath, L"D:\\Reported\\Quorvane");
  EXPECT_EQ(reloaded.recordedUnInstallEp, L"D:\\Reported\\Quorvane\\uninst.data");
}

TEST_F(InstallRecord, FinishStartsOnlyAnAutoStartupProductAndArmsTheTimers) {
  struct Case {
    int style;
    bool exeExists;
    std::vector<std::wstring> events;
  };
  const std::wstring exe = L"D:\\Apps\\Quorvane\\Quorvex.exe";
  const std::wstring top = L"timer 10 3000", close = L"timer 11 2147483647";
  const std::vector<Case> cases = {
      {Utils::kNonStartup, true, {top, close}},
      {Utils::kAutoStartup, true, {L"pump 100", L"open " + exe, top, close}},
      {Utils::kUserStartup, true, {top, close}},
      {Utils::kAutoStartup, false, {top, close}},
  };
  for (const auto& c : cases) {
    FakeEnvironment fresh;
    if (c.exeExists) fresh.files.insert(exe);
    auto services = fresh.Services();
    services.recordKey = sandbox.Key();
    Utils::InstallState run;
    run.installDir = L"D:\\Apps\\Quorvane";
    run.exePath = exe;
    run.startupStyle = c.style;
    Utils::FinishInstall(run, services);
    EXPECT_EQ(fresh.events, c.events) << c.style << " " << c.exeExists;
    EXPECT_EQ(Stored(L"InstallPath"), L"D:\\Apps\\Quorvane");
  }
}

TEST_F(InstallRecord, TimerDurationsOfZeroArmNothing) {
  state.installDir = L"D:\\Apps\\Quorvane";
  state.topShowDuration = 0;
  state.finishCloseDuration = 5000;
  Utils::FinishInstall(state, Services());
  EXPECT_EQ(env.events, std::vector<std::wstring>{L"timer 11 5000"});

  env.events.clear();
  state.finishCloseDuration = 0;
  Utils::FinishInstall(state, Services());
  EXPECT_TRUE(env.events.empty());
}

}  // namespace
