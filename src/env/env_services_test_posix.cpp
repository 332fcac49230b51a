#include <gtest/gtest.h>

#include <cstdlib>

#include "env/env_services.h"
#include "env/install_location.h"
#include "env/test_support.h"

namespace {

// Sets an environment variable for one test and restores it afterwards.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old, hadValue_ = true;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedVariable() { hadValue_ ? setenv(name_, previous_.c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::string previous_;
  bool hadValue_ = false;
};

TEST(SystemServicesPosix, FoldersFollowTheDataHome) {
  Utils::Testing::TempFolder temp;
  const std::string dataHome = temp.path().string();
  ScopedVariable data("XDG_DATA_HOME", dataHome.c_str());
  ScopedVariable appData("APPDATA", nullptr);
  const std::wstring home = temp.Wide();
  EXPECT_EQ(Utils::SystemSpecialFolder(Utils::SpecialFolder::ProgramFilesX86), home);
  EXPECT_EQ(Utils::SystemUserDataFolder(), home + L"/Quorvane");
  EXPECT_EQ(Utils::SystemEnvironmentVariable(L"APPDATA"), L"");

  // Without APPDATA every combination of the admin flags lands in the data home.
  auto services = Utils::SystemEnvServices(nullptr);
  Utils::InstallState state;
  EXPECT_EQ(Utils::GetDefaultInstallDir(state, services), home + L"/Quorvane");

  ScopedVariable roaming("APPDATA", "/srv/roaming");
  EXPECT_EQ(Utils::SystemEnvironmentVariable(L"APPDATA"), L"/srv/roaming");
  const std::wstring withAppData = Utils::GetDefaultInstallDir(state, services);
  EXPECT_EQ(withAppData, (!state.consoleUserIsAdmin && state.processIsAdmin) ? home + L"/Quorvane"
                                                                             : L"/srv/roaming/Orin/Quorvane");
}

}  // namespace
