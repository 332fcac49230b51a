// Image strings from layout documents: parse them and draw the result with a
// small image, so hostile numbers reach the nine-part and tiling arithmetic.
#include <cstddef>
#include <cstdint>
#include <string>

#include "toolkit/image_string.h"

namespace {

std::shared_ptr<const DuiLib::Image> MakeImage() {
  auto image = std::make_shared<DuiLib::Image>();
  image->bitmap.Reset(7, 5);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) image->bitmap.SetPixel(x, y, x == y ? 0x80402010u : 0xFF102030u);
  }
  image->hasAlpha = true;
  return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Bytes as characters; every second byte pair past 0x7F becomes a wide one.
  std::wstring text;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] >= 0x80 && i + 1 < size) {
      text.push_back(static_cast<wchar_t>((data[i] << 8) | data[i + 1]));
      ++i;
    } else {
      text.push_back(static_cast<wchar_t>(data[i]));
    }
  }
  static const std::shared_ptr<const DuiLib::Image> image = MakeImage();
  DuiLib::ImageCache cache([](const std::wstring&, std::vector<uint8_t>&) { return false; });
  const DuiLib::ImageAttributes parsed = DuiLib::ParseImageString(text);
  cache.Add(parsed.file, image);

  DuiLib::Bitmap bitmap(64, 48);
  DuiLib::Canvas canvas(bitmap);
  DuiLib::ImageDrawRecord record(text);
  DuiLib::ClipScope round(canvas, {2, 2, 62, 46}, 9, 7);
  DuiLib::DrawImage(canvas, {3, 4, 60, 44}, {0, 0, 50, 48}, record, cache);
  return 0;
}
