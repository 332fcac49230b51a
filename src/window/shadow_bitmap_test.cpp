#include "window/shadow_bitmap.h"

#include <gtest/gtest.h>

#include <cmath>

namespace DuiLib {
namespace {

// The installer's shadow: size 12, sharpness 10, darkness 20, offset (2, 2),
// colour 26003B76.
ShadowParams InstallerShadow() {
  ShadowParams p;
  EXPECT_TRUE(p.SetSize(12));
  EXPECT_TRUE(p.SetSharpness(10));
  EXPECT_TRUE(p.SetDarkness(20));
  EXPECT_TRUE(p.SetPosition(2, 2));
  p.SetColor(0x26003B76u);
  return p;
}

uint32_t Alpha(uint32_t pixel) { return pixel >> 24; }

TEST(ShadowParams, SettersRefuseOutOfRangeValuesAndKeepTheDefaults) {
  ShadowParams p;
  EXPECT_FALSE(p.SetSize(21));
  EXPECT_FALSE(p.SetSize(-21));
  EXPECT_FALSE(p.SetSharpness(21));
  EXPECT_FALSE(p.SetSharpness(-1));
  EXPECT_FALSE(p.SetDarkness(256));
  EXPECT_FALSE(p.SetDarkness(-1));
  EXPECT_FALSE(p.SetPosition(21, 0));
  EXPECT_FALSE(p.SetPosition(0, -21));
  EXPECT_EQ(p.Size(), 0);
  EXPECT_EQ(p.Sharpness(), 5);
  EXPECT_EQ(p.Darkness(), 150);
  EXPECT_EQ(p.OffsetX(), 5);
  EXPECT_EQ(p.OffsetY(), 5);
  EXPECT_TRUE(p.SetSize(-20));
  EXPECT_TRUE(p.SetSharpness(20));
  EXPECT_TRUE(p.SetDarkness(255));
  EXPECT_TRUE(p.SetPosition(-20, 20));
  EXPECT_EQ(p.Size(), -20);
  EXPECT_EQ(p.OffsetY(), 20);
}

TEST(ShadowKernel, FallsOffWithDistanceFromTheCentreRadius) {
  const ShadowParams p = InstallerShadow();
  const std::vector<uint32_t> kernel = ShadowKernel(p);
  const int K = 12, side = 2 * K + 1;
  ASSERT_EQ(kernel.size(), static_cast<size_t>(side * side));
  auto at = [&](int u, int v) { return kernel[static_cast<size_t>(u + K) * side + (v + K)]; };
  EXPECT_EQ(Alpha(at(0, 0)), 20u);
  EXPECT_EQ(Alpha(at(1, 1)), 20u);
  EXPECT_EQ(Alpha(at(0, 2)), 20u);
  EXPECT_EQ(Alpha(at(7, 0)), 10u);
  EXPECT_EQ(Alpha(at(0, -12)), 1u);
  EXPECT_EQ(at(12, 12), 0u);  // beyond K
  EXPECT_EQ(at(0, 0), 0x14090400u);
}

TEST(ComputeShadow, InstallerShadowAroundARoundedWindow) {
  const int W = 80, H = 50;
  const RoundRectRegion region(0, 0, W + 1, H + 1, 12, 12);
  const ShadowBitmap shadow =
      ComputeShadow(W, H, [&](int x, int y) { return region.Contains(x, y); }, InstallerShadow());
  const Bitmap& b = shadow.bitmap;
  ASSERT_EQ(b.Width(), W + 24);
  ASSERT_EQ(b.Height(), H + 24);
  EXPECT_EQ(shadow.offsetX, -10);
  EXPECT_EQ(shadow.offsetY, -10);

  // Below the middle of the bottom edge (bitmap row H + 11) the shadow fades
  // out with the kernel: 20 within distance 2, 10 at 7, 1 at 12.
  const int mid = b.Width() / 2;
  EXPECT_EQ(Alpha(b.Pixel(mid, H + 13)), 20u);
  EXPECT_EQ(Alpha(b.Pixel(mid, H + 18)), 10u);
  EXPECT_EQ(Alpha(b.Pixel(mid, H + 23)), 1u);
  // Above the top edge likewise, up to where the window (moved by the
  // offset) covers it from row 10 on.
  EXPECT_EQ(Alpha(b.Pixel(mid, 0)), 1u);
  EXPECT_EQ(Alpha(b.Pixel(mid, 5)), 10u);
  EXPECT_EQ(Alpha(b.Pixel(mid, 9)), 18u);
  EXPECT_EQ(Alpha(b.Pixel(mid, 10)), 0u);
  for (int y = 1; y < 10; ++y) EXPECT_GT(Alpha(b.Pixel(mid, y)), Alpha(b.Pixel(mid, y - 1)));

  // Beside the window, past the offset, the full shadow colour.
  EXPECT_EQ(b.Pixel(W + 10, H / 2), 0x14090400u);
  EXPECT_EQ(b.Pixel(W + 11, H / 2), 0x14090400u);

  // Under the window (shifted by the offset) everything is transparent.
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      if (region.Contains(x, y)) {
        ASSERT_EQ(b.Pixel(x + 10, y + 10), 0u) << x << "," << y;
      }
    }
  }
  // Every pixel is the shadow colour at some opacity.
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      const uint32_t p = b.Pixel(x, y), a = Alpha(p);
      ASSERT_LE(a, 20u);
      ASSERT_EQ(p, (a << 24) | ((0x76 * a / 255) << 16) | ((0x3B * a / 255) << 8)) << x << "," << y;
    }
  }
  // The corners of the bitmap lie beyond the kernel's reach.
  EXPECT_EQ(b.Pixel(0, 0), 0u);
}

TEST(ComputeShadow, ParentWithoutRegionIsFullyTransparent) {
  const ShadowBitmap shadow = ComputeShadow(40, 30, nullptr, InstallerShadow());
  ASSERT_EQ(shadow.bitmap.Width(), 64);
  for (int y = 0; y < shadow.bitmap.Height(); ++y) {
    for (int x = 0; x < shadow.bitmap.Width(); ++x) ASSERT_EQ(shadow.bitmap.Pixel(x, y), 0u);
  }
}

TEST(ComputeShadow, StaysInsideTheBitmapForEveryParameterInRange) {
  // Odd shapes too: rows narrower than the shadow size, and tiny windows.
  const std::pair<int, int> sizes[] = {{1, 1}, {3, 2}, {5, 40}, {40, 5}, {30, 20}};
  for (auto [W, H] : sizes) {
    const RoundRectRegion region(0, 0, W + 1, H + 1, 12, 12);
    for (int s = -20; s <= 20; s += 4) {
      for (int p = 0; p <= 20; p += 5) {
        for (int o : {-20, 0, 20}) {
          ShadowParams params;
          ASSERT_TRUE(params.SetSize(s));
          ASSERT_TRUE(params.SetSharpness(p));
          ASSERT_TRUE(params.SetPosition(o, -o));
          const ShadowBitmap shadow = ComputeShadow(
              W, H, [&](int x, int y) { return region.Contains(x, y); }, params);
          const int w = std::max(W + 2 * s, 0), h = std::max(H + 2 * s, 0);
          EXPECT_EQ(shadow.bitmap.Width() * shadow.bitmap.Height(), w * h);
          EXPECT_EQ(shadow.offsetX, o - s);
        }
      }
    }
  }
}

TEST(ComputeImageShadow, FramesTheParentWithTheImageAndLeavesItsPlaceEmpty) {
  // A 9 × 9 image: every pixel distinct and opaque.
  Image image;
  image.bitmap.Reset(9, 9);
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 9; ++x) image.bitmap.SetPixel(x, y, MakeArgb(255, x, y, 1));
  }
  const ShadowBitmap shadow = ComputeImageShadow(40, 30, image, {3, 3, 3, 3}, {1, 1, 1, 1});
  const Bitmap& b = shadow.bitmap;
  ASSERT_EQ(b.Width(), 46);
  ASSERT_EQ(b.Height(), 36);
  EXPECT_EQ(shadow.offsetX, -3);
  EXPECT_EQ(shadow.offsetY, -3);
  // Corners of 4 pixels (corner + hole offset) copied unscaled.
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(b.Pixel(x, y), MakeArgb(255, x, y, 1));
      EXPECT_EQ(b.Pixel(42 + x, 32 + y), MakeArgb(255, 5 + x, 5 + y, 1));
    }
  }
  EXPECT_EQ(b.Pixel(20, 0) >> 24, 255u);  // the top edge, stretched
  EXPECT_EQ(b.Pixel(23, 18), 0u);         // the centre stays empty
  EXPECT_EQ(b.Pixel(4, 4), 0u);
}

TEST(RoundRectRegion, LeavesOutCornersAndTheExtraRowAndColumn) {
  const RoundRectRegion region(0, 0, 101, 51, 12, 12);
  EXPECT_FALSE(region.Contains(0, 0));
  EXPECT_FALSE(region.Contains(99, 49));
  EXPECT_TRUE(region.Contains(50, 0));
  EXPECT_TRUE(region.Contains(0, 25));
  EXPECT_TRUE(region.Contains(99, 25));
  EXPECT_TRUE(region.Contains(50, 49));
  EXPECT_FALSE(region.Contains(100, 25));
  EXPECT_FALSE(region.Contains(50, 50));
  for (int y = 0; y < 50; ++y) {
    for (int x = 0; x < 100; ++x) {
      ASSERT_EQ(region.Contains(x, y), region.Contains(99 - x, y));
      ASSERT_EQ(region.Contains(x, y), region.Contains(x, 49 - y));
    }
  }
  // Ellipses smaller than 2 give the plain rectangle.
  const RoundRectRegion square(0, 0, 11, 11, 1, 1);
  EXPECT_TRUE(square.Contains(0, 0));
  EXPECT_TRUE(square.Contains(9, 9));
  EXPECT_FALSE(square.Contains(10, 10));
}

}  // namespace
}  // namespace DuiLib
