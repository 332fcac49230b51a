// Image strings ("bkimage", "normalimage", "foreimage" and the others) and
// drawing them into a control's rectangle.
//
// An image string is either a plain file name ("res\mainWnd\bk01.png") or a
// list of key='value' pairs:
//   file='res\a.png' dest='0,0,10,10' source='0,0,5,5' corner='8,8,8,8'
//   mask='#FF00FF00' fade='128' hole='true' xtiled='true' ytiled='true'
//   restype='...'
// ("scale9" is another name for "corner"). Unknown keys and empty values are
// ignored; parsing stops at the first part that is not key='value', keeping
// what was read.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "toolkit/image.h"
#include "toolkit/render.h"

namespace DuiLib {

// What an image string says.
struct ImageAttributes {
  std::wstring file;
  std::wstring resType;  // non-empty: a module resource type; such images
                         // are not supported and load nothing
  Rect dest;     // relative to the control; all 0 = the whole control
  Rect source;   // in image pixels; all 0 = the whole image
  Rect corner;   // widths: left, top, right, bottom; all 0 = no nine parts
  uint32_t mask = 0;
  uint8_t fade = 255;
  bool hole = false;
  bool xTiled = false;
  bool yTiled = false;
};

// Parses an image string. Never fails: malformed parts end the parse.
ImageAttributes ParseImageString(const std::wstring& text);

// An image attribute of a control: the string, parsed once, and the image it
// loaded. A failed load is remembered and not retried until the string
// changes.
class ImageDrawRecord {
 public:
  ImageDrawRecord() = default;
  explicit ImageDrawRecord(std::wstring text) : text_(std::move(text)) {}

  // Replaces the string and forgets what was parsed and loaded.
  void SetString(std::wstring text);
  const std::wstring& String() const { return text_; }
  bool IsEmpty() const { return text_.empty(); }

  // Parses the string on first use.
  const ImageAttributes& Attributes();
  // The image, loaded through `cache` on first use; null when the string is
  // empty or the image cannot be loaded (then never asked again).
  std::shared_ptr<const Image> Load(ImageCache& cache);

 private:
  std::wstring text_;
  bool parsed_ = false;
  bool loadTried_ = false;
  ImageAttributes attributes_;
  std::shared_ptr<const Image> image_;
};

// Draws `record` for a control occupying `controlRect`, writing only inside
// `paintArea` and the canvas clip. Returns false when there is nothing to
// draw: an empty string or an image that cannot be loaded (callers fall back
// to another image then, e.g. "normalimage"). Returns true otherwise, also
// when the image lies outside the area being repainted.
bool DrawImage(Canvas& canvas, const Rect& controlRect, const Rect& paintArea,
               ImageDrawRecord& record, ImageCache& cache);

// Draws `src` of `image` into `dest` in nine parts with the corner widths
// `corner` (left, top, right, bottom): corners unscaled, edges stretched along
// their length, the centre stretched, tiled (`xTiled`, `yTiled`) or left out
// (`hole`). With all corner widths 0 and equal sizes the part is copied one to
// one. Images with transparency and fades below 255 are blended, others copied
// opaquely. Used by `DrawImage` and by the drop shadow's image mode.
void DrawImageParts(Canvas& canvas, const Image& image, const Rect& dest, const Rect& src,
                    const Rect& corner, const Rect& paintArea, uint8_t fade, bool hole,
                    bool xTiled, bool yTiled);

}  // namespace DuiLib
