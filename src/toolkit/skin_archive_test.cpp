#include "toolkit/skin_archive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "toolkit/skin_archive_fixture.h"

namespace DuiLib {
namespace {

using testing::kSkinArchiveFixture;

std::vector<uint8_t> Fixture() {
  return {std::begin(kSkinArchiveFixture), std::end(kSkinArchiveFixture)};
}

std::string Text(const std::vector<uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

TEST(SkinArchive, UnpacksEveryFileAndSkipsFolders) {
  const auto data = Fixture();
  const auto archive = SkinArchive::Open(data.data(), data.size());
  ASSERT_NE(archive, nullptr);
  ASSERT_EQ(archive->Entries().size(), 5u);
  for (const auto& entry : archive->Entries()) {
    EXPECT_NE(entry.name, L"res");
    EXPECT_NE(entry.name, L"res/common");
    EXPECT_EQ(entry.nameLength, entry.name.size() + 1);
    EXPECT_EQ(entry.size, entry.content.size());
    EXPECT_TRUE(entry.unpacked);
  }
  const auto* xml = archive->Find(L"mainWnd.xml");
  ASSERT_NE(xml, nullptr);
  EXPECT_EQ(Text(xml->content).substr(0, 5), "<?xml");
  const auto* big = archive->Find(L"big.xml");
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(big->size, 4194305u);
  EXPECT_EQ(big->content, std::vector<uint8_t>(4194305, ' '));
}

TEST(SkinArchive, FindsNamesWithEitherSeparatorAndAnyCase) {
  const auto data = Fixture();
  const auto archive = SkinArchive::Open(data.data(), data.size());
  ASSERT_NE(archive, nullptr);
  const auto* png = archive->Find(L"res/mainWnd/bk01.png");
  ASSERT_NE(png, nullptr);
  EXPECT_EQ(png->name, L"res/mainWnd/bk01.png");
  EXPECT_EQ(archive->Find(L"res\\MAINWND\\BK01.PNG"), png);
  EXPECT_EQ(archive->Find(L"RES\\mainwnd/Bk01.Png"), png);
  EXPECT_EQ(archive->Find(L"res\\\u00E4rger.png"), archive->Find(L"RES/\u00C4RGER.PNG"));
  EXPECT_NE(archive->Find(L"res/\u00E4rger.png"), nullptr);
  // The length must match: no trailing space, no partial names.
  EXPECT_EQ(archive->Find(L"res\\mainWnd\\bk01.png "), nullptr);
  EXPECT_EQ(archive->Find(L"bk01.png"), nullptr);
  EXPECT_EQ(archive->Find(L"res/mainWnd"), nullptr);
  EXPECT_EQ(archive->Find(L""), nullptr);
}

TEST(SkinArchive, DamagedOrOversizedArchivesNeverCrash) {
  const auto data = Fixture();
  // Every cut of the archive either fails to open or opens with what it can
  // prove intact.
  for (size_t length = 0; length < data.size(); ++length) {
    const auto archive = SkinArchive::Open(data.data(), length);
    if (archive) {
      for (const auto& entry : archive->Entries()) {
        EXPECT_EQ(entry.content.size(), entry.unpacked ? entry.size : 0u);
      }
    }
  }
  // A flipped byte in the packed files: the header still reads, the damaged
  // files do not unpack.
  auto flipped = data;
  flipped[40] ^= 0x55;
  const auto damaged = SkinArchive::Open(flipped.data(), flipped.size());
  ASSERT_NE(damaged, nullptr);
  const auto* xml = damaged->Find(L"mainWnd.xml");
  ASSERT_NE(xml, nullptr);
  EXPECT_FALSE(xml->unpacked);
  EXPECT_TRUE(xml->content.empty());
  // Files that would unpack to more than allowed are refused up front.
  EXPECT_EQ(SkinArchive::Open(data.data(), data.size(), 4u << 20), nullptr);
  EXPECT_NE(SkinArchive::Open(data.data(), data.size(), 5u << 20), nullptr);
  const uint8_t notAnArchive[] = "PK\x03\x04 this is something else";
  EXPECT_EQ(SkinArchive::Open(notAnArchive, sizeof notAnArchive), nullptr);
}

class SkinFiles : public ::testing::Test {
 protected:
  void SetUp() override { SkinSettings::Reset(); }
  void TearDown() override {
    SkinSettings::Reset();
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }

  // A fresh folder of the system's temporary directory.
  std::wstring MakeFolder() {
    std::random_device random;
    dir_ = std::filesystem::temp_directory_path() /
           ("qv-skin-" + std::to_string(random()) + "-" + std::to_string(random()));
    std::filesystem::create_directories(dir_);
    return dir_.wstring();
  }
  void WriteFile(const std::string& name, const std::string& content) {
    std::ofstream(dir_ / name, std::ios::binary) << content;
  }

  bool Read(const std::wstring& name, SkinFileKind kind = SkinFileKind::kDocument) {
    return SkinSettings::ReadFile(name, kind, bytes_, error_);
  }

  std::filesystem::path dir_;
  std::vector<uint8_t> bytes_;
  std::wstring error_;
};

TEST_F(SkinFiles, ResourcePathEndsInOneSeparator) {
  SkinSettings::SetResourcePath(L"C:\\skin");
  EXPECT_EQ(SkinSettings::ResourcePath(), L"C:\\skin\\");
  SkinSettings::SetResourcePath(L"C:\\skin\\");
  EXPECT_EQ(SkinSettings::ResourcePath(), L"C:\\skin\\");
  SkinSettings::SetResourcePath(L"/opt/skin/");
  EXPECT_EQ(SkinSettings::ResourcePath(), L"/opt/skin/");
}

TEST_F(SkinFiles, ReadsFromTheArchiveWithItsErrorTexts) {
  EXPECT_TRUE(SkinSettings::ArchiveName().empty());
  ASSERT_TRUE(SkinSettings::OpenArchiveFromMemory(Fixture()));
  EXPECT_EQ(SkinSettings::ArchiveName(), L"membuffer");

  ASSERT_TRUE(Read(L"MainWnd.xml"));
  EXPECT_EQ(Text(bytes_).substr(0, 5), "<?xml");
  EXPECT_TRUE(error_.empty());

  struct Case {
    const wchar_t* name;
    SkinFileKind kind;
    const wchar_t* error;
  };
  const Case failures[] = {
      {L"big.xml", SkinFileKind::kDocument, L"File too large"},
      {L"res\\empty.txt", SkinFileKind::kDocument, L"File is empty"},
      {L"res\\empty.txt", SkinFileKind::kImage, L"File is empty"},
      {L"res\\missing.png", SkinFileKind::kImage, L"Could not find ziped file"},
  };
  for (const Case& c : failures) {
    EXPECT_FALSE(Read(c.name, c.kind));
    EXPECT_EQ(error_, c.error);
    EXPECT_TRUE(bytes_.empty());
  }
  // Images have no size limit of their own.
  ASSERT_TRUE(Read(L"big.xml", SkinFileKind::kImage));
  EXPECT_EQ(bytes_.size(), 4194305u);

  // A second archive changes nothing: the first stays open.
  EXPECT_TRUE(SkinSettings::OpenArchiveFromMemory({1, 2, 3}));
  EXPECT_TRUE(Read(L"res/mainWnd/bk01.png", SkinFileKind::kImage));
  std::vector<uint8_t> viaHelper;
  EXPECT_TRUE(ReadSkinImageFile(L"res\\mainWnd\\bk01.png", viaHelper));
  EXPECT_EQ(viaHelper, bytes_);
}

TEST_F(SkinFiles, UnreadableArchiveLeavesNothingOpen) {
  auto cut = Fixture();
  cut.resize(100);
  EXPECT_FALSE(SkinSettings::OpenArchiveFromMemory(cut));
  EXPECT_EQ(SkinSettings::ArchiveName(), L"membuffer");
  EXPECT_FALSE(SkinSettings::HasOpenArchive());
  EXPECT_FALSE(Read(L"mainWnd.xml"));
  EXPECT_EQ(error_, L"Error opening zip file");

  // A damaged entry cannot be copied out.
  SkinSettings::Reset();
  auto flipped = Fixture();
  flipped[40] ^= 0x55;
  ASSERT_TRUE(SkinSettings::OpenArchiveFromMemory(flipped));
  EXPECT_FALSE(Read(L"mainWnd.xml"));
  EXPECT_EQ(error_, L"Could not unzip file");

  // The archive format flag selects a reader this toolkit does not have.
  SkinSettings::Reset();
  SkinSettings::SetArchiveFormat7z(false);
  EXPECT_FALSE(SkinSettings::OpenArchiveFromMemory(Fixture()));
  EXPECT_FALSE(Read(L"mainWnd.xml"));
  EXPECT_EQ(error_, L"Error opening zip file");
}

TEST_F(SkinFiles, ReadsFromDiskUnderTheResourcePath) {
  SkinSettings::SetResourcePath(MakeFolder());
  std::filesystem::create_directories(dir_ / "res");
  WriteFile("MainWnd.xml", "<Window/>");
  WriteFile("res/bk.png", "png bytes");
  WriteFile("empty.xml", "");
  WriteFile("big.xml", std::string(4194305, ' '));
  WriteFile("limit.xml", std::string(4194304, ' '));

  ASSERT_TRUE(Read(L"MainWnd.xml"));
  EXPECT_EQ(Text(bytes_), "<Window/>");
  ASSERT_TRUE(Read(L"res\\bk.png", SkinFileKind::kImage));
  EXPECT_EQ(Text(bytes_), "png bytes");
  EXPECT_TRUE(Read(L"limit.xml"));
  EXPECT_TRUE(Read(L"big.xml", SkinFileKind::kImage));

  const std::pair<const wchar_t*, const wchar_t*> failures[] = {
      {L"missing.xml", L"Error opening file"},
      {L"empty.xml", L"File is empty"},
      {L"big.xml", L"File too large"},
  };
  for (auto [name, error] : failures) {
    EXPECT_FALSE(Read(name));
    EXPECT_EQ(error_, error);
    EXPECT_TRUE(bytes_.empty());
  }
}

}  // namespace
}  // namespace DuiLib
