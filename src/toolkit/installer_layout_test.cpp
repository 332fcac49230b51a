// The installer's own documents, read from the skin archive the build packs
// (two folders above the test's working folder), built, laid out and
// painted: the places the window code and the user rely on.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "toolkit/layout_test_support.h"
#include "toolkit/skin_archive.h"

namespace DuiLib {
namespace {

class InstallerLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    SkinSettings::Reset();
    std::ifstream in("../../skin.7z", std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(bytes.empty()) << "skin.7z is not where the build packs it";
    SkinSettings::SetArchiveFormat7z(true);
    ASSERT_TRUE(SkinSettings::OpenArchiveFromMemory(std::move(bytes)));
  }
  void TearDown() override { SkinSettings::Reset(); }

  std::unique_ptr<CWindowContext> Build(const wchar_t* document) {
    auto window = std::make_unique<CWindowContext>();
    XmlError error;
    std::unique_ptr<CControlUI> root = BuildLayoutFromSkin(document, nullptr, *window, error);
    EXPECT_NE(root, nullptr) << std::string(error.message.begin(), error.message.end());
    if (!root) return nullptr;
    window->AttachRoot(std::move(root));
    window->SetClientSize(window->GetInitSize());
    window->LayoutIfNeeded();
    return window;
  }

  static Rect Pos(CWindowContext& w, const wchar_t* name) {
    CControlUI* c = w.FindControl(name);
    return c ? c->GetPos() : Rect(-1, -1, -1, -1);
  }
};

TEST_F(InstallerLayout, MainWindow) {
  std::unique_ptr<CWindowContext> w = Build(L"MainWnd.xml");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->GetInitSize().cx, 700);
  EXPECT_EQ(w->GetInitSize().cy, 420);
  EXPECT_EQ(w->GetCaptionRect(), Rect(0, 0, 0, 35));
  EXPECT_EQ(w->GetRoundCorner().cx, 12);
  ASSERT_NE(w->GetCustomAttribute(L"showshadow"), nullptr);
  EXPECT_EQ(*w->GetCustomAttribute(L"shadowcolor"), L"#26003B76");

  EXPECT_EQ(Pos(*w, L"winCtn"), Rect(0, 0, 700, 420));
  EXPECT_EQ(Pos(*w, L"minbtn"), Rect(624, 12, 648, 36));
  EXPECT_EQ(Pos(*w, L"closebtn"), Rect(656, 12, 680, 36));
  EXPECT_EQ(Pos(*w, L"defaultInstallBtn"), Rect(246, 273, 454, 317));
  const Rect treaty = Pos(*w, L"treatyCb");
  EXPECT_EQ(treaty.left, 28);
  EXPECT_EQ(treaty.Width(), 16);
  EXPECT_EQ(treaty.Height(), 16);
  EXPECT_EQ(Pos(*w, L"customeBtn").right, 672);
  auto* treatyCb = dynamic_cast<CCheckBoxUI*>(w->FindControl(L"treatyCb"));
  ASSERT_NE(treatyCb, nullptr);
  EXPECT_TRUE(treatyCb->IsSelected());
  EXPECT_FALSE(w->FindControl(L"tipLbl")->IsVisible());

  auto* pages = dynamic_cast<CTabLayoutUI*>(w->FindControl(L"mainTabLt"));
  ASSERT_NE(pages, nullptr);
  EXPECT_EQ(pages->GetCount(), 4);
  EXPECT_EQ(pages->GetCurSel(), 0);
  pages->SelectItem(2);
  w->LayoutIfNeeded();
  const Rect bar = Pos(*w, L"installPrg");
  EXPECT_EQ(bar.left, 41);
  EXPECT_EQ(bar.Width(), 583);
  EXPECT_EQ(bar.Height(), 10);
  EXPECT_EQ(Pos(*w, L"progressLb").top, bar.bottom + 12);

  // Dragging works over the title bar's empty parts, not over its buttons.
  EXPECT_TRUE(w->IsCaptionPoint(300, 10));
  EXPECT_FALSE(w->IsCaptionPoint(660, 20));
  EXPECT_FALSE(w->IsCaptionPoint(300, 40));

  // The skin's images paint: the track of the progress bar (pale blue) and,
  // at 100, its fill (a deeper blue) over the white page.
  Bitmap frame(700, 420);
  const auto paintAt = [&](int x, int y) {
    Canvas canvas(frame);
    w->Paint(canvas, frame.Bounds());
    return frame.Pixel(x, y);
  };
  const int cx = (bar.left + bar.right) / 2;
  const int cy = (bar.top + bar.bottom) / 2;
  const uint32_t track = paintAt(cx, cy);
  EXPECT_NE(track, 0xFFFFFFFFu);
  EXPECT_GT(track & 0xFF, (track >> 16) & 0xFF);
  dynamic_cast<CProgressUI*>(w->FindControl(L"installPrg"))->SetValue(100);
  const uint32_t fill = paintAt(cx, cy);
  EXPECT_NE(fill, track);
  EXPECT_LT((fill >> 16) & 0xFF, (track >> 16) & 0xFF);
}

TEST_F(InstallerLayout, MessageBox) {
  std::unique_ptr<CWindowContext> w = Build(L"MessageBox1Wnd.xml");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->GetInitSize().cx, 417);
  EXPECT_EQ(w->GetInitSize().cy, 212);
  EXPECT_EQ(Pos(*w, L"cancelBtn"), Rect(325, 156, 401, 188));
  EXPECT_EQ(Pos(*w, L"okBtn"), Rect(239, 156, 315, 188));
  EXPECT_EQ(Pos(*w, L"closebtn"), Rect(373, 14, 397, 38));
  ASSERT_NE(w->FindControl(L"captionLbl"), nullptr);
  ASSERT_NE(w->FindControl(L"textLbl"), nullptr);
}

}  // namespace
}  // namespace DuiLib
