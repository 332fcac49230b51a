#include "toolkit/render.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace DuiLib {

Rect Rect::Intersect(const Rect& other) const {
  return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
          std::min(bottom, other.bottom)};
}

uint32_t Premultiply(uint32_t argb) {
  const uint32_t a = argb >> 24;
  if (a == 255) return argb;
  return MakeArgb(a, MulDiv255((argb >> 16) & 0xFF, a), MulDiv255((argb >> 8) & 0xFF, a),
                  MulDiv255(argb & 0xFF, a));
}

uint32_t ScalePixel(uint32_t pixel, uint32_t alpha) {
  if (alpha >= 255) return pixel;
  return MakeArgb(MulDiv255(pixel >> 24, alpha), MulDiv255((pixel >> 16) & 0xFF, alpha),
                  MulDiv255((pixel >> 8) & 0xFF, alpha), MulDiv255(pixel & 0xFF, alpha));
}

Bitmap::Bitmap(int width, int height) { Reset(width, height); }

void Bitmap::Reset(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  if (width_ == 0 || height_ == 0) width_ = height_ = 0;
  pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0u);
}

void Bitmap::Fill(uint32_t value) { std::fill(pixels_.begin(), pixels_.end(), value); }

void RoundRectRowSpans(int w, int h, int ew, int eh, std::vector<int>& spans) {
  spans.resize(static_cast<size_t>(std::max(h, 0)) * 2);
  ew = std::min(ew, w);
  eh = std::min(eh, h);
  const double a = ew / 2.0;
  const double b = eh / 2.0;
  for (int y = 0; y < h; ++y) {
    int inset = 0;
    if (a > 0 && b > 0) {
      const double py = y + 0.5;
      double ny = 0;
      if (py < b) {
        ny = (b - py) / b;
      } else if (py > h - b) {
        ny = (py - (h - b)) / b;
      }
      if (ny > 0) {
        const double half = a * std::sqrt(std::max(0.0, 1.0 - ny * ny));
        inset = static_cast<int>(std::ceil(a - half - 0.5));
        inset = std::clamp(inset, 0, (w + 1) / 2);
      }
    }
    spans[2 * y] = inset;
    spans[2 * y + 1] = w - inset;
  }
}

Canvas::Canvas(Bitmap& target) : target_(&target) { clips_.push_back({target.Bounds(), {}}); }

void Canvas::PushClip(const Rect& rect) { PushRoundClip(rect, 0, 0); }

void Canvas::PushRoundClip(const Rect& rect, int ellipseWidth, int ellipseHeight) {
  const Clip& outer = clips_.back();
  Clip clip;
  clip.box = outer.box.Intersect(rect);
  if (clip.box.IsEmpty()) {
    clip.box = Rect();
    clips_.push_back(std::move(clip));
    return;
  }
  const bool round = ellipseWidth > 0 && ellipseHeight > 0;
  if (!round && outer.spans.empty()) {
    clips_.push_back(std::move(clip));
    return;
  }
  std::vector<int> shape;
  if (round) RoundRectRowSpans(rect.Width(), rect.Height(), ellipseWidth, ellipseHeight, shape);
  clip.spans.resize(static_cast<size_t>(clip.box.Height()) * 2);
  for (int y = clip.box.top; y < clip.box.bottom; ++y) {
    int x0 = clip.box.left;
    int x1 = clip.box.right;
    if (!outer.spans.empty()) {
      const size_t o = static_cast<size_t>(y - outer.box.top) * 2;
      x0 = std::max(x0, outer.spans[o]);
      x1 = std::min(x1, outer.spans[o + 1]);
    }
    if (round) {
      const size_t s = static_cast<size_t>(y - rect.top) * 2;
      x0 = std::max(x0, rect.left + shape[s]);
      x1 = std::min(x1, rect.left + shape[s + 1]);
    }
    const size_t i = static_cast<size_t>(y - clip.box.top) * 2;
    clip.spans[i] = x0;
    clip.spans[i + 1] = std::max(x0, x1);
  }
  clips_.push_back(std::move(clip));
}

void Canvas::PopClip() {
  if (clips_.size() > 1) clips_.pop_back();
}

bool Canvas::RowSpan(int y, const Rect& area, int& x0, int& x1) const {
  const Clip& clip = clips_.back();
  if (y < clip.box.top || y >= clip.box.bottom || y < area.top || y >= area.bottom) return false;
  x0 = std::max(clip.box.left, area.left);
  x1 = std::min(clip.box.right, area.right);
  if (!clip.spans.empty()) {
    const size_t i = static_cast<size_t>(y - clip.box.top) * 2;
    x0 = std::max(x0, clip.spans[i]);
    x1 = std::min(x1, clip.spans[i + 1]);
  }
  return x0 < x1;
}

namespace {

// out[i] = source-over(out[i], in[i]) for a run of pixels: the hot loop of
// every translucent image. With SSE2 four pixels go at a time in 16-bit
// lanes, with the same rounding as BlendPixel.
void BlendRow(uint32_t* out, const uint32_t* in, int count) {
  int x = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i half = _mm_set1_epi16(128);
  const __m128i full = _mm_set1_epi16(255);
  for (; x + 4 <= count; x += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + x));
    const __m128i sLo = _mm_unpacklo_epi8(s, zero), sHi = _mm_unpackhi_epi8(s, zero);
    const __m128i invLo = _mm_sub_epi16(full, _mm_shufflehi_epi16(_mm_shufflelo_epi16(sLo, 0xFF), 0xFF));
    const __m128i invHi = _mm_sub_epi16(full, _mm_shufflehi_epi16(_mm_shufflelo_epi16(sHi, 0xFF), 0xFF));
    __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), invLo), half);
    __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), invHi), half);
    lo = _mm_srli_epi16(_mm_add_epi16(lo, _mm_srli_epi16(lo, 8)), 8);
    hi = _mm_srli_epi16(_mm_add_epi16(hi, _mm_srli_epi16(hi, 8)), 8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_add_epi8(_mm_packus_epi16(lo, hi), s));
  }
#endif
  for (; x < count; ++x) out[x] = BlendPixel(out[x], in[x]);
}

// A row buffer for gathered or generated source pixels, reused between calls.
uint32_t* ScratchRow(int count) {
  thread_local std::vector<uint32_t> row;
  if (row.size() < static_cast<size_t>(count)) row.resize(static_cast<size_t>(count));
  return row.data();
}

}  // namespace

void FillColor(Canvas& canvas, const Rect& rect, const Rect& paintArea, uint32_t argb) {
  const uint32_t alpha = argb >> 24;
  if (alpha == 0) return;
  const Rect area = rect.Intersect(paintArea).Intersect(canvas.ClipBox());
  if (area.IsEmpty()) return;
  Bitmap& target = canvas.Target();
  const uint32_t pixel = Premultiply(argb);
  uint32_t* solid = nullptr;
  if (alpha != 255) {
    solid = ScratchRow(area.Width());
    std::fill(solid, solid + area.Width(), pixel);
  }
  for (int y = area.top; y < area.bottom; ++y) {
    int x0, x1;
    if (!canvas.RowSpan(y, area, x0, x1)) continue;
    uint32_t* row = target.Row(y);
    if (alpha == 255) {
      std::fill(row + x0, row + x1, pixel);
    } else {
      BlendRow(row + x0, solid, x1 - x0);
    }
  }
}

void DrawBitmapPart(Canvas& canvas, const Bitmap& source, const Rect& srcPart, const Rect& dest,
                    const Rect& paintArea, BlendMode mode, uint8_t fade) {
  const Rect src = srcPart.Intersect(source.Bounds());
  if (src.IsEmpty() || dest.IsEmpty() || fade == 0) return;
  const Rect visible = dest.Intersect(paintArea).Intersect(canvas.ClipBox());
  if (visible.IsEmpty()) return;
  const bool blend = mode == BlendMode::kBlend || fade < 255;

  const int64_t srcW = src.Width(), srcH = src.Height();
  const int64_t dstW = dest.Width(), dstH = dest.Height();
  const bool sameWidth = srcW == dstW;

  // Source column of every visible destination column: the source pixel the
  // destination pixel's centre falls on.
  thread_local std::vector<int> columns;
  if (!sameWidth) {
    columns.resize(static_cast<size_t>(visible.Width()));
    for (int x = visible.left; x < visible.right; ++x) {
      columns[x - visible.left] =
          src.left + static_cast<int>(((x - dest.left) * 2 + 1) * srcW / (2 * dstW));
    }
  }
  uint32_t* gathered = sameWidth ? nullptr : ScratchRow(visible.Width());

  Bitmap& target = canvas.Target();
  for (int y = visible.top; y < visible.bottom; ++y) {
    int x0, x1;
    if (!canvas.RowSpan(y, visible, x0, x1)) continue;
    const int count = x1 - x0;
    const int sy = src.top + static_cast<int>(((y - dest.top) * 2 + 1) * srcH / (2 * dstH));
    const uint32_t* in = source.Row(sy);
    uint32_t* out = target.Row(y) + x0;
    const uint32_t* from;
    if (sameWidth) {
      from = in + src.left + (x0 - dest.left);
    } else {
      const int* map = columns.data() + (x0 - visible.left);
      for (int i = 0; i < count; ++i) gathered[i] = in[map[i]];
      from = gathered;
    }
    if (!blend) {
      std::memcpy(out, from, static_cast<size_t>(count) * sizeof(uint32_t));
    } else if (fade == 255) {
      BlendRow(out, from, count);
    } else {
      for (int i = 0; i < count; ++i) out[i] = BlendPixel(out[i], ScalePixel(from[i], fade));
    }
  }
}

void TileBitmapPart(Canvas& canvas, const Bitmap& source, const Rect& srcPart, const Rect& dest,
                    const Rect& paintArea, BlendMode mode, uint8_t fade, bool tileX, bool tileY) {
  const Rect src = srcPart.Intersect(source.Bounds());
  if (src.IsEmpty() || dest.IsEmpty()) return;
  const Rect visible = dest.Intersect(paintArea).Intersect(canvas.ClipBox());
  if (visible.IsEmpty()) return;
  const int stepX = tileX ? src.Width() : dest.Width();
  const int stepY = tileY ? src.Height() : dest.Height();
  // Start at the first repetition that reaches the visible part, so a tiny
  // tile over a large area costs only what is repainted.
  const int firstX = dest.left + (visible.left - dest.left) / stepX * stepX;
  const int firstY = dest.top + (visible.top - dest.top) / stepY * stepY;
  for (int y = firstY; y < visible.bottom; y += stepY) {
    const int bottom = std::min(y + stepY, dest.bottom);
    Rect part = src;
    if (tileY) part.bottom = src.top + (bottom - y);
    for (int x = firstX; x < visible.right; x += stepX) {
      const int right = std::min(x + stepX, dest.right);
      if (tileX) part.right = src.left + (right - x);
      DrawBitmapPart(canvas, source, part, {x, y, right, bottom}, paintArea, mode, fade);
    }
  }
}

}  // namespace DuiLib
