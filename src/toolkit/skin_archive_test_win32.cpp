#include <windows.h>

#include <gtest/gtest.h>

#include "toolkit/skin_archive.h"

namespace DuiLib {
namespace {

// The test program carries no "ZIPRES" resource: nothing is loaded and no
// archive is opened.
TEST(SkinResource, MissingResourceLoadsNothing) {
  SkinSettings::Reset();
  SkinSettings::SetInstance(GetModuleHandleW(nullptr));
  EXPECT_FALSE(SkinSettings::LoadArchiveResource(147));
  EXPECT_TRUE(SkinSettings::ArchiveName().empty());
  EXPECT_FALSE(SkinSettings::HasOpenArchive());
  SkinSettings::Reset();
}

}  // namespace
}  // namespace DuiLib
