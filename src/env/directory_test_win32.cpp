#include <windows.h>

#include <gtest/gtest.h>

#include "env/directory.h"

namespace {

// A drive letter that names no volume on this system; under Wine, one that is
// not mapped. Empty when every letter is taken.
std::wstring UnmappedDrive() {
  const DWORD drives = GetLogicalDrives();
  for (int letter = 'Z'; letter >= 'D'; --letter) {
    if (!(drives & (1u << (letter - 'A')))) return std::wstring(1, static_cast<wchar_t>(letter)) + L":";
  }
  return {};
}

TEST(CreateDirectoryChainWindows, UnmappedDriveIsAnInvalidPath) {
  const std::wstring drive = UnmappedDrive();
  ASSERT_FALSE(drive.empty());
  EXPECT_FALSE(Utils::CreateDirectoryChain(drive + L"\\Apps\\Quorvane"));
  EXPECT_FALSE(Utils::CreateDirectoryChain(drive + L"\\"));
}

}  // namespace
