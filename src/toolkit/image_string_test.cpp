#include "toolkit/image_string.h"

#include <gtest/gtest.h>

#include <map>

#include "app/utils_text.h"
#include "toolkit/image_test_png.h"

namespace DuiLib {
namespace {

using testing::EncodePng;

TEST(ImageString, ParsesKeysAndValues) {
  struct Case {
    const wchar_t* text;
    const wchar_t* file;
    Rect dest, source, corner;
    uint32_t mask;
    int fade;
    bool hole, xTiled, yTiled;
  };
  const Case cases[] = {
      {L"res\\mainWnd\\installDirEdit.png", L"res\\mainWnd\\installDirEdit.png", {}, {}, {}, 0, 255,
       false, false, false},
      {L"file='res\\a.png' fade='255'", L"res\\a.png", {}, {}, {}, 0, 255, false, false, false},
      {L"file='a.png' dest='1,2,3,4' source='5,6,7,8' corner='8,8,8,8'", L"a.png", {1, 2, 3, 4},
       {5, 6, 7, 8}, {8, 8, 8, 8}, 0, 255, false, false, false},
      {L"  file = 'a.png'  scale9='1,2,3,4' mask='#FF0000' fade='128'", L"a.png", {}, {},
       {1, 2, 3, 4}, 0x00FF0000u, 128, false, false, false},
      {L"file='a.png' mask='FF00FF00' hole='true' xtiled='true' ytiled='true'", L"a.png", {}, {},
       {}, 0xFF00FF00u, 255, true, true, true},
      // Flags are true only for exactly "true".
      {L"file='a.png' hole='True' xtiled='1' ytiled='yes'", L"a.png", {}, {}, {}, 0, 255, false,
       false, false},
      // Each number is followed by exactly one separator.
      {L"file='a.png' dest='10,,20,30'", L"a.png", {10, 0, 20, 30}, {}, {}, 0, 255, false, false,
       false},
      {L"file='a.png' dest='-2, 3;4 5'", L"a.png", {-2, 3, 4, 5}, {}, {}, 0, 255, false, false,
       false},
      // Parsing stops when no space follows a closing quote; what was read stays.
      {L"file='a.png'fade='10'", L"a.png", {}, {}, {}, 0, 255, false, false, false},
      // ... and at a value without quotes or without its closing quote.
      {L"file='a.png' fade=10", L"a.png", {}, {}, {}, 0, 255, false, false, false},
      {L"file='a.png' fade='10", L"a.png", {}, {}, {}, 0, 255, false, false, false},
      // Unknown keys and empty values are ignored; fade is kept in 0..255.
      {L"file='a.png' colour='red' fade='' dest=''", L"a.png", {}, {}, {}, 0, 255, false, false,
       false},
      {L"file='a.png' fade='999'", L"a.png", {}, {}, {}, 0, 255, false, false, false},
      {L"file='a.png' fade='-5'", L"a.png", {}, {}, {}, 0, 0, false, false, false},
      // Without "file" the whole string is the name.
      {L"dest='0,0,1,1'", L"dest='0,0,1,1'", {0, 0, 1, 1}, {}, {}, 0, 255, false, false, false},
      {L"file='' fade='1'", L"file='' fade='1'", {}, {}, {}, 0, 1, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utils::ToNarrow(c.text, Utils::kCodePageUtf8));
    const ImageAttributes a = ParseImageString(c.text);
    EXPECT_EQ(a.file, c.file);
    EXPECT_EQ(a.dest, c.dest);
    EXPECT_EQ(a.source, c.source);
    EXPECT_EQ(a.corner, c.corner);
    EXPECT_EQ(a.mask, c.mask);
    EXPECT_EQ(a.fade, c.fade);
    EXPECT_EQ(a.hole, c.hole);
    EXPECT_EQ(a.xTiled, c.xTiled);
    EXPECT_EQ(a.yTiled, c.yTiled);
  }
}

// Draws image strings from a set of in-memory PNG files, counting reads.
class ImageDraw : public ::testing::Test {
 protected:
  ImageDraw()
      : cache_([this](const std::wstring& name, std::vector<uint8_t>& bytes) {
          ++reads_;
          auto found = files_.find(name);
          if (found == files_.end()) return false;
          bytes = found->second;
          return true;
        }) {}

  void AddImage(const std::wstring& name, int w, int h, const std::vector<uint32_t>& argb) {
    files_[name] = EncodePng(w, h, argb);
  }
  // A canvas of `w` × `h` filled with `background`.
  void NewCanvas(int w, int h, uint32_t background = 0xFFFFFFFFu) {
    bitmap_.Reset(w, h);
    bitmap_.Fill(background);
  }
  bool Draw(const std::wstring& text, const Rect& control, const Rect& paint) {
    ImageDrawRecord record(text);
    Canvas canvas(bitmap_);
    return DrawImage(canvas, control, paint, record, cache_);
  }
  bool Draw(const std::wstring& text, const Rect& control) {
    return Draw(text, control, bitmap_.Bounds());
  }

  std::map<std::wstring, std::vector<uint8_t>> files_;
  int reads_ = 0;
  ImageCache cache_;
  Bitmap bitmap_;
};

// A w × h image whose every pixel is distinct: opaque, red = x, green = y.
std::vector<uint32_t> Coordinates(int w, int h) {
  std::vector<uint32_t> p;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) p.push_back(MakeArgb(255, x, y, 0x40));
  }
  return p;
}
int SourceX(uint32_t pixel) { return static_cast<int>((pixel >> 16) & 0xFF); }
int SourceY(uint32_t pixel) { return static_cast<int>((pixel >> 8) & 0xFF); }

TEST_F(ImageDraw, NinePartBarKeepsCornersSharp) {
  AddImage(L"bar.png", 20, 10, Coordinates(20, 10));
  NewCanvas(600, 20);
  const Rect bar{5, 5, 588, 15};  // 583 × 10
  ASSERT_TRUE(Draw(L"file='bar.png' corner='8,8,8,8'", bar));
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 583; ++x) {
      const uint32_t p = bitmap_.Pixel(bar.left + x, bar.top + y);
      ASSERT_EQ(SourceY(p), y) << x << "," << y;
      if (x < 8) {
        ASSERT_EQ(SourceX(p), x) << x << "," << y;  // left corner 1:1
      } else if (x >= 575) {
        ASSERT_EQ(SourceX(p), 12 + (x - 575)) << x << "," << y;  // right corner 1:1
      } else {
        ASSERT_GE(SourceX(p), 8);
        ASSERT_LT(SourceX(p), 12);  // the middle stretched from the centre columns
      }
    }
  }
  EXPECT_EQ(bitmap_.Pixel(4, 10), 0xFFFFFFFFu);
  EXPECT_EQ(bitmap_.Pixel(588, 10), 0xFFFFFFFFu);
}

TEST_F(ImageDraw, NinePartsStretchEdgesAndFillOrTileOrSkipTheCentre) {
  AddImage(L"box.png", 12, 12, Coordinates(12, 12));
  const Rect box{0, 0, 30, 24};
  NewCanvas(30, 24);
  ASSERT_TRUE(Draw(L"file='box.png' corner='4,4,4,4'", box));
  EXPECT_EQ(bitmap_.Pixel(0, 0), MakeArgb(255, 0, 0, 0x40));
  EXPECT_EQ(bitmap_.Pixel(29, 23), MakeArgb(255, 11, 11, 0x40));
  EXPECT_EQ(bitmap_.Pixel(26, 1), MakeArgb(255, 8, 1, 0x40));
  // Left edge: columns unscaled, rows stretched from source rows 4..7.
  EXPECT_EQ(SourceX(bitmap_.Pixel(2, 12)), 2);
  EXPECT_GE(SourceY(bitmap_.Pixel(2, 12)), 4);
  EXPECT_LT(SourceY(bitmap_.Pixel(2, 12)), 8);

  // x-tiled: the 4-pixel centre repeats across 22 columns, the last one cut.
  NewCanvas(30, 24);
  ASSERT_TRUE(Draw(L"file='box.png' corner='4,4,4,4' xtiled='true'", box));
  for (int x = 4; x < 26; ++x) EXPECT_EQ(SourceX(bitmap_.Pixel(x, 10)), 4 + (x - 4) % 4) << x;

  // Both tiled: rows repeat too.
  NewCanvas(30, 24);
  ASSERT_TRUE(Draw(L"file='box.png' corner='4,4,4,4' xtiled='true' ytiled='true'", box));
  for (int y = 4; y < 20; ++y) EXPECT_EQ(SourceY(bitmap_.Pixel(10, y)), 4 + (y - 4) % 4) << y;

  // hole: the centre stays as it was, the frame is drawn.
  NewCanvas(30, 24);
  ASSERT_TRUE(Draw(L"file='box.png' corner='4,4,4,4' hole='true'", box));
  EXPECT_EQ(bitmap_.Pixel(15, 12), 0xFFFFFFFFu);
  EXPECT_EQ(bitmap_.Pixel(15, 1), MakeArgb(255, SourceX(bitmap_.Pixel(15, 1)), 1, 0x40));
}

TEST_F(ImageDraw, PlainNameAndDefaultFadeDrawTheSame) {
  std::vector<uint32_t> pixels = Coordinates(5, 5);
  pixels[7] = 0x80FF0000u;
  pixels[12] = 0x00000000u;
  AddImage(L"res\\mainWnd\\installBtn1.png", 5, 5, pixels);
  NewCanvas(20, 20, 0xFF336699u);
  ASSERT_TRUE(Draw(L"file='res\\mainWnd\\installBtn1.png' fade='255'", {2, 2, 17, 13}));
  const Bitmap keyed = bitmap_;
  NewCanvas(20, 20, 0xFF336699u);
  ASSERT_TRUE(Draw(L"res\\mainWnd\\installBtn1.png", {2, 2, 17, 13}));
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) ASSERT_EQ(bitmap_.Pixel(x, y), keyed.Pixel(x, y)) << x << "," << y;
  }
  EXPECT_NE(bitmap_.Pixel(5, 5), 0xFF336699u);
}

TEST_F(ImageDraw, SixDigitMaskHasNoEffect) {
  AddImage(L"red.png", 4, 4, std::vector<uint32_t>(16, 0xFFFF0000u));
  NewCanvas(4, 4, 0xFF0000FFu);
  ASSERT_TRUE(Draw(L"file='red.png' mask='#FF0000'", {0, 0, 4, 4}));
  EXPECT_EQ(bitmap_.Pixel(1, 1), 0xFFFF0000u);
  // The full value with opacity FF does cut the pixels out.
  NewCanvas(4, 4, 0xFF0000FFu);
  ASSERT_TRUE(Draw(L"file='red.png' mask='#FFFF0000'", {0, 0, 4, 4}));
  EXPECT_EQ(bitmap_.Pixel(1, 1), 0xFF0000FFu);
}

TEST_F(ImageDraw, FadeBlendsAndOpaqueImagesAreCopied) {
  AddImage(L"black.png", 2, 2, std::vector<uint32_t>(4, 0xFF000000u));
  AddImage(L"glass.png", 2, 2, std::vector<uint32_t>(4, 0x80FFFFFFu));
  NewCanvas(2, 2, 0xFFFFFFFFu);
  ASSERT_TRUE(Draw(L"file='black.png' fade='128'", {0, 0, 2, 2}));
  EXPECT_EQ(bitmap_.Pixel(0, 0), 0xFF7F7F7Fu);

  // An opaque image replaces even a transparent canvas; a translucent one
  // composites.
  NewCanvas(2, 2, 0);
  ASSERT_TRUE(Draw(L"black.png", {0, 0, 2, 2}));
  EXPECT_EQ(bitmap_.Pixel(1, 1), 0xFF000000u);
  NewCanvas(2, 2, 0xFF000000u);
  ASSERT_TRUE(Draw(L"glass.png", {0, 0, 2, 2}));
  EXPECT_EQ(bitmap_.Pixel(1, 1), 0xFF808080u);
}

TEST_F(ImageDraw, DestAndSourceRectangles) {
  AddImage(L"c.png", 4, 4, Coordinates(4, 4));
  NewCanvas(40, 40, 0);
  const Rect control{10, 10, 30, 30};
  // dest is relative to the control; one to one when the sizes match.
  ASSERT_TRUE(Draw(L"file='c.png' dest='2,3,6,7'", control));
  EXPECT_EQ(bitmap_.Pixel(12, 13), MakeArgb(255, 0, 0, 0x40));
  EXPECT_EQ(bitmap_.Pixel(15, 16), MakeArgb(255, 3, 3, 0x40));
  EXPECT_EQ(bitmap_.Pixel(16, 16), 0u);
  EXPECT_EQ(bitmap_.Pixel(11, 13), 0u);

  // dest's right and bottom stop at the control; source stops at the image.
  NewCanvas(40, 40, 0);
  ASSERT_TRUE(Draw(L"file='c.png' dest='18,18,100,100' source='2,2,50,50'", control));
  EXPECT_EQ(bitmap_.Pixel(28, 28), MakeArgb(255, 2, 2, 0x40));
  EXPECT_EQ(bitmap_.Pixel(29, 29), MakeArgb(255, 3, 3, 0x40));
  EXPECT_EQ(bitmap_.Pixel(30, 30), 0u);

  // Outside the area being repainted nothing is touched, yet the image counts
  // as drawable.
  NewCanvas(40, 40, 0);
  EXPECT_TRUE(Draw(L"c.png", control, {0, 0, 5, 5}));
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) ASSERT_EQ(bitmap_.Pixel(x, y), 0u);
  }
  // Only the repaint area of the control changes.
  EXPECT_TRUE(Draw(L"c.png", control, {0, 0, 20, 20}));
  EXPECT_NE(bitmap_.Pixel(19, 19), 0u);
  EXPECT_EQ(bitmap_.Pixel(20, 20), 0u);
}

TEST_F(ImageDraw, FailedLoadIsRememberedAndEmptyDrawsNothing) {
  NewCanvas(4, 4);
  ImageDrawRecord record(L"file='missing.png'");
  Canvas canvas(bitmap_);
  EXPECT_FALSE(DrawImage(canvas, {0, 0, 4, 4}, bitmap_.Bounds(), record, cache_));
  EXPECT_FALSE(DrawImage(canvas, {0, 0, 4, 4}, bitmap_.Bounds(), record, cache_));
  EXPECT_EQ(reads_, 1);
  // A new string is a new attempt.
  AddImage(L"here.png", 1, 1, {0xFF000000u});
  record.SetString(L"here.png");
  EXPECT_TRUE(DrawImage(canvas, {0, 0, 4, 4}, bitmap_.Bounds(), record, cache_));
  EXPECT_EQ(bitmap_.Pixel(3, 3), 0xFF000000u);

  ImageDrawRecord empty;
  EXPECT_FALSE(DrawImage(canvas, {0, 0, 4, 4}, bitmap_.Bounds(), empty, cache_));
  // Keys without "file" name no loadable file.
  EXPECT_FALSE(Draw(L"dest='0,0,1,1'", {0, 0, 4, 4}));
  // Not a PNG.
  files_[L"bad.png"] = {1, 2, 3};
  EXPECT_FALSE(Draw(L"bad.png", {0, 0, 4, 4}));
}

TEST_F(ImageDraw, RoundClipHoldsForImages) {
  AddImage(L"fill.png", 1, 1, {0xFF00FF00u});
  NewCanvas(30, 30, 0);
  Canvas canvas(bitmap_);
  ImageDrawRecord record(L"fill.png");
  {
    ClipScope round(canvas, {0, 0, 30, 30}, 10, 10);
    ASSERT_TRUE(DrawImage(canvas, {0, 0, 30, 30}, bitmap_.Bounds(), record, cache_));
  }
  EXPECT_EQ(bitmap_.Pixel(0, 0), 0u);
  EXPECT_EQ(bitmap_.Pixel(29, 29), 0u);
  EXPECT_EQ(bitmap_.Pixel(15, 0), 0xFF00FF00u);
  EXPECT_EQ(bitmap_.Pixel(15, 15), 0xFF00FF00u);
}

}  // namespace
}  // namespace DuiLib
