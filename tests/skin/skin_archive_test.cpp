// The skin as the toolkit reads it: the archive resource 147 of this program
// (on Windows compiled into the test program from the installer's resource
// script; elsewhere the packed skin.7z standing in for it), every name the
// layouts and the window code ask for, and every image decoded by the
// toolkit's own decoder.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "skin_test_support.h"
#include "toolkit/image.h"
#include "toolkit/skin_archive_platform.h"

namespace DuiLib::skintest {
namespace {

class SkinArchiveTest : public SkinTest {
 protected:
  static std::string Read(const std::wstring& name, SkinFileKind kind) {
    std::vector<uint8_t> bytes;
    std::wstring error;
    EXPECT_TRUE(SkinSettings::ReadFile(name, kind, bytes, error)) << Narrow(name) << ": " << Narrow(error);
    return std::string(bytes.begin(), bytes.end());
  }
};

// File names of every image attribute of a layout document, as written there
// (a plain path, or the file='...' part of an image string).
std::vector<std::wstring> LayoutImages(const std::string& document) {
  static const std::regex attribute(R"re(\b(?:bk|normal|hot|pushed|disabled|selected|fore)image="([^"]*)")re");
  static const std::regex file(R"re(file='([^']*)')re");
  std::vector<std::wstring> names;
  for (std::sregex_iterator it(document.begin(), document.end(), attribute), end; it != end; ++it) {
    std::string value = (*it)[1];
    std::smatch m;
    if (std::regex_search(value, m, file)) value = m[1];
    if (!value.empty()) names.push_back(Utils::ToWide(value, Utils::kCodePageUtf8));
  }
  return names;
}

TEST_F(SkinArchiveTest, MainLayoutIsFoundUnderItsStoredName) {
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(LoadSkinResource(SkinSettings::Instance(), SkinSettings::ResourcePath(),
                               kSkinResourceId, bytes));
  std::unique_ptr<SkinArchive> archive = SkinArchive::Open(bytes.data(), bytes.size());
  ASSERT_NE(archive, nullptr);
  const SkinArchive::Entry* main = archive->Find(L"MainWnd.xml");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->name, L"mainWnd.xml");
  const SkinArchive::Entry* image = archive->Find(L"res\\mainWnd\\bk01.png");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->name, L"res/mainWnd/bk01.png");
  for (const SkinArchive::Entry& entry : archive->Entries()) {
    EXPECT_TRUE(entry.unpacked) << Narrow(entry.name);
  }
}

TEST_F(SkinArchiveTest, EveryNameTheInstallerAsksForReadsAndDecodes) {
  ASSERT_TRUE(SkinSettings::LoadArchiveResource(kSkinResourceId));
  const std::string mainLayout = Read(L"MainWnd.xml", SkinFileKind::kDocument);
  const std::string boxLayout = Read(L"MessageBox1Wnd.xml", SkinFileKind::kDocument);
  ASSERT_EQ(mainLayout.compare(0, 5, "<?xml"), 0);
  ASSERT_EQ(boxLayout.compare(0, 5, "<?xml"), 0);

  // The window code switches the background by these names.
  std::vector<std::wstring> images = {L"res\\mainWnd\\bk01.png", L"res\\mainWnd\\bk02.png",
                                      L"res\\mainWnd\\bk03.png", L"res\\mainWnd\\bk04.png"};
  for (const std::string* layout : {&mainLayout, &boxLayout}) {
    for (const std::wstring& name : LayoutImages(*layout)) images.push_back(name);
  }
  ASSERT_GT(images.size(), 30u);
  for (const std::wstring& name : images) {
    // The disabled look of the path button is named but left out on purpose:
    // the button is never disabled.
    if (name == L"res\\mainWnd\\installDirEdit4.png") continue;
    SCOPED_TRACE(Narrow(name));
    const std::string png = Read(name, SkinFileKind::kImage);
    Image image;
    ASSERT_TRUE(DecodePng(reinterpret_cast<const uint8_t*>(png.data()), png.size(), 0, image));
    EXPECT_GT(image.Width(), 0);
  }
}

}  // namespace
}  // namespace DuiLib::skintest
