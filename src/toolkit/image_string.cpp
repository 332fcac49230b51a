#include "toolkit/image_string.h"

#include <algorithm>

#include "toolkit/layout_values.h"

namespace DuiLib {

namespace {

// Numbers in image strings are pixel sizes; anything beyond this is clamped
// so that adding them to a control's coordinates cannot overflow.
constexpr long kNumberLimit = 1 << 24;

bool IsSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

// Reads an integer the way the layout values are read: leading white space,
// an optional sign, decimal digits; no digits give 0 and consume nothing but
// the white space and sign. `pos` ends after the number.
int ReadInteger(const std::wstring& text, size_t& pos) {
  size_t p = pos;
  while (p < text.size() && IsSpace(text[p])) ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == L'+' || text[p] == L'-')) {
    negative = text[p] == L'-';
    ++p;
  }
  if (p >= text.size() || text[p] < L'0' || text[p] > L'9') return 0;  // pos unchanged
  long value = 0;
  while (p < text.size() && text[p] >= L'0' && text[p] <= L'9') {
    value = std::min(value * 10 + (text[p] - L'0'), kNumberLimit);
    ++p;
  }
  pos = p;
  return static_cast<int>(negative ? -value : value);
}

// Four numbers, each followed by exactly one separator character.
Rect ReadRect(const std::wstring& text) {
  int values[4] = {};
  size_t pos = 0;
  for (int& v : values) {
    v = ReadInteger(text, pos);
    if (pos < text.size()) ++pos;
  }
  return {values[0], values[1], values[2], values[3]};
}

void Apply(ImageAttributes& a, const std::wstring& key, const std::wstring& value, bool& hasFile) {
  if (value.empty()) return;
  if (key == L"file") {
    a.file = value;
    hasFile = true;
  } else if (key == L"restype") {
    a.resType = value;
  } else if (key == L"dest") {
    a.dest = ReadRect(value);
  } else if (key == L"source") {
    a.source = ReadRect(value);
  } else if (key == L"corner" || key == L"scale9") {
    a.corner = ReadRect(value);
  } else if (key == L"mask") {
    a.mask = ParseLayoutColor(value);  // "#" optional, as everywhere
  } else if (key == L"fade") {
    size_t pos = 0;
    a.fade = static_cast<uint8_t>(std::clamp(ReadInteger(value, pos), 0, 255));
  } else if (key == L"hole") {
    a.hole = value == L"true";
  } else if (key == L"xtiled") {
    a.xTiled = value == L"true";
  } else if (key == L"ytiled") {
    a.yTiled = value == L"true";
  }
}

}  // namespace

ImageAttributes ParseImageString(const std::wstring& text) {
  ImageAttributes attributes;
  bool hasFile = false;
  size_t pos = 0;
  const size_t end = text.size();
  while (true) {
    while (pos < end && IsSpace(text[pos])) ++pos;
    if (pos >= end) break;
    const size_t keyStart = pos;
    while (pos < end && text[pos] != L'=' && !IsSpace(text[pos])) ++pos;
    std::wstring key = text.substr(keyStart, pos - keyStart);
    while (pos < end && IsSpace(text[pos])) ++pos;
    if (pos >= end || text[pos] != L'=') break;
    ++pos;
    while (pos < end && IsSpace(text[pos])) ++pos;
    if (pos >= end || text[pos] != L'\'') break;
    ++pos;
    const size_t close = text.find(L'\'', pos);
    if (close == std::wstring::npos) break;
    Apply(attributes, key, text.substr(pos, close - pos), hasFile);
    pos = close + 1;
    if (pos >= end || text[pos] != L' ') break;
  }
  if (!hasFile) attributes.file = text;
  return attributes;
}

void ImageDrawRecord::SetString(std::wstring text) {
  text_ = std::move(text);
  parsed_ = false;
  loadTried_ = false;
  attributes_ = ImageAttributes();
  image_.reset();
}

const ImageAttributes& ImageDrawRecord::Attributes() {
  if (!parsed_) {
    attributes_ = ParseImageString(text_);
    parsed_ = true;
  }
  return attributes_;
}

std::shared_ptr<const Image> ImageDrawRecord::Load(ImageCache& cache) {
  if (text_.empty()) return nullptr;
  if (!loadTried_) {
    loadTried_ = true;
    const ImageAttributes& a = Attributes();
    // Images from other resource types of the module are not supported: only
    // the skin source is searched.
    if (a.resType.empty()) image_ = cache.Get(a.file, a.mask);
  }
  return image_;
}

void DrawImageParts(Canvas& canvas, const Image& image, const Rect& dest, const Rect& src,
                    const Rect& corner, const Rect& paintArea, uint8_t fade, bool hole,
                    bool xTiled, bool yTiled) {
  const BlendMode mode = image.hasAlpha || fade < 255 ? BlendMode::kBlend : BlendMode::kCopy;
  const Bitmap& bitmap = image.bitmap;
  if (corner.IsZero() && dest.Width() == src.Width() && dest.Height() == src.Height()) {
    DrawBitmapPart(canvas, bitmap, src, dest, paintArea, mode, fade);
    return;
  }
  const int l = corner.left, t = corner.top, r = corner.right, b = corner.bottom;
  auto part = [&](const Rect& d, const Rect& s) {
    if (!d.IsEmpty() && !s.IsEmpty()) DrawBitmapPart(canvas, bitmap, s, d, paintArea, mode, fade);
  };
  // Pass 1: the centre, stretched or repeated at its own size.
  if (!hole) {
    const Rect d{dest.left + l, dest.top + t, dest.right - r, dest.bottom - b};
    const Rect s{src.left + l, src.top + t, src.right - r, src.bottom - b};
    if (!d.IsEmpty() && !s.IsEmpty()) {
      if (xTiled || yTiled) {
        TileBitmapPart(canvas, bitmap, s, d, paintArea, mode, fade, xTiled, yTiled);
      } else {
        DrawBitmapPart(canvas, bitmap, s, d, paintArea, mode, fade);
      }
    }
  }
  // Pass 2: the edges, stretched along their length.
  part({dest.left, dest.top + t, dest.left + l, dest.bottom - b},
       {src.left, src.top + t, src.left + l, src.bottom - b});
  part({dest.left + l, dest.top, dest.right - r, dest.top + t},
       {src.left + l, src.top, src.right - r, src.top + t});
  part({dest.right - r, dest.top + t, dest.right, dest.bottom - b},
       {src.right - r, src.top + t, src.right, src.bottom - b});
  part({dest.left + l, dest.bottom - b, dest.right - r, dest.bottom},
       {src.left + l, src.bottom - b, src.right - r, src.bottom});
  // Pass 3: the corners, unscaled.
  part({dest.left, dest.top, dest.left + l, dest.top + t},
       {src.left, src.top, src.left + l, src.top + t});
  part({dest.right - r, dest.top, dest.right, dest.top + t},
       {src.right - r, src.top, src.right, src.top + t});
  part({dest.left, dest.bottom - b, dest.left + l, dest.bottom},
       {src.left, src.bottom - b, src.left + l, src.bottom});
  part({dest.right - r, dest.bottom - b, dest.right, dest.bottom},
       {src.right - r, src.bottom - b, src.right, src.bottom});
}

bool DrawImage(Canvas& canvas, const Rect& controlRect, const Rect& paintArea,
               ImageDrawRecord& record, ImageCache& cache) {
  if (record.IsEmpty()) return false;
  const std::shared_ptr<const Image> image = record.Load(cache);
  if (!image) return false;
  const ImageAttributes& a = record.Attributes();

  Rect src = a.source;
  if (src.IsZero()) src = image->bitmap.Bounds();
  src.left = std::max(src.left, 0);
  src.top = std::max(src.top, 0);
  src.right = std::min(src.right, image->Width());
  src.bottom = std::min(src.bottom, image->Height());

  Rect dest = controlRect;
  if (!a.dest.IsZero()) {
    dest = {controlRect.left + a.dest.left, controlRect.top + a.dest.top,
            std::min(controlRect.right, controlRect.left + a.dest.right),
            std::min(controlRect.bottom, controlRect.top + a.dest.bottom)};
  }
  if (!dest.Intersects(controlRect) || !dest.Intersects(paintArea)) return true;
  if (src.IsEmpty()) return true;
  DrawImageParts(canvas, *image, dest, src, a.corner, paintArea, a.fade, a.hole, a.xTiled,
                 a.yTiled);
  return true;
}

}  // namespace DuiLib
