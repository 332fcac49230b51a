// Pictures of the four pages of the main window and of the message box,
// painted by the toolkit with the fixed-metrics text service (characters are
// drawn as boxes of their cells), written as PNG files into the build's
// artifacts folder so the look and the layout can be seen without a window.
// A few pixels of each picture are checked where the skin must show its
// images.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "skin_test_support.h"
#include "toolkit/image_test_png.h"

namespace DuiLib::skintest {
namespace {

struct Rgb {
  int r, g, b;
};

Rgb At(const Bitmap& bitmap, int x, int y) {
  const uint32_t p = bitmap.Pixel(x, y);
  return {static_cast<int>((p >> 16) & 255), static_cast<int>((p >> 8) & 255),
          static_cast<int>(p & 255)};
}

// The skin's blues: strong blue with little red.
bool IsBlue(Rgb c) { return c.b > 200 && c.r < 130 && c.g > 110 && c.g < 200; }
bool IsWhite(Rgb c) { return c.r > 245 && c.g > 245 && c.b > 245; }
// The pale track of the progress bar.
bool IsPaleBlue(Rgb c) { return c.b > 245 && c.r > 200 && c.r < 240; }
// The grey glyphs of the title buttons.
bool IsGrey(Rgb c) { return c.r < 180 && std::abs(c.r - c.g) < 12 && std::abs(c.g - c.b) < 12; }

Bitmap Paint(CWindowContext& window) {
  const Size size = window.GetClientSize();
  Bitmap bitmap(size.cx, size.cy);
  Canvas canvas(bitmap);
  window.Paint(canvas, bitmap.Bounds());
  return bitmap;
}

void Save(const Bitmap& bitmap, const std::string& name) {
  std::vector<uint32_t> argb;
  argb.reserve(static_cast<size_t>(bitmap.Width()) * bitmap.Height());
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      const uint32_t p = bitmap.Pixel(x, y);
      const uint32_t a = p >> 24;
      auto channel = [&](int shift) -> uint32_t {
        return a == 0 ? 0 : std::min<uint32_t>(255, ((p >> shift) & 255) * 255 / a);
      };
      argb.push_back((a << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0));
    }
  }
  const std::vector<uint8_t> png = testing::EncodePng(bitmap.Width(), bitmap.Height(), argb);
  const std::string path = std::string(QV_ARTIFACTS_DIR) + "/" + name;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  EXPECT_TRUE(out.good()) << path;
}

// Shows a page of the main window with the background, title page and title
// buttons that the window code gives it.
void ShowPage(SkinWindow& w, int page) {
  static const wchar_t* const kBackgrounds[] = {L"res\\mainWnd\\bk01.png", L"res\\mainWnd\\bk02.png",
                                                L"res\\mainWnd\\bk03.png", L"res\\mainWnd\\bk04.png"};
  static const int kTitlePages[] = {1, 1, 0, 2};
  w.SelectPage(L"mainTabLt", page);
  w.SelectPage(L"titleTabLt", kTitlePages[page]);
  w.Find(L"winCtn")->SetBkImage(kBackgrounds[page]);
  w.Find(L"titleGrpCtn")->SetVisible(page != 2);
  w.Find(L"backBtn")->SetVisible(page == 1);
  w.window.LayoutIfNeeded();
}

class SkinRenderTest : public SkinTest {};

TEST_F(SkinRenderTest, MainWindowPages) {
  SkinWindow w;
  ASSERT_TRUE(w.Load(L"MainWnd.xml")) << Narrow(w.error.message);
  w.Find(L"installDirEdit")->SetText(L"C:\\Program Files\\Quorvane");
  w.Find<CProgressUI>(L"installPrg")->SetValue(40);
  w.Find(L"progressLb")->SetText(L"正在安装中:40%，请稍候...");

  ShowPage(w, 0);
  Bitmap page0 = Paint(w.window);
  Save(page0, "skin_main_page0.png");
  EXPECT_TRUE(IsBlue(At(page0, 258, 295)));   // left end of "立即安装"
  EXPECT_TRUE(IsBlue(At(page0, 312, 130)));   // the logo of bk01
  EXPECT_TRUE(IsWhite(At(page0, 350, 250)));  // page between name and button
  EXPECT_TRUE(IsBlue(At(page0, 30, 384)));    // ticked agreement box

  ShowPage(w, 1);
  Bitmap page1 = Paint(w.window);
  Save(page1, "skin_main_page1.png");
  EXPECT_TRUE(IsBlue(At(page1, 131, 104)));   // left border of the path box
  EXPECT_TRUE(IsWhite(At(page1, 300, 90)));   // inside the path box, above the text
  EXPECT_TRUE(IsBlue(At(page1, 258, 290)));   // "立即安装"
  EXPECT_TRUE(IsBlue(At(page1, 30, 387)));    // ticked shortcut box

  ShowPage(w, 2);
  Bitmap page2 = Paint(w.window);
  Save(page2, "skin_main_page2.png");
  EXPECT_TRUE(IsBlue(At(page2, 150, 342)));      // filled 40 %: up to x 274
  EXPECT_TRUE(IsPaleBlue(At(page2, 500, 342)));  // the empty track
  EXPECT_FALSE(IsGrey(At(page2, 668, 24)));      // no close button during installation

  ShowPage(w, 3);
  Bitmap page3 = Paint(w.window);
  Save(page3, "skin_main_page3.png");
  EXPECT_TRUE(IsBlue(At(page3, 58, 40)));     // small logo beside the title
  EXPECT_TRUE(IsGrey(At(page3, 668, 24)));    // the close button's cross
  EXPECT_TRUE(IsBlue(At(page3, 258, 241)));   // "立即体验"
}

TEST_F(SkinRenderTest, MessageBox) {
  SkinWindow w;
  ASSERT_TRUE(w.Load(L"MessageBox1Wnd.xml")) << Narrow(w.error.message);
  w.Find(L"captionLbl")->SetText(L"温馨提示");
  w.Find(L"textLbl")->SetText(L"当前磁盘空间不足，请修改安装路径");
  w.window.LayoutIfNeeded();
  Bitmap box = Paint(w.window);
  Save(box, "skin_message_box.png");
  EXPECT_TRUE(IsBlue(At(box, 36, 61)));     // information icon
  EXPECT_TRUE(IsBlue(At(box, 329, 172)));   // "取消"
  EXPECT_TRUE(IsWhite(At(box, 243, 172)));  // "确定"
}

}  // namespace
}  // namespace DuiLib::skintest
