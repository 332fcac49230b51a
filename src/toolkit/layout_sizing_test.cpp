#include <gtest/gtest.h>

#include "toolkit/fixed_text_service.h"
#include "toolkit/layout_test_support.h"

namespace DuiLib {
namespace {

using testing::TestWindow;

// Fonts of the tests: the fixed-metrics service makes a size-14 font 14
// pixels high with 7-pixel characters.
constexpr const char* kFonts = R"(<Font id="0" name="F" size="14" default="true"/>
  <Font id="1" name="F" size="10"/>)";

std::string Doc(const std::string& body) {
  return std::string("<Window size=\"700,420\">") + kFonts + body + "</Window>";
}

TEST(VerticalLayout, AdjustableChildTakesWhatFixedChildrenLeave) {
  struct Case {
    const char* children;
    Rect expected;
  };
  const Case cases[] = {
      {R"(<Control height="48"/><Control name="x"/><Control height="1"/>)", Rect(0, 48, 700, 419)},
      {R"(<Control name="x"/><Control height="48"/><Control height="1"/>)", Rect(0, 0, 700, 371)},
      {R"(<Control height="48"/><Control height="1"/><Control name="x"/>)", Rect(0, 49, 700, 420)},
      // Hidden children take no space.
      {R"(<Control height="48"/><Control height="100" visible="false"/><Control name="x"/><Control height="1"/>)",
       Rect(0, 48, 700, 419)},
      // Margins count, a fixed width that fits is kept.
      {R"(<Control height="48" padding="0,2,0,3"/><Control name="x" width="120" padding="5,1,0,1"/>)",
       Rect(5, 54, 125, 419)},
      // Two adjustable children: equal shares, the last takes the rest.
      {R"(<Control height="1"/><Control name="x"/><Control/>)", Rect(0, 1, 700, 210)},
      {R"(<Control height="1"/><Control/><Control name="x"/>)", Rect(0, 210, 700, 420)},
      // The maximum height clamps.
      {R"(<Control height="48"/><Control name="x" maxheight="100"/>)", Rect(0, 48, 700, 148)},
      // A fixed width wider than the layout is limited to it.
      {R"(<Control name="x" width="900" height="10"/>)", Rect(0, 0, 700, 10)},
  };
  for (const Case& c : cases) {
    TestWindow t;
    ASSERT_TRUE(t.Load(Doc(std::string("<VerticalLayout>") + c.children + "</VerticalLayout>")))
        << c.children;
    EXPECT_EQ(t.Pos(L"x"), c.expected) << c.children;
  }
}

TEST(VerticalLayout, InsetAndChildPadding) {
  TestWindow t;
  ASSERT_TRUE(t.Load(Doc(R"(<VerticalLayout inset="10,20,30,40" childpadding="5">
      <Control name="a" height="50"/><Control name="b"/><Control name="c" height="30"/>
    </VerticalLayout>)")));
  EXPECT_EQ(t.Pos(L"a"), Rect(10, 20, 670, 70));
  EXPECT_EQ(t.Pos(L"b"), Rect(10, 75, 670, 345));
  EXPECT_EQ(t.Pos(L"c"), Rect(10, 350, 670, 380));
}

TEST(HorizontalLayout, SpacersShareTheLeftoverOddPixelToTheSecond) {
  for (int width : {700, 701}) {
    TestWindow t;
    ASSERT_TRUE(t.Load(Doc(R"(<HorizontalLayout><Control name="l"/>
        <Button name="b" width="208" height="44" text="立即安装"/><Control name="r"/></HorizontalLayout>)"),
                       nullptr, {width, 44}));
    EXPECT_EQ(t.Pos(L"l"), Rect(0, 0, 246, 44)) << width;
    EXPECT_EQ(t.Pos(L"b"), Rect(246, 0, 454, 44)) << width;
    EXPECT_EQ(t.Pos(L"r"), Rect(454, 0, width, 44)) << width;
  }
}

TEST(HorizontalLayout, CheckBoxWithoutWidthTakesAShareWhateverItsText) {
  for (const char* text : {"", "x", "同意 《用户协议》 and a much longer text than the row could hold"}) {
    TestWindow t;
    ASSERT_TRUE(t.Load(Doc(std::string(R"(<HorizontalLayout><Control width="28"/>
        <CheckBox name="box" width="16" height="16"/><Control width="8"/>
        <CheckBox name="text" text=")") + text + R"("/><Control name="gap"/></HorizontalLayout>)"),
                       nullptr, {700, 18}));
    EXPECT_EQ(t.Pos(L"box"), Rect(28, 0, 44, 16)) << text;
    EXPECT_EQ(t.Pos(L"text"), Rect(52, 0, 376, 18)) << text;
    EXPECT_EQ(t.Pos(L"gap"), Rect(376, 0, 700, 18)) << text;
  }
}

TEST(HorizontalLayout, CrossAxisAndMargins) {
  TestWindow t;
  ASSERT_TRUE(t.Load(Doc(R"(<HorizontalLayout>
      <CheckBox name="a" width="16" height="16" padding="0,2,0,0"/>
      <Control name="b" width="10" padding="4,0,6,0"/>
      <Control name="c" width="10" height="100"/>
      <Control name="hidden" width="300" visible="false"/>
      <Control name="d" height="8" padding="0,1,0,1"/>
    </HorizontalLayout>)"),
                     nullptr, {200, 18}));
  EXPECT_EQ(t.Pos(L"a"), Rect(0, 2, 16, 18));   // moved 2 down by its margin
  EXPECT_EQ(t.Pos(L"b"), Rect(20, 0, 30, 18));  // no height: the whole row
  EXPECT_EQ(t.Pos(L"c"), Rect(36, 0, 46, 18));  // limited to the row
  EXPECT_EQ(t.Pos(L"d"), Rect(46, 1, 200, 9));
  EXPECT_TRUE(t.Pos(L"hidden").IsEmpty());
}

TEST(Estimates, FontHeightPlusEightWithoutFixedHeight) {
  TestWindow t;
  ASSERT_TRUE(t.Load(Doc(R"(<VerticalLayout>
      <Label name="label" text="安装路径"/>
      <Label name="big" font="1" text="x" textpadding="0,0,0,3"/>
      <Button name="button" text="修改" width="60"/>
      <Edit name="edit"/>
      <CheckBox name="check" text="c"/>
      <Progress name="progress"/>
      <Label name="fixed" height="40"/>
      <Control name="rest"/>
    </VerticalLayout>)")));
  EXPECT_EQ(t.Pos(L"label"), Rect(0, 0, 700, 22));
  EXPECT_EQ(t.Pos(L"big"), Rect(0, 22, 700, 43));
  EXPECT_EQ(t.Pos(L"button"), Rect(0, 43, 60, 65));
  EXPECT_EQ(t.Pos(L"edit").Height(), 22);
  EXPECT_EQ(t.Pos(L"check").Height(), 22);
  EXPECT_EQ(t.Pos(L"progress").Height(), 12);
  EXPECT_EQ(t.Pos(L"fixed").Height(), 40);
  EXPECT_EQ(t.Pos(L"rest").bottom, 420);
}

TEST(Estimates, SingleLineLabelMeasuresItsText) {
  TestWindow t;
  ASSERT_TRUE(t.Load(Doc(R"(<VerticalLayout><Label name="l" text="ab 安" textpadding="3,0,5,0"/></VerticalLayout>)")));
  auto* label = t.Find<CLabelUI>(L"l");
  // 3 narrow characters of 7 and one wide of 14, plus the padding.
  EXPECT_EQ(label->EstimateSize({700, 420}).cx, 3 * 7 + 14 + 8);
  label->SetText(L"abcd");
  EXPECT_EQ(label->EstimateSize({700, 420}).cx, 4 * 7 + 8);
}

TEST(Estimates, MultiLineLabelTakesItsWrappedHeight) {
  // Font 1: 5-pixel characters, 10-pixel lines. "aaaa bbbb cccc dddd" is
  // 95 pixels, so 100 pixels of width hold four words a line.
  TestWindow t;
  ASSERT_TRUE(t.Load(Doc(R"(<VerticalLayout>
      <Label name="m" font="1" multiline="true" textpadding="0,2,0,3" width="100"
             text="aaaa bbbb cccc dddd eeee"/>
      <Label name="wide" font="1" multiline="true" text="aaaa bbbb cccc dddd eeee"/>
      <Control name="rest"/>
    </VerticalLayout>)")));
  EXPECT_EQ(t.Pos(L"m"), Rect(0, 0, 100, 25));
  EXPECT_EQ(t.Pos(L"wide"), Rect(0, 25, 700, 35));
  EXPECT_EQ(t.Pos(L"rest"), Rect(0, 35, 700, 420));

  // The estimate follows the available width and the text.
  auto* wide = t.Find<CLabelUI>(L"wide");
  EXPECT_EQ(wide->EstimateSize({44, 420}).cy, 50);
  wide->SetText(L"aaaa");
  EXPECT_EQ(wide->EstimateSize({44, 420}).cy, 10);
}

TEST(TabLayout, PlacesOnlyTheSelectedChild) {
  TestWindow t;
  ASSERT_TRUE(t.Load(Doc(R"(<TabLayout name="tabs" inset="5,5,5,5">
      <Control name="p0"/>
      <Control name="p1" width="100" height="50" padding="1,2,0,0"/>
    </TabLayout>)")));
  EXPECT_EQ(t.Pos(L"p0"), Rect(5, 5, 695, 415));
  EXPECT_TRUE(t.Pos(L"p1").IsEmpty());
  ASSERT_TRUE(t.Find<CTabLayoutUI>(L"tabs")->SelectItem(1));
  t.window.LayoutIfNeeded();
  EXPECT_EQ(t.Pos(L"p1"), Rect(6, 7, 106, 57));
  EXPECT_FALSE(t.Find(L"p0")->IsVisible());
}

TEST(Layout, RootFillsTheClientAreaAndFollowsItsSize) {
  TestWindow t;
  ASSERT_TRUE(t.Load(Doc(R"(<VerticalLayout name="root" width="10" height="10"><Control name="x"/></VerticalLayout>)")));
  EXPECT_EQ(t.Pos(L"root"), Rect(0, 0, 700, 420));
  t.window.SetClientSize({300, 200});
  t.window.LayoutIfNeeded();
  EXPECT_EQ(t.Pos(L"x"), Rect(0, 0, 300, 200));
  // Hiding a control asks for a new layout.
  t.Find(L"x")->SetVisible(false);
  EXPECT_TRUE(t.window.IsLayoutNeeded());
}

}  // namespace
}  // namespace DuiLib
