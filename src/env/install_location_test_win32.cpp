#include <windows.h>

#include <gtest/gtest.h>

#include "env/directory.h"
#include "env/disk.h"
#include "env/fake_environment.h"
#include "env/install_location.h"
#include "app/utils_text.h"
#include "env/path_rules.h"

namespace {

TEST(SameDirectoryWindows, TextRuleAgreesWithTheRelativePathService) {
  const std::vector<std::pair<std::wstring, std::wstring>> pairs = {
      {L"D:\\Apps", L"D:\\Apps"},
      {L"D:\\Apps", L"d:\\APPS"},
      {L"D:\\Apps", L"D:\\Apps\\"},
      {L"D:\\Apps\\", L"D:\\Apps"},
      {L"D:\\Apps\\", L"D:\\Apps\\"},
      {L"D:\\Apps", L"E:\\Apps"},
      {L"D:\\Apps", L"D:\\Apps2"},
      {L"D:\\Apps\\Quorvane", L"D:\\Apps"},
      {L"D:\\Apps", L"D:\\Apps\\Quorvane"},
      {L"D:\\", L"D:\\"},
      {L"D:\\a\\..\\b", L"D:\\b"},
      {L"D:\\\\Apps", L"D:\\Apps"},
      {L"D:/Apps", L"D:\\Apps"},
      {L"\\\\srv\\share\\q", L"\\\\srv\\share\\q"},
      {L"\\\\srv\\share\\q", L"\\\\SRV\\share\\q\\"},
      {L"Apps", L"Apps"},
      {L"", L"D:\\Apps"},
      {L"", L""},
  };
  for (const auto& [a, b] : pairs) {
    EXPECT_EQ(Utils::IsSameDirectory(a, b), Utils::SameDirectoryText(Utils::kWindowsPathRules, a, b))
        << "'" << Utils::ToNarrow(a, Utils::kCodePageUtf8) << "' '" << Utils::ToNarrow(b, Utils::kCodePageUtf8) << "'";
  }
}

TEST(StartChecksWindows, UnmappedDriveIsAnInvalidPathNotLackOfSpace) {
  const DWORD drives = GetLogicalDrives();
  std::wstring unmapped;
  for (wchar_t letter = L'Z'; letter >= L'D' && unmapped.empty(); --letter) {
    if (!(drives & (1u << (letter - L'A')))) unmapped = std::wstring(1, letter) + L":";
  }
  ASSERT_FALSE(unmapped.empty());
  Utils::Testing::FakeEnvironment env;
  Utils::EnvServices services = env.Services();
  services.createDirectoryChain = [](const std::wstring& path) { return Utils::CreateDirectoryChain(path); };
  services.freeBytes = Utils::QueryFreeBytes;
  Utils::InstallState state;
  const std::wstring dir = Utils::GetChosenInstallDir(state, services, unmapped + L"\\Apps");
  EXPECT_EQ(dir, unmapped + L"\\Apps\\Quorvane");
  const auto decision = Utils::CheckInstallStart(state, services, dir);
  EXPECT_EQ(decision.refusal, Utils::StartRefusal::InvalidPath);
  EXPECT_STREQ(decision.Message(), L"当前路径无效");
}

}  // namespace
