#include "toolkit/render.h"

#include <gtest/gtest.h>

#include <random>

namespace DuiLib {
namespace {

// Source-over on premultiplied pixels, channel by channel with a division.
uint32_t ReferenceBlend(uint32_t dst, uint32_t src) {
  const uint32_t inv = 255 - (src >> 24);
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t d = (dst >> shift) & 0xFF, s = (src >> shift) & 0xFF;
    const uint32_t v = s + (d * inv + 127) / 255;
    out |= v << shift;
  }
  return out;
}

uint32_t RandomPremultiplied(std::mt19937& rng) {
  const uint32_t a = rng() & 0xFF;
  auto channel = [&] { return a == 0 ? 0u : rng() % (a + 1); };
  return MakeArgb(a, channel(), channel(), channel());
}

TEST(Render, BlendPixelMatchesDivisionFormula) {
  std::mt19937 rng(7);
  for (int i = 0; i < 200000; ++i) {
    const uint32_t dst = RandomPremultiplied(rng), src = RandomPremultiplied(rng);
    ASSERT_EQ(BlendPixel(dst, src), ReferenceBlend(dst, src)) << std::hex << dst << " " << src;
  }
  for (uint32_t x = 0; x < 256; ++x) {
    for (uint32_t a = 0; a < 256; ++a) ASSERT_EQ(MulDiv255(x, a), (x * a + 127) / 255);
  }
}

TEST(Render, RowBlendingMatchesThePixelRule) {
  // Rows of odd lengths, so both the four-pixel steps and the tail run.
  std::mt19937 rng(11);
  for (int width : {1, 3, 4, 37}) {
    Bitmap source(width, 3), bitmap(width, 3);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < width; ++x) {
        source.SetPixel(x, y, RandomPremultiplied(rng));
        bitmap.SetPixel(x, y, RandomPremultiplied(rng));
      }
    }
    const Bitmap before = bitmap;
    Canvas canvas(bitmap);
    DrawBitmapPart(canvas, source, source.Bounds(), bitmap.Bounds(), bitmap.Bounds(),
                   BlendMode::kBlend);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < width; ++x) {
        ASSERT_EQ(bitmap.Pixel(x, y), ReferenceBlend(before.Pixel(x, y), source.Pixel(x, y)));
      }
    }
  }
}

TEST(Render, PremultiplyScalesChannelsByOpacity) {
  EXPECT_EQ(Premultiply(0xFF123456u), 0xFF123456u);
  EXPECT_EQ(Premultiply(0x80FF0000u), 0x80800000u);
  EXPECT_EQ(Premultiply(0x00FFFFFFu), 0u);
}

TEST(Render, FillColorFollowsOpacityAndStaysInPaintArea) {
  Bitmap bitmap(10, 10);
  bitmap.Fill(0xFFFFFFFFu);
  Canvas canvas(bitmap);
  const Rect all{0, 0, 10, 10};

  FillColor(canvas, all, all, 0x00FF0000u);  // opacity 00: nothing
  EXPECT_EQ(bitmap.Pixel(5, 5), 0xFFFFFFFFu);

  FillColor(canvas, {0, 0, 10, 10}, {2, 2, 4, 4}, 0xFF0000FFu);
  EXPECT_EQ(bitmap.Pixel(2, 2), 0xFF0000FFu);
  EXPECT_EQ(bitmap.Pixel(3, 3), 0xFF0000FFu);
  EXPECT_EQ(bitmap.Pixel(4, 4), 0xFFFFFFFFu);
  EXPECT_EQ(bitmap.Pixel(1, 2), 0xFFFFFFFFu);

  FillColor(canvas, {6, 6, 8, 8}, all, 0x80000000u);  // half black over white
  EXPECT_EQ(bitmap.Pixel(6, 6), 0xFF7F7F7Fu);
}

TEST(Render, RoundClipCutsCornersAndNestsWithRectangles) {
  Bitmap bitmap(40, 20);
  Canvas canvas(bitmap);
  {
    ClipScope round(canvas, {0, 0, 40, 20}, 12, 12);
    FillColor(canvas, bitmap.Bounds(), bitmap.Bounds(), 0xFF00FF00u);
  }
  // Corners stay empty, the middle of every edge is painted.
  for (auto [x, y] : {std::pair{0, 0}, {39, 0}, {0, 19}, {39, 19}, {1, 1}}) {
    EXPECT_EQ(bitmap.Pixel(x, y), 0u) << x << "," << y;
  }
  for (auto [x, y] : {std::pair{20, 0}, {20, 19}, {0, 10}, {39, 10}, {6, 6}}) {
    EXPECT_EQ(bitmap.Pixel(x, y), 0xFF00FF00u) << x << "," << y;
  }
  // Each row's painted run is symmetric.
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 40; ++x) ASSERT_EQ(bitmap.Pixel(x, y), bitmap.Pixel(39 - x, y));
  }

  bitmap.Fill(0);
  {
    ClipScope outer(canvas, {0, 0, 40, 20}, 12, 12);
    ClipScope inner(canvas, {0, 0, 20, 20});
    FillColor(canvas, bitmap.Bounds(), bitmap.Bounds(), 0xFF0000FFu);
  }
  EXPECT_EQ(bitmap.Pixel(0, 0), 0u);            // the outer rounding holds
  EXPECT_EQ(bitmap.Pixel(10, 10), 0xFF0000FFu);
  EXPECT_EQ(bitmap.Pixel(25, 10), 0u);          // beyond the inner rectangle
  // After the scopes the whole bitmap is open again.
  FillColor(canvas, bitmap.Bounds(), bitmap.Bounds(), 0xFFFFFFFFu);
  EXPECT_EQ(bitmap.Pixel(0, 0), 0xFFFFFFFFu);
}

TEST(Render, StretchTakesNearestSourcePixel) {
  Bitmap source(2, 1);
  source.SetPixel(0, 0, 0xFF0000FFu);
  source.SetPixel(1, 0, 0xFFFF0000u);
  Bitmap bitmap(6, 2);
  Canvas canvas(bitmap);
  DrawBitmapPart(canvas, source, source.Bounds(), {0, 0, 6, 2}, bitmap.Bounds(), BlendMode::kCopy);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 6; ++x) EXPECT_EQ(bitmap.Pixel(x, y), x < 3 ? 0xFF0000FFu : 0xFFFF0000u);
  }
  // Shrinking picks every other pixel.
  Bitmap wide(8, 1);
  for (int x = 0; x < 8; ++x) wide.SetPixel(x, 0, 0xFF000000u | static_cast<uint32_t>(x));
  Bitmap narrow(4, 1);
  Canvas small(narrow);
  DrawBitmapPart(small, wide, wide.Bounds(), narrow.Bounds(), narrow.Bounds(), BlendMode::kCopy);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(narrow.Pixel(x, 0), 0xFF000000u | (2u * x + 1));
}

TEST(Render, CopyReplacesAndBlendComposites) {
  Bitmap source(1, 1);
  source.SetPixel(0, 0, 0x80400000u);  // half-transparent red, premultiplied
  Bitmap bitmap(3, 1);
  bitmap.Fill(0xFF0000FFu);
  Canvas canvas(bitmap);
  DrawBitmapPart(canvas, source, source.Bounds(), {0, 0, 1, 1}, bitmap.Bounds(), BlendMode::kCopy);
  DrawBitmapPart(canvas, source, source.Bounds(), {1, 0, 2, 1}, bitmap.Bounds(), BlendMode::kBlend);
  DrawBitmapPart(canvas, source, source.Bounds(), {2, 0, 3, 1}, bitmap.Bounds(), BlendMode::kCopy, 0);
  EXPECT_EQ(bitmap.Pixel(0, 0), 0x80400000u);
  EXPECT_EQ(bitmap.Pixel(1, 0), BlendPixel(0xFF0000FFu, 0x80400000u));
  EXPECT_EQ(bitmap.Pixel(2, 0), 0xFF0000FFu);  // fade 0 draws nothing
}

TEST(Render, TilingRepeatsAtSourceSizeAndCutsTheLast) {
  Bitmap source(3, 1);
  for (int x = 0; x < 3; ++x) source.SetPixel(x, 0, 0xFF000000u | static_cast<uint32_t>(x + 1));
  Bitmap bitmap(8, 2);
  Canvas canvas(bitmap);
  TileBitmapPart(canvas, source, source.Bounds(), {0, 0, 8, 2}, bitmap.Bounds(), BlendMode::kCopy,
                 255, true, false);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(bitmap.Pixel(x, y) & 0xFF, static_cast<uint32_t>(x % 3 + 1));
  }
  // Only the repaint area is touched even with a one-pixel tile.
  Bitmap one(1, 1);
  one.SetPixel(0, 0, 0xFFABCDEFu);
  Bitmap big(100, 100);
  Canvas bigCanvas(big);
  TileBitmapPart(bigCanvas, one, one.Bounds(), {0, 0, 100, 100}, {50, 50, 52, 52},
                 BlendMode::kCopy, 255, true, true);
  EXPECT_EQ(big.Pixel(50, 50), 0xFFABCDEFu);
  EXPECT_EQ(big.Pixel(51, 51), 0xFFABCDEFu);
  EXPECT_EQ(big.Pixel(49, 50), 0u);
  EXPECT_EQ(big.Pixel(52, 51), 0u);
}

}  // namespace
}  // namespace DuiLib
