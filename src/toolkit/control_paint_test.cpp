#include <gtest/gtest.h>

#include "toolkit/layout_test_support.h"

namespace DuiLib {
namespace {

using testing::SolidImage;
using testing::TestWindow;

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kGrey = 0xFF808080;
constexpr uint32_t kYellow = 0xFFFFFF00;
constexpr uint32_t kCyan = 0xFF00FFFF;
constexpr uint32_t kBackdrop = 0xFF102030;

// A window with a few solid images and a bitmap to paint into.
struct PaintFixture {
  TestWindow t;
  Bitmap bitmap;

  explicit PaintFixture(const std::string& body, Size client = {100, 40}) {
    t.window.Images().Add(L"red.png", SolidImage(4, 4, kRed));
    t.window.Images().Add(L"green.png", SolidImage(4, 4, kGreen));
    t.window.Images().Add(L"blue.png", SolidImage(4, 4, kBlue));
    t.window.Images().Add(L"grey.png", SolidImage(4, 4, kGrey));
    t.window.Images().Add(L"yellow.png", SolidImage(4, 4, kYellow));
    t.window.Images().Add(L"cyan.png", SolidImage(4, 4, kCyan));
    loaded = t.Load(R"(<Window><Font id="0" name="F" size="14" default="true"/>)" + body +
                        "</Window>",
                    nullptr, client);
    bitmap.Reset(client.cx, client.cy);
  }

  uint32_t Paint(int x, int y) {
    bitmap.Fill(kBackdrop);
    Canvas canvas(bitmap);
    t.window.Paint(canvas, bitmap.Bounds());
    return bitmap.Pixel(x, y);
  }

  bool loaded = false;
};

TEST(Painting, BackgroundColourRules) {
  struct Case {
    const char* color;
    uint32_t expected;
  };
  const Case cases[] = {
      {"#FFFFFF", kBackdrop},    // six digits: opacity 00
      {"#00000000", kBackdrop},
      {"#00FFFFFF", kBackdrop},
      {"#FF0000FF", kBlue},
      {"#80FF0000", BlendPixel(kBackdrop, Premultiply(0x80FF0000))},
  };
  for (const Case& c : cases) {
    PaintFixture f(std::string("<Control bkcolor=\"") + c.color + "\"/>");
    ASSERT_TRUE(f.loaded);
    EXPECT_EQ(f.Paint(50, 20), c.expected) << c.color;
  }
  PaintFixture edit("<Edit/>");
  EXPECT_EQ(edit.Paint(50, 20), 0xFFFFFFFFu);
}

TEST(Painting, StepsOfAControlAndChildrenInDocumentOrder) {
  // Background colour, background image, state image and text, each drawn
  // over the one before; then the children, the later over the earlier.
  PaintFixture f(R"(<Container bkcolor="#FFFF0000">
      <Button bkcolor="#FF00FF00" bkimage="file='blue.png' dest='0,0,60,40'"
              normalimage="file='grey.png' dest='0,0,30,40'" text="W" align="left" valign="top"
              textcolor="#FFFFFF00" padding="0,0,20,0"/>
      <Control bkcolor="#FF00FFFF" padding="90,0,0,0"/>
    </Container>)");
  ASSERT_TRUE(f.loaded);
  EXPECT_EQ(f.Paint(3, 3), kYellow);  // the text's first glyph box
  EXPECT_EQ(f.Paint(20, 20), kGrey);
  EXPECT_EQ(f.Paint(45, 20), kBlue);
  EXPECT_EQ(f.Paint(70, 20), kGreen);
  EXPECT_EQ(f.Paint(85, 20), kRed);
  EXPECT_EQ(f.Paint(95, 20), kCyan);
}

TEST(Painting, RoundedClip) {
  PaintFixture f(R"(<Control bkcolor="#FF0000FF" borderround="12,12"/>)");
  ASSERT_TRUE(f.loaded);
  EXPECT_EQ(f.Paint(0, 0), kBackdrop);
  EXPECT_EQ(f.Paint(99, 39), kBackdrop);
  EXPECT_EQ(f.Paint(50, 20), kBlue);
  EXPECT_EQ(f.Paint(50, 0), kBlue);
}

TEST(Painting, ButtonStateImagesFallBackToNormal) {
  const char* kButton =
      R"(<Button name="b" normalimage="red.png" hotimage="green.png" pushedimage="blue.png"
                 focusedimage="yellow.png" %s/>)";
  char body[512];
  snprintf(body, sizeof body, kButton, "");
  PaintFixture f(body);
  ASSERT_TRUE(f.loaded);
  EXPECT_EQ(f.Paint(50, 20), kRed);
  f.t.window.OnMouseMove(50, 20);
  EXPECT_EQ(f.Paint(50, 20), kGreen);
  f.t.window.OnButtonDown(50, 20);
  EXPECT_EQ(f.Paint(50, 20), kBlue);
  f.t.window.OnButtonUp(50, 20);
  f.t.window.OnMouseLeaveWindow();
  EXPECT_EQ(f.Paint(50, 20), kYellow);  // focused by the click
  f.t.Find(L"b")->SetEnabled(false);    // no disabled image: the normal one
  EXPECT_EQ(f.Paint(50, 20), kRed);

  // A state image that cannot be drawn falls back too.
  snprintf(body, sizeof body, kButton, R"(disabledimage="missing.png")");
  PaintFixture g(body);
  g.t.Find(L"b")->SetEnabled(false);
  EXPECT_EQ(g.Paint(50, 20), kRed);
  snprintf(body, sizeof body, kButton, R"(disabledimage="cyan.png")");
  PaintFixture h(body);
  h.t.Find(L"b")->SetEnabled(false);
  EXPECT_EQ(h.Paint(50, 20), kCyan);
}

TEST(Painting, CheckBoxNeverShowsPressedAndPrefersSelectedImage) {
  PaintFixture f(R"(<CheckBox name="c" normalimage="red.png" hotimage="green.png"
                      pushedimage="blue.png" selectedimage="grey.png"/>)");
  ASSERT_TRUE(f.loaded);
  auto* box = f.t.Find<CCheckBoxUI>(L"c");
  EXPECT_EQ(f.Paint(50, 20), kRed);
  f.t.window.OnMouseMove(50, 20);
  f.t.window.OnButtonDown(50, 20);
  EXPECT_EQ(f.Paint(50, 20), kGreen);
  f.t.window.OnButtonUp(50, 20);
  EXPECT_TRUE(box->IsSelected());
  EXPECT_EQ(f.Paint(50, 20), kGrey);
  box->SetSelectedImage(L"missing.png");
  EXPECT_EQ(f.Paint(50, 20), kGreen);
}

TEST(Painting, ProgressForeImageFollowsTheValue) {
  PaintFixture f(R"(<Progress name="p" height="10" bkimage="grey.png" foreimage="blue.png"/>)",
                 {200, 10});
  ASSERT_TRUE(f.loaded);
  auto* bar = f.t.Find<CProgressUI>(L"p");
  struct Case {
    int value;
    int filled;  // columns of fore image
  };
  const Case cases[] = {{0, 0}, {1, 2}, {50, 100}, {99, 198}, {100, 200}, {150, 200}, {-5, 0}};
  for (const Case& c : cases) {
    bar->SetValue(c.value);
    f.Paint(0, 0);
    for (int x = 0; x < 200; ++x) {
      const uint32_t expected = x < c.filled ? kBlue : kGrey;
      ASSERT_EQ(f.bitmap.Pixel(x, 5), expected) << "value " << c.value << " x " << x;
      ASSERT_EQ(f.bitmap.Pixel(x, 0), expected) << "value " << c.value << " x " << x;
    }
  }
}

TEST(Painting, TextColourRules) {
  PaintFixture f(R"(<VerticalLayout>
      <Label name="plain" text="x" height="20"/>
      <Label name="grey" text="x" height="20" textcolor="#FF333333"/>
      <Button name="b" text="x" height="20" align="left" textcolor="#FF333333"
              hottextcolor="#FF5FAFFD" pushedtextcolor="#FF2C7CCA"/>
      <CheckBox name="c" text="x" height="20" align="left" textcolor="#FF333333"
                selectedtextcolor="#FF00FF00" pushedtextcolor="#FF0000FF"/>
    </VerticalLayout>)",
                 {100, 80});
  ASSERT_TRUE(f.loaded);
  // Left-aligned, vertically centred: the first glyph box covers (0..5, 3..16)
  // of each 20-pixel row.
  EXPECT_EQ(f.Paint(2, 10), 0xFF000000u);
  EXPECT_EQ(f.Paint(2, 1), kBackdrop);
  EXPECT_EQ(f.Paint(2, 30), 0xFF333333u);
  EXPECT_EQ(f.Paint(2, 50), 0xFF333333u);
  f.t.window.OnMouseMove(50, 50);
  EXPECT_EQ(f.Paint(2, 50), 0xFF5FAFFDu);
  f.t.window.OnButtonDown(50, 50);
  EXPECT_EQ(f.Paint(2, 50), 0xFF2C7CCAu);
  f.t.window.OnButtonUp(0, 0);  // released elsewhere: no click
  f.t.Find(L"b")->SetEnabled(false);
  EXPECT_EQ(f.Paint(2, 50), kDefaultDisabledTextColor);

  EXPECT_EQ(f.Paint(2, 70), 0xFF333333u);
  f.t.window.OnMouseMove(50, 70);
  f.t.window.OnButtonDown(50, 70);
  EXPECT_EQ(f.Paint(2, 70), 0xFF333333u);  // a check box shows no pressed colour
  f.t.window.OnButtonUp(50, 70);
  EXPECT_EQ(f.Paint(2, 70), 0xFF00FF00u);
}

TEST(Painting, OnlyTheRepaintedAreaChanges) {
  PaintFixture f(R"(<Control bkcolor="#FF0000FF"/>)");
  ASSERT_TRUE(f.loaded);
  f.bitmap.Fill(kBackdrop);
  Canvas canvas(f.bitmap);
  f.t.window.Paint(canvas, Rect(10, 10, 20, 20));
  EXPECT_EQ(f.bitmap.Pixel(15, 15), kBlue);
  EXPECT_EQ(f.bitmap.Pixel(5, 15), kBackdrop);
  EXPECT_EQ(f.bitmap.Pixel(25, 15), kBackdrop);
}

}  // namespace
}  // namespace DuiLib
