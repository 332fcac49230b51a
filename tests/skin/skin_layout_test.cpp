// Where the two layouts put every control the window code relies on, page by
// page, and the states they start in. The rectangles are worked out by hand
// from the layouts' sizes and gaps (window coordinates; the main window's
// client area starts below the 48-pixel title bar at y 48). Labels without a
// fixed height take their font's height from the fixed-metrics text service,
// which only the message box's two text labels do.
#include <gtest/gtest.h>

#include <string>

#include "skin_test_support.h"

namespace DuiLib::skintest {
namespace {

struct Placed {
  const wchar_t* tab;  // tab layout whose page is selected first, or null
  int page;
  const wchar_t* key;  // name, or text / background image of an unnamed control
  Rect pos;
};

// Main window, 700 x 420. Page 0 is the first page of both tab layouts.
const Placed kMainWindow[] = {
    {nullptr, 0, L"winCtn", {0, 0, 700, 420}},
    {nullptr, 0, L"titleTabLt", {28, 0, 228, 48}},
    {nullptr, 0, L"titleGrpCtn", {624, 12, 680, 36}},
    {nullptr, 0, L"minbtn", {624, 12, 648, 36}},
    {nullptr, 0, L"closebtn", {656, 12, 680, 36}},
    {nullptr, 0, L"mainTabLt", {0, 48, 700, 420}},
    // Quick installation: gaps 1 + 128, name, gap 42, button row, one
    // flexible gap of 17, tip row 36, gap 7, agreement row 18, gaps 24 + 1.
    {L"mainTabLt", 0, L"Quorvex", {0, 177, 700, 231}},
    {L"mainTabLt", 0, L"defaultInstallBtn", {246, 273, 454, 317}},
    // The agreement row: gap 28, a 16-high row sharing the 516 free pixels
    // with a flexible gap, "自定义安装 >" 128 wide, gap 28.
    {L"mainTabLt", 0, L"treatyCb", {28, 377, 44, 393}},
    {L"mainTabLt", 0, L"treatyBtn", {52, 377, 286, 393}},
    {L"mainTabLt", 0, L"customeBtn", {544, 377, 672, 395}},
    // Custom installation: the path row centred (49 on each side), two
    // flexible gaps of 64 and 65 around the 80-pixel gap and the button.
    {L"mainTabLt", 1, L"安装路径", {49, 84, 115, 124}},
    {L"mainTabLt", 1, L"res\\mainWnd\\installDirEdit.png", {131, 84, 651, 124}},
    {L"mainTabLt", 1, L"installDirEdit", {131, 88, 587, 120}},
    {L"mainTabLt", 1, L"chDirBtn", {587, 88, 647, 120}},
    {L"mainTabLt", 1, L"customeInstallBtn", {246, 268, 454, 312}},
    {L"mainTabLt", 1, L"createDSCb", {28, 379, 44, 395}},
    {L"mainTabLt", 1, L"创建桌面快捷方式", {52, 377, 376, 395}},
    // Progress: gap 22, then a column with 41 pixels of margin on the left
    // and at the bottom; the flexible gap above the bar is 67.
    {L"mainTabLt", 2, L"Quorvex", {41, 70, 700, 110}},
    {L"mainTabLt", 2, L"· 独家无损编辑", {41, 154, 191, 174}},
    {L"mainTabLt", 2, L"· VIP不限时长", {241, 154, 700, 174}},
    {L"mainTabLt", 2, L"· 多款PDF处理工具", {41, 226, 191, 246}},
    {L"mainTabLt", 2, L"· 更多功能持续更新", {241, 250, 700, 270}},
    {L"mainTabLt", 2, L"installPrg", {41, 337, 624, 347}},
    {L"mainTabLt", 2, L"progressLb", {41, 359, 700, 379}},
    // Finished: gaps 14 + 46, heading 56, gap 55, button row 65.
    {L"mainTabLt", 3, L"安装完成", {0, 108, 700, 164}},
    {L"mainTabLt", 3, L"openProduceBtn", {246, 219, 454, 263}},
    // Title pages: the back button centred in the 48-pixel bar; the product
    // name 24 down and 34 in, beside the small logo of bk04.png.
    {L"titleTabLt", 1, L"backBtn", {28, 16, 88, 32}},
    {L"titleTabLt", 2, L"Quorvex", {62, 24, 174, 46}},
};

// Message box, 417 x 212.
const Placed kMessageBox[] = {
    {nullptr, 0, L"closebtn", {373, 14, 397, 38}},
    {nullptr, 0, L"res\\MessageBoxWnd\\tips.png", {24, 58, 48, 82}},
    // 80-pixel text column from x 68: the heading (16 high) and the message
    // (14 high) between three flexible gaps of 16, 16 and 18.
    {nullptr, 0, L"captionLbl", {68, 62, 417, 78}},
    {nullptr, 0, L"textLbl", {68, 94, 417, 108}},
    {nullptr, 0, L"okBtn", {239, 156, 315, 188}},
    {nullptr, 0, L"cancelBtn", {325, 156, 401, 188}},
};

std::string Describe(const Rect& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom) + ")";
}

void ExpectPlaced(SkinWindow& w, const Placed* begin, const Placed* end) {
  for (const Placed* p = begin; p != end; ++p) {
    SCOPED_TRACE(Narrow(p->key) + " on page " + std::to_string(p->page) +
                 (p->tab ? " of " + Narrow(p->tab) : std::string()));
    if (p->tab != nullptr) w.SelectPage(p->tab, p->page);
    CControlUI* control = FindShown(w.window.GetRoot(), p->key);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(Describe(control->GetPos()), Describe(p->pos));
  }
}

class SkinLayoutTest : public SkinTest {};

TEST_F(SkinLayoutTest, MainWindowPlacesEveryControlOnEveryPage) {
  SkinWindow w;
  ASSERT_TRUE(w.Load(L"MainWnd.xml")) << Narrow(w.error.message);
  EXPECT_EQ(w.window.GetInitSize().cx, 700);
  EXPECT_EQ(w.window.GetInitSize().cy, 420);
  ExpectPlaced(w, std::begin(kMainWindow), std::end(kMainWindow));
}

TEST_F(SkinLayoutTest, MessageBoxPlacesEveryControl) {
  SkinWindow w;
  ASSERT_TRUE(w.Load(L"MessageBox1Wnd.xml")) << Narrow(w.error.message);
  EXPECT_EQ(w.window.GetInitSize().cx, 417);
  EXPECT_EQ(w.window.GetInitSize().cy, 212);
  ExpectPlaced(w, std::begin(kMessageBox), std::end(kMessageBox));
}

TEST_F(SkinLayoutTest, MainWindowStartsOnTheQuickPageWithEveryBoxTicked) {
  SkinWindow w;
  ASSERT_TRUE(w.Load(L"MainWnd.xml")) << Narrow(w.error.message);
  ASSERT_NE(w.Find<CTabLayoutUI>(L"mainTabLt"), nullptr);
  EXPECT_EQ(w.Find<CTabLayoutUI>(L"mainTabLt")->GetCount(), 4);
  EXPECT_EQ(w.Find<CTabLayoutUI>(L"mainTabLt")->GetCurSel(), 0);
  EXPECT_EQ(w.Find<CTabLayoutUI>(L"titleTabLt")->GetCount(), 3);
  EXPECT_EQ(w.Find<CTabLayoutUI>(L"titleTabLt")->GetCurSel(), 0);
  for (const wchar_t* box : {L"treatyCb", L"treatyBtn", L"createDSCb"}) {
    ASSERT_NE(w.Find<CCheckBoxUI>(box), nullptr) << Narrow(box);
    EXPECT_TRUE(w.Find<CCheckBoxUI>(box)->IsSelected()) << Narrow(box);
  }
  w.SelectPage(L"mainTabLt", 1);
  auto* shortcutText = dynamic_cast<CCheckBoxUI*>(FindShown(w.window.GetRoot(), L"创建桌面快捷方式"));
  ASSERT_NE(shortcutText, nullptr);
  EXPECT_TRUE(shortcutText->IsSelected());

  ASSERT_NE(w.Find(L"tipLbl"), nullptr);
  EXPECT_FALSE(w.Find(L"tipLbl")->IsVisible());
  EXPECT_TRUE(w.Find(L"tipLbl")->GetText().empty());
  EXPECT_EQ(w.Find(L"winCtn")->GetBkImage(), L"res\\mainWnd\\bk01.png");
  ASSERT_NE(w.Find<CProgressUI>(L"installPrg"), nullptr);
  EXPECT_EQ(w.Find<CProgressUI>(L"installPrg")->GetValue(), 0);
  EXPECT_EQ(w.Find<CProgressUI>(L"installPrg")->GetMaxValue(), 100);
  EXPECT_EQ(w.Find(L"progressLb")->GetText(), L"正在安装,请不要关闭0%");
  EXPECT_TRUE(w.Find(L"progressLb")->GetUserData().empty());
  // Every control the window code uses without a test is there.
  for (const wchar_t* name : {L"customeInstallBtn", L"customeBtn", L"installDirEdit",
                              L"defaultInstallBtn", L"chDirBtn", L"openProduceBtn", L"backBtn"}) {
    EXPECT_NE(w.Find(name), nullptr) << Narrow(name);
  }
}

TEST_F(SkinLayoutTest, WindowAttributesAskForRoundCornersCaptionAndShadow) {
  struct Case {
    const wchar_t* document;
    Rect caption;
    int corner;
  };
  for (const Case& c : {Case{L"MainWnd.xml", {0, 0, 0, 35}, 12},
                        Case{L"MessageBox1Wnd.xml", {0, 0, 0, 30}, 4}}) {
    SCOPED_TRACE(Narrow(c.document));
    SkinWindow w;
    ASSERT_TRUE(w.Load(c.document)) << Narrow(w.error.message);
    EXPECT_EQ(Describe(w.window.GetCaptionRect()), Describe(c.caption));
    EXPECT_EQ(w.window.GetRoundCorner().cx, c.corner);
    EXPECT_EQ(w.window.GetRoundCorner().cy, c.corner);
    const std::pair<const wchar_t*, const wchar_t*> shadow[] = {
        {L"showshadow", L"true"},    {L"shadowsize", L"12"},        {L"shadowsharpness", L"10"},
        {L"shadowdarkness", L"20"},  {L"shadowposition", L"2,2"},   {L"shadowcolor", L"#26003B76"}};
    for (const auto& [name, value] : shadow) {
      const std::wstring* got = w.window.GetCustomAttribute(name);
      ASSERT_NE(got, nullptr) << Narrow(name);
      EXPECT_EQ(*got, value) << Narrow(name);
    }
  }
}

}  // namespace
}  // namespace DuiLib::skintest
