#include "env/disk.h"

#include <gtest/gtest.h>

#include "env/test_support.h"

namespace {

TEST(DriveDesignator, TakesALetterAndAColonOnly) {
  EXPECT_EQ(Utils::DriveDesignator(L"D:\\Apps\\Quorvane"), L"D:");
  EXPECT_EQ(Utils::DriveDesignator(L"c:"), L"c:");
  EXPECT_EQ(Utils::DriveDesignator(L"\\\\srv\\share\\x"), L"");
  EXPECT_EQ(Utils::DriveDesignator(L"Apps"), L"");
  EXPECT_EQ(Utils::DriveDesignator(L"1:\\x"), L"");
  EXPECT_EQ(Utils::DriveDesignator(L""), L"");
}

TEST(FreeSpace, OneGibibyteIsTheBoundary) {
  EXPECT_TRUE(Utils::IsEnoughFreeSpace(1073741824ull));
  EXPECT_FALSE(Utils::IsEnoughFreeSpace(1073741823ull));
  EXPECT_FALSE(Utils::IsEnoughFreeSpace(0));
  EXPECT_TRUE(Utils::IsEnoughFreeSpace(~0ull));
}

TEST(FreeSpace, FreshManagerAndRealQuery) {
  Utils::HardDiskManager disk;
  EXPECT_EQ(disk.GetFreeSpaceGB(), 0.0);
  Utils::Testing::TempFolder temp;
  // A folder that does not exist yet is measured on the volume that will hold it.
  ASSERT_TRUE(disk.GetDiskSpace(temp.Wide(L"not-yet") + L"/deeper"));
  EXPECT_GT(disk.TotalBytes(), 0u);
  EXPECT_LE(disk.FreeBytesAvailable(), disk.TotalBytes());
  EXPECT_DOUBLE_EQ(disk.GetFreeSpaceGB(), static_cast<double>(disk.FreeBytesAvailable()) / 1073741824.0);
}

}  // namespace
