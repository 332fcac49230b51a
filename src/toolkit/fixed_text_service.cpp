#include "toolkit/fixed_text_service.h"

#include <algorithm>
#include <vector>

namespace DuiLib {

namespace {

bool IsWide(wchar_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6);
}

bool IsBreakSpace(wchar_t c) { return c == L' ' || c == L'\t'; }

struct Line {
  std::size_t start;
  std::size_t length;
};

// Measures stay far below the 32-bit range whatever the text's length.
constexpr long long kMaxMeasure = 1 << 24;

int Width(const FontSpec& font, std::wstring_view text) {
  long long width = 0;
  for (wchar_t c : text) {
    width += FixedTextService::CharWidth(font, c);
    if (width > kMaxMeasure) return static_cast<int>(kMaxMeasure);
  }
  return static_cast<int>(width);
}

int EffectiveSize(const FontSpec& font) { return std::max(1, std::min(font.size, 4096)); }

// Greedy word wrap: a word is a run of characters other than spaces, or a
// single wide character; a word longer than the line is cut between
// characters. Line feeds always break.
std::vector<Line> Wrap(const FontSpec& font, std::wstring_view text, int width) {
  std::vector<Line> lines;
  std::size_t paragraph = 0;
  while (paragraph <= text.size()) {
    std::size_t end = text.find(L'\n', paragraph);
    if (end == std::wstring_view::npos) end = text.size();
    std::size_t lineStart = paragraph;
    std::size_t lineEnd = paragraph;  // end of the last word placed
    int lineWidth = 0;
    std::size_t i = paragraph;
    bool placedAny = false;
    while (i < end) {
      std::size_t wordStart = i;
      while (wordStart < end && IsBreakSpace(text[wordStart])) ++wordStart;
      if (wordStart == end) break;
      std::size_t wordEnd = wordStart;
      if (IsWide(text[wordStart])) {
        wordEnd = wordStart + 1;
      } else {
        while (wordEnd < end && !IsBreakSpace(text[wordEnd]) && !IsWide(text[wordEnd])) ++wordEnd;
      }
      const int spaceWidth = placedAny ? Width(font, text.substr(lineEnd, wordStart - lineEnd)) : 0;
      const int wordWidth = Width(font, text.substr(wordStart, wordEnd - wordStart));
      if (!placedAny) {
        lineStart = wordStart;
        lineEnd = wordStart;
      }
      if (lineWidth + spaceWidth + wordWidth <= width) {
        lineWidth += spaceWidth + wordWidth;
        lineEnd = wordEnd;
        placedAny = true;
        i = wordEnd;
        continue;
      }
      if (placedAny) {
        lines.push_back({lineStart, lineEnd - lineStart});
        placedAny = false;
        lineWidth = 0;
        i = wordStart;
        continue;
      }
      // A word wider than the line on its own: cut it, at least one
      // character per line.
      std::size_t cut = wordStart;
      int cutWidth = 0;
      while (cut < wordEnd) {
        const int w = FixedTextService::CharWidth(font, text[cut]);
        if (cut > wordStart && cutWidth + w > width) break;
        cutWidth += w;
        ++cut;
      }
      lines.push_back({wordStart, cut - wordStart});
      i = cut;
    }
    if (placedAny) lines.push_back({lineStart, lineEnd - lineStart});
    paragraph = end + 1;
  }
  return lines;
}

void DrawLine(Canvas& canvas, int x, int y, int height, const Rect& paintArea,
              const FontSpec& font, std::wstring_view text, uint32_t argb) {
  const int right = std::min(canvas.ClipBox().right, paintArea.right);
  for (wchar_t c : text) {
    if (x >= right) break;
    const int w = FixedTextService::CharWidth(font, c);
    if (c != L' ' && c != L'\t') FillColor(canvas, Rect(x, y, x + std::max(1, w - 1), y + height), paintArea, argb);
    x += w;
  }
}

}  // namespace

int FixedTextService::CharWidth(const FontSpec& font, wchar_t c) {
  const int w = std::max(1, EffectiveSize(font) / 2);
  return IsWide(c) ? 2 * w : w;
}

int FixedTextService::FontHeight(const FontSpec& font) { return EffectiveSize(font); }

int FixedTextService::MeasureLine(const FontSpec& font, std::wstring_view text) {
  return Width(font, text);
}

int FixedTextService::MeasureWrapped(const FontSpec& font, std::wstring_view text, int width) {
  const long long height = static_cast<long long>(Wrap(font, text, width).size()) * FontHeight(font);
  return static_cast<int>(std::min(height, kMaxMeasure));
}

void FixedTextService::DrawText(Canvas& canvas, const Rect& rect, const Rect& paintArea,
                                const FontSpec& font, std::wstring_view text, uint32_t argb,
                                unsigned style) {
  if (text.empty() || rect.IsEmpty() || ColorAlpha(argb) == 0) return;
  ClipScope clip(canvas, rect);
  const int lineHeight = FontHeight(font);
  std::vector<Line> lines;
  if (style & kTextWordBreak) {
    lines = Wrap(font, text, rect.Width());
  } else {
    lines.push_back({0, text.size()});
  }
  const int bottom = std::min(canvas.ClipBox().bottom, paintArea.bottom);
  int y = rect.top;
  if (!(style & kTextWordBreak)) {
    if ((style & kTextVerticalMask) == kTextVCenter) y = rect.top + (rect.Height() - lineHeight) / 2;
    if ((style & kTextVerticalMask) == kTextBottom) y = rect.bottom - lineHeight;
  }
  for (const Line& line : lines) {
    const std::wstring_view part = text.substr(line.start, line.length);
    const int w = Width(font, part);
    int x = rect.left;
    if ((style & kTextHorizontalMask) == kTextCenter) x = rect.left + (rect.Width() - w) / 2;
    if ((style & kTextHorizontalMask) == kTextRight) x = rect.right - w;
    if (y >= bottom) break;
    DrawLine(canvas, x, y, lineHeight, paintArea, font, part, argb);
    y += lineHeight;
  }
}

}  // namespace DuiLib
