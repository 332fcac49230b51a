#include "env/user_data.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>

#include "app/profile.h"
#include "env/directory.h"
#include "env/fake_environment.h"
#include "env/test_support.h"

namespace {

TEST(UserDataFolder, DropsTheLocalComponentOnly) {
  EXPECT_EQ(Utils::UserDataFolderBesideLocal(L"C:\\Users\\bob\\AppData\\Local"),
            L"C:\\Users\\bob\\AppData\\Roaming\\Quorvane");
  EXPECT_EQ(Utils::UserDataFolderBesideLocal(L"C:\\users\\bob\\appdata\\LOCAL"),
            L"C:\\users\\bob\\appdata\\Roaming\\Quorvane");
  EXPECT_EQ(Utils::UserDataFolderBesideLocal(L"D:\\Profiles\\bob\\LocalData"), L"")
      << "a redirected folder is not cut in the middle of a name";
  EXPECT_EQ(Utils::UserDataFolderBesideLocal(L"\\Local"), L"");
  EXPECT_EQ(Utils::UserDataFolderBesideLocal(L"Local"), L"");
  EXPECT_EQ(Utils::UserDataFolderBesideLocal(L""), L"");
  EXPECT_EQ(Utils::UserDataFolderBesideLocal(L"C:\\" + std::wstring(240, L'u') + L"\\Local"), L"");
}

class UserDataFile : public ::testing::Test {
 protected:
  UserDataFile() {
    env.userDataFolder = temp.Wide(L"Roaming") + Utils::NativePathRules().separator + L"Quorvane";
    file = temp.path() / "Roaming" / "Quorvane" / "APP.ini";
  }
  void Write() {
    auto services = env.Services(Utils::NativePathRules());
    services.createDirectoryChain = [](const std::wstring& path) { return Utils::CreateDirectoryChain(path); };
    Utils::WriteUserDataFile(services);
  }
  std::wstring Value(const wchar_t* section, const wchar_t* key) {
    return Utils::ReadProfileString(file.wstring(), section, key, L"<missing>");
  }

  Utils::Testing::TempFolder temp;
  Utils::Testing::FakeEnvironment env;
  std::filesystem::path file;
};

TEST_F(UserDataFile, FreshFileGetsTheChannelAndBothFlags) {
  Write();
  EXPECT_EQ(Value(L"Install", L"channel"), L"vuzeri");
  EXPECT_EQ(Value(L"help", L"isrun"), L"0");
  EXPECT_EQ(Value(L"Install", L"native"), L"0");
  EXPECT_EQ(env.events, std::vector<std::wstring>{L"locale"});
}

TEST_F(UserDataFile, KeepsAnyChannelButErrorAndOtherEntries) {
  struct Case {
    std::string channelLine;
    std::wstring expected;
  };
  const std::vector<Case> cases = {{"channel=partner7", L"partner7"},
                                   {"channel=", L""},
                                   {"channel=error", L"vuzeri"},
                                   {"channel=Error", L"Error"}};
  for (const auto& c : cases) {
    std::filesystem::create_directories(file.parent_path());
    Utils::Testing::WriteFile(file, "[Install]\r\n" + c.channelLine + "\r\nnative=1\r\n[Other]\r\nkeep=yes\r\n");
    Write();
    EXPECT_EQ(Value(L"Install", L"channel"), c.expected) << c.channelLine;
    EXPECT_EQ(Value(L"Install", L"native"), L"0");
    EXPECT_EQ(Value(L"Other", L"keep"), L"yes");
  }
}

TEST_F(UserDataFile, RunningTwiceLeavesWhatRunningOnceLeft) {
  Write();
  const std::string once = Utils::Testing::ReadFile(file);
  Write();
  EXPECT_EQ(Utils::Testing::ReadFile(file), once);
}

TEST_F(UserDataFile, RealLocaleStepAndUnknownFolderAreHarmless) {
  const std::string before = std::setlocale(LC_ALL, nullptr);
  auto services = Utils::SystemEnvServices(nullptr);
  services.getUserDataFolder = [this] { return env.userDataFolder; };
  Utils::WriteUserDataFile(services);  // "en_GB.UTF-8" may or may not exist here
  std::setlocale(LC_ALL, before.c_str());
  EXPECT_EQ(Value(L"Install", L"channel"), L"vuzeri");

  env.userDataFolder.clear();
  std::filesystem::remove(file);
  Write();
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(env.events, std::vector<std::wstring>{L"locale"}) << "the locale is set all the same";
}

}  // namespace
