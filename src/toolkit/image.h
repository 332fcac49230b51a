// Skin images: PNG decoding into premultiplied bitmaps and the per-window
// image cache.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/render.h"

namespace DuiLib {

// A decoded image: premultiplied pixels and whether any pixel is not fully
// opaque (then it is blended when drawn; otherwise it is copied).
struct Image {
  Bitmap bitmap;
  bool hasAlpha = false;

  int Width() const { return bitmap.Width(); }
  int Height() const { return bitmap.Height(); }
};

// Images with more pixels than this are refused before any pixel memory is
// taken: 16 Mi pixels, 64 MiB decoded, far beyond any skin image.
constexpr uint64_t kMaxImagePixels = 16ull * 1024 * 1024;

// Decodes the PNG in `data` into `out`. Pixels of opacity 255 are copied;
// every other pixel is premultiplied and marks the image as having
// transparency. When `mask` is not 0, every pixel whose resulting 32-bit value
// equals `mask` exactly becomes fully transparent (a mask written with six
// digits has opacity 00 and so never matches a visible pixel). Returns false
// for anything that is not a PNG of acceptable size; `out` is then empty.
bool DecodePng(const uint8_t* data, size_t size, uint32_t mask, Image& out);

// Reads a skin file by name (as written in the layout) into `bytes`; false
// when it cannot be read. The window passes its skin source here (see
// skin_archive.h: `ReadSkinImageFile`).
using SkinFileReader = std::function<bool(const std::wstring& name, std::vector<uint8_t>& bytes)>;

// Images by name for one window, shared by all its controls. Loads through the
// reader on first use. Images stay alive while a draw record holds them, even
// after `Clear`.
//
// Keyed by name and mask together, so two strings that name the same file
// with different masks each get the image they describe.
class ImageCache {
 public:
  explicit ImageCache(SkinFileReader reader);

  // The image `name` decoded with `mask`, loading it on first use; null when
  // it cannot be read or decoded (a failure is not remembered here: the draw
  // record remembers it).
  std::shared_ptr<const Image> Get(const std::wstring& name, uint32_t mask = 0);
  // Adds an image under `name` (mask 0), replacing one of that name.
  void Add(const std::wstring& name, std::shared_ptr<const Image> image);
  void Remove(const std::wstring& name);
  void Clear();
  size_t Size() const { return images_.size(); }

 private:
  SkinFileReader reader_;
  std::map<std::pair<std::wstring, uint32_t>, std::shared_ptr<const Image>> images_;
};

}  // namespace DuiLib
