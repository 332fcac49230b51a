// Text measuring and drawing for the controls, behind a small interface so
// that layout and painting run without a window system: the window's GDI
// service measures and draws with real fonts, the fixed-metrics service
// (fixed_text_service.h) stands in on the host.
//
// A service is used on the window thread only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/render.h"

namespace DuiLib {

// A font as a layout declares it. An empty face means the system's default
// GUI font; `size` is the character height in pixels.
struct FontSpec {
  std::wstring face;
  int size = 12;
  bool bold = false;
  bool underline = false;
  bool italic = false;
};

// How text sits in its rectangle. One horizontal and one vertical value,
// plus whether the text wraps.
enum TextStyle : unsigned {
  kTextLeft = 0x00,
  kTextCenter = 0x01,
  kTextRight = 0x02,
  kTextHorizontalMask = 0x03,
  kTextTop = 0x00,
  kTextVCenter = 0x04,
  kTextBottom = 0x08,
  kTextVerticalMask = 0x0C,
  // Wraps at word boundaries within the rectangle's width; vertical
  // alignment applies to single-line text only.
  kTextWordBreak = 0x10,
};

class ITextService {
 public:
  virtual ~ITextService() = default;

  // The font's text-metric height (the line height).
  virtual int FontHeight(const FontSpec& font) = 0;
  // Width of `text` on one line.
  virtual int MeasureLine(const FontSpec& font, std::wstring_view text) = 0;
  // Height of `text` wrapped at word boundaries within `width` pixels.
  virtual int MeasureWrapped(const FontSpec& font, std::wstring_view text, int width) = 0;
  // Draws `text` into `rect` with `style`, in the layout colour `argb`,
  // writing only inside `paintArea` and the canvas clip.
  virtual void DrawText(Canvas& canvas, const Rect& rect, const Rect& paintArea,
                        const FontSpec& font, std::wstring_view text, uint32_t argb,
                        unsigned style) = 0;
};

}  // namespace DuiLib
