#include <windows.h>

#include <gtest/gtest.h>

#include "env/disk.h"

namespace {

TEST(FreeSpaceWindows, FailedQueryCountsAsNoSpace) {
  const DWORD drives = GetLogicalDrives();
  std::wstring unmapped;
  for (wchar_t letter = L'Z'; letter >= L'D' && unmapped.empty(); --letter) {
    if (!(drives & (1u << (letter - L'A')))) unmapped = std::wstring(1, letter) + L":";
  }
  ASSERT_FALSE(unmapped.empty());
  Utils::HardDiskManager disk;
  ASSERT_TRUE(disk.GetDiskSpace(L"C:"));
  EXPECT_GT(disk.TotalBytes(), 0u);
  EXPECT_FALSE(disk.GetDiskSpace(unmapped + L"\\Apps\\Quorvane"));
  EXPECT_EQ(disk.FreeBytesAvailable(), 0u) << "no figure of the earlier query is kept";
  EXPECT_EQ(disk.GetFreeSpaceGB(), 0.0);
  EXPECT_FALSE(Utils::IsEnoughFreeSpace(Utils::QueryFreeBytes(unmapped)));
}

}  // namespace
