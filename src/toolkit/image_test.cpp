#include "toolkit/image.h"

#include <gtest/gtest.h>

#include "toolkit/image_test_png.h"

namespace DuiLib {
namespace {

using testing::EncodePng;

TEST(Image, DecodesOpaqueAndTranslucentPixels) {
  const auto png = EncodePng(2, 2, {0xFF102030u, 0x80FF0000u, 0x00FFFFFFu, 0xFF0000FFu});
  const auto onePixel = EncodePng(1, 1, {0xFF102030u});
  Image opaque;
  ASSERT_TRUE(DecodePng(onePixel.data(), onePixel.size(), 0, opaque));
  EXPECT_FALSE(opaque.hasAlpha);
  EXPECT_EQ(opaque.bitmap.Pixel(0, 0), 0xFF102030u);

  Image image;
  ASSERT_TRUE(DecodePng(png.data(), png.size(), 0, image));
  ASSERT_EQ(image.Width(), 2);
  ASSERT_EQ(image.Height(), 2);
  EXPECT_TRUE(image.hasAlpha);
  EXPECT_EQ(image.bitmap.Pixel(0, 0), 0xFF102030u);
  EXPECT_EQ(image.bitmap.Pixel(1, 0), 0x80800000u);  // 255 × 128 ÷ 255
  EXPECT_EQ(image.bitmap.Pixel(0, 1), 0u);
  EXPECT_EQ(image.bitmap.Pixel(1, 1), 0xFF0000FFu);
}

TEST(Image, MaskMatchesTheWholePixelValueOnly) {
  const auto png = EncodePng(2, 1, {0xFFFF0000u, 0xFF00FF00u});
  Image image;
  // Six digits: opacity 00, so an opaque red pixel never matches.
  ASSERT_TRUE(DecodePng(png.data(), png.size(), 0x00FF0000u, image));
  EXPECT_EQ(image.bitmap.Pixel(0, 0), 0xFFFF0000u);
  EXPECT_FALSE(image.hasAlpha);
  // Eight digits naming the opaque pixel make it transparent.
  ASSERT_TRUE(DecodePng(png.data(), png.size(), 0xFFFF0000u, image));
  EXPECT_EQ(image.bitmap.Pixel(0, 0), 0u);
  EXPECT_EQ(image.bitmap.Pixel(1, 0), 0xFF00FF00u);
  EXPECT_TRUE(image.hasAlpha);
}

TEST(Image, RefusesMalformedAndOversizedInput) {
  const auto png = EncodePng(4, 4, std::vector<uint32_t>(16, 0xFF00FF00u));
  Image image;
  EXPECT_FALSE(DecodePng(nullptr, 0, 0, image));
  EXPECT_FALSE(DecodePng(png.data(), 20, 0, image));  // cut inside the header
  EXPECT_FALSE(DecodePng(png.data(), png.size() - 30, 0, image));  // cut inside the data
  const uint8_t text[] = "not an image at all";
  EXPECT_FALSE(DecodePng(text, sizeof text, 0, image));
  EXPECT_TRUE(image.bitmap.IsEmpty());

  // A header that claims 16000 × 16000 pixels is refused before decoding.
  auto huge = EncodePng(1, 1, {0xFF000000u});
  huge[16] = 0; huge[17] = 0; huge[18] = 0x3E; huge[19] = 0x80;
  huge[20] = 0; huge[21] = 0; huge[22] = 0x3E; huge[23] = 0x80;
  const uint32_t crc = testing::Crc32(huge.data() + 12, 17);
  huge[29] = static_cast<uint8_t>(crc >> 24); huge[30] = static_cast<uint8_t>(crc >> 16);
  huge[31] = static_cast<uint8_t>(crc >> 8); huge[32] = static_cast<uint8_t>(crc);
  EXPECT_FALSE(DecodePng(huge.data(), huge.size(), 0, image));
}

TEST(Image, EmptyDataChunksAreHarmlessAndOverlongChunksRefused) {
  auto png = EncodePng(1, 1, {0xFF112233u});
  // An empty IDAT chunk right after the header is legal and carries nothing.
  const std::vector<uint8_t> empty = {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E};
  png.insert(png.begin() + 33, empty.begin(), empty.end());
  Image image;
  ASSERT_TRUE(DecodePng(png.data(), png.size(), 0, image));
  EXPECT_EQ(image.bitmap.Pixel(0, 0), 0xFF112233u);
  // A data chunk that claims more bytes than the file has.
  png[33] = 0x7F;
  EXPECT_FALSE(DecodePng(png.data(), png.size(), 0, image));
}

TEST(Image, CacheLoadsEachNameOnceAndSharesIt) {
  int reads = 0;
  ImageCache cache([&](const std::wstring& name, std::vector<uint8_t>& bytes) {
    ++reads;
    if (name != L"a.png") return false;
    bytes = EncodePng(1, 1, {0xFFFF0000u});
    return true;
  });
  auto first = cache.Get(L"a.png");
  auto second = cache.Get(L"a.png");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  EXPECT_EQ(reads, 1);
  // Another mask is another image.
  auto masked = cache.Get(L"a.png", 0xFFFF0000u);
  ASSERT_NE(masked, nullptr);
  EXPECT_EQ(masked->bitmap.Pixel(0, 0), 0u);
  EXPECT_EQ(reads, 2);

  EXPECT_EQ(cache.Get(L"missing.png"), nullptr);
  EXPECT_EQ(cache.Get(L""), nullptr);
  cache.Clear();
  EXPECT_EQ(first->bitmap.Pixel(0, 0), 0xFFFF0000u);  // still alive for its holder
}

}  // namespace
}  // namespace DuiLib
