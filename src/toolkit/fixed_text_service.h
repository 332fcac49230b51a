// A text service with fixed metrics, for tests and for drawing layouts
// without a window system: every character is `size` ÷ 2 pixels wide
// (at least 1), characters of the CJK ranges and full-width forms twice
// that, and a line is `size` pixels high. Each visible character is drawn
// as a filled box of its cell (one pixel narrower, so neighbours stay
// apart), which makes text placement visible in rendered pictures.
#pragma once

#include "toolkit/text_service.h"

namespace DuiLib {

class FixedTextService : public ITextService {
 public:
  static int CharWidth(const FontSpec& font, wchar_t c);

  int FontHeight(const FontSpec& font) override;
  int MeasureLine(const FontSpec& font, std::wstring_view text) override;
  int MeasureWrapped(const FontSpec& font, std::wstring_view text, int width) override;
  void DrawText(Canvas& canvas, const Rect& rect, const Rect& paintArea, const FontSpec& font,
                std::wstring_view text, uint32_t argb, unsigned style) override;
};

}  // namespace DuiLib
