#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "toolkit/skin_archive.h"
#include "toolkit/skin_archive_fixture.h"

namespace DuiLib {
namespace {

// Off Windows the archive resource is a file beside the skin files.
TEST(SkinResource, LoadsOnceFromTheStandInFile) {
  SkinSettings::Reset();
  std::random_device random;
  const auto dir = std::filesystem::temp_directory_path() /
                   ("qv-skin-res-" + std::to_string(random()) + "-" + std::to_string(random()));
  std::filesystem::create_directories(dir);
  SkinSettings::SetResourcePath(dir.wstring());

  EXPECT_FALSE(SkinSettings::LoadArchiveResource(147));  // missing
  EXPECT_TRUE(SkinSettings::ArchiveName().empty());
  std::ofstream(dir / "ZIPRES_148.7z", std::ios::binary).flush();  // empty
  EXPECT_FALSE(SkinSettings::LoadArchiveResource(148));

  std::ofstream(dir / "ZIPRES_147.7z", std::ios::binary)
      .write(reinterpret_cast<const char*>(testing::kSkinArchiveFixture),
             sizeof testing::kSkinArchiveFixture);
  ASSERT_TRUE(SkinSettings::LoadArchiveResource(147));
  EXPECT_EQ(SkinSettings::ArchiveName(), L"membuffer");
  // A second window reuses the open archive, even when its file is gone.
  std::filesystem::remove(dir / "ZIPRES_147.7z");
  EXPECT_TRUE(SkinSettings::LoadArchiveResource(147));
  std::vector<uint8_t> bytes;
  std::wstring error;
  EXPECT_TRUE(SkinSettings::ReadFile(L"mainWnd.xml", SkinFileKind::kDocument, bytes, error));

  SkinSettings::Reset();
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace DuiLib
