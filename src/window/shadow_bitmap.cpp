#include "window/shadow_bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "toolkit/image_string.h"

namespace DuiLib {

bool ShadowParams::SetSize(int size) {
  if (size < -20 || size > 20) return false;
  size_ = static_cast<int8_t>(size);
  return true;
}

bool ShadowParams::SetSharpness(int sharpness) {
  if (sharpness < 0 || sharpness > 20) return false;
  sharpness_ = static_cast<uint8_t>(sharpness);
  return true;
}

bool ShadowParams::SetDarkness(int darkness) {
  if (darkness < 0 || darkness > 255) return false;
  darkness_ = static_cast<uint8_t>(darkness);
  return true;
}

bool ShadowParams::SetPosition(int x, int y) {
  if (x < -20 || x > 20 || y < -20 || y > 20) return false;
  offsetX_ = static_cast<int8_t>(x);
  offsetY_ = static_cast<int8_t>(y);
  return true;
}

RoundRectRegion::RoundRectRegion(int left, int top, int right, int bottom, int ellipseWidth,
                                 int ellipseHeight) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  // The system's rounded-rectangle regions leave out the right column and the
  // bottom row, which is why windows ask for (width + 1) × (height + 1).
  left_ = left;
  top_ = top;
  right_ = right - 1;
  bottom_ = bottom - 1;
  ellipseWidth_ = std::min(right_ - left_, std::abs(ellipseWidth));
  ellipseHeight_ = std::min(bottom_ - top_, std::abs(ellipseHeight));
  if (ellipseWidth_ < 2 || ellipseHeight_ < 2) ellipseWidth_ = ellipseHeight_ = 0;
  if (ellipseWidth_ > 0) {
    RoundRectRowSpans(right_ - left_, bottom_ - top_, ellipseWidth_, ellipseHeight_, spans_);
  }
}

bool RoundRectRegion::Contains(int x, int y) const {
  if (x < left_ || x >= right_ || y < top_ || y >= bottom_) return false;
  if (spans_.empty()) return true;
  const size_t row = static_cast<size_t>(y - top_) * 2;
  return x - left_ >= spans_[row] && x - left_ < spans_[row + 1];
}

namespace {

struct Span {
  int start;
  int end;
  bool IsEmpty() const { return start >= end; }
};

// The premultiplied shadow colour at `alpha`; `color` holds red in its lowest
// byte, then green, then blue.
uint32_t ShadowPixel(uint32_t color, uint32_t alpha) {
  const uint32_t red = color & 0xFF, green = (color >> 8) & 0xFF, blue = (color >> 16) & 0xFF;
  return (alpha << 24) | ((red * alpha / 255) << 16) | ((green * alpha / 255) << 8) |
         (blue * alpha / 255);
}

}  // namespace

std::vector<uint32_t> ShadowKernel(const ShadowParams& params) {
  const int s = params.Size(), p = params.Sharpness(), d = params.Darkness();
  const int K = std::max(s, p);
  const int R0 = s > p ? s - p : 0;
  const int side = 2 * K + 1;
  std::vector<uint32_t> kernel(static_cast<size_t>(side) * side, 0);
  for (int u = -K; u <= K; ++u) {
    for (int v = -K; v <= K; ++v) {
      const double dist = std::sqrt(static_cast<double>(u * u + v * v));
      uint32_t pixel = 0;
      if (dist < R0) {
        pixel = ShadowPixel(params.Color(), static_cast<uint32_t>(d));
      } else if (dist <= K) {
        const double alpha = (1.0 - (dist - R0) / (p + 1)) * d;
        pixel = ShadowPixel(params.Color(), static_cast<uint32_t>(std::max(alpha, 0.0)));
      }
      kernel[static_cast<size_t>(u + K) * side + (v + K)] = pixel;
    }
  }
  return kernel;
}

ShadowBitmap ComputeShadow(int width, int height, const RegionTest& inside,
                           const ShadowParams& params) {
  const int W = width, H = height;
  const int s = params.Size(), p = params.Sharpness(), d = params.Darkness();
  const int ox = params.OffsetX(), oy = params.OffsetY();
  const int SW = W + 2 * s, SH = H + 2 * s;
  const int N = std::max(H, SH);

  ShadowBitmap result;
  result.offsetX = ox - s;
  result.offsetY = oy - s;
  if (W <= 0 || H <= 0 || SW <= 0 || SH <= 0) return result;
  result.bitmap.Reset(SW, SH);
  Bitmap& out = result.bitmap;
  const Span empty{W, 0};

  // Step 1: the parent's spans, row by row. A row narrower than the shadow
  // size ends at its last inside column.
  std::vector<Span> parent(static_cast<size_t>(H), empty);
  if (inside) {
    for (int r = 0; r < H; ++r) {
      int start = 0;
      while (start < W && !inside(start, r)) ++start;
      if (start == W) continue;
      int end = W - 1;
      while (end > start && !inside(end, r)) --end;
      parent[r] = {start, end + 1};
    }
  }

  // Step 2: working spans in bitmap columns, with an empty row above and below.
  std::vector<Span> work(static_cast<size_t>(N) + 2, empty);
  for (int r = 0; r < H; ++r) {
    work[r + 1 + std::max(s, 0)] = {parent[r].start + s, parent[r].end + s};
  }

  // Step 3: erosion when the blur is sharper than the shadow is wide.
  std::vector<Span> next = work;
  for (int pass = 0; pass < p - s; ++pass) {
    for (int j = 1; j <= N; ++j) {
      next[j].start = std::max({work[j - 1].start, work[j].start, work[j + 1].start}) + 1;
      next[j].end = std::min({work[j - 1].end, work[j].end, work[j + 1].end}) - 1;
    }
    work.swap(next);
  }

  // Step 4: the kernel.
  const int K = std::max(s, p);
  const int side = 2 * K + 1;
  const std::vector<uint32_t> kernel = ShadowKernel(params);

  // Step 5: the span of shadow row i.
  const int shift = 1 + (s < 0 ? -s : 0);
  auto rowSpan = [&](int i) -> Span {
    const int k = i + shift;
    return k >= 0 && k < static_cast<int>(work.size()) ? work[k] : empty;
  };

  // Step 6: stamp the kernel along the edges of the shape, keeping the larger
  // pixel value.
  auto stamp = [&](int i, int j) {
    for (int u = -K; u <= K; ++u) {
      const int y = i + u;
      if (y < 0 || y >= SH) continue;
      uint32_t* row = out.Row(y);
      const uint32_t* k = kernel.data() + static_cast<size_t>(u + K) * side + K;
      for (int v = std::max(-K, -j); v <= K && j + v < SW; ++v) {
        row[j + v] = std::max(row[j + v], k[v]);
      }
    }
  };
  for (int i = K; i <= SH - K - 1; ++i) {
    const Span b = rowSpan(i);
    if (b.IsEmpty()) continue;
    const Span above = rowSpan(i - 1), below = rowSpan(i + 1);
    int j = b.start;
    for (; j < b.end && j < std::max(above.start, below.start) + 1; ++j) stamp(i, j);
    for (j = std::max(j, std::min(above.end, below.end) - 1); j < b.end; ++j) stamp(i, j);
  }

  // Step 7: fill the inside with the full shadow colour and cut out the part
  // under the parent window.
  const uint32_t centre = ShadowPixel(params.Color(), static_cast<uint32_t>(d));
  auto fill = [&](uint32_t* row, int from, int to, uint32_t value) {
    from = std::max(from, 0);
    to = std::min(to, SW);
    if (from < to) std::fill(row + from, row + to, value);
  };
  const int firstRow = std::min(K, std::max(s - oy, 0));
  const int endRow = std::min(std::max(SH - K, std::min(H + s - oy, H + 2 * s)), SH);
  for (int i = firstRow; i < endRow; ++i) {
    const Span b = rowSpan(i);
    uint32_t* row = out.Row(i);
    const int r = i - s + oy;
    if (r < 0 || r >= H) {
      fill(row, b.start, b.end, centre);
      continue;
    }
    const int a = parent[r].start + s - ox;
    const int e = parent[r].end + s - ox;
    fill(row, b.start, std::min(a, b.end), centre);
    fill(row, std::max(a, 0), std::min(e, SW), 0);
    fill(row, std::max(e, b.start), b.end, centre);
  }
  return result;
}

ShadowBitmap ComputeImageShadow(int width, int height, const Image& image, const Rect& corner,
                                const Rect& holeOffset) {
  ShadowBitmap result;
  result.offsetX = -corner.left;
  result.offsetY = -corner.top;
  const int w = width + corner.left + corner.right;
  const int h = height + corner.top + corner.bottom;
  if (w <= 0 || h <= 0 || image.bitmap.IsEmpty()) return result;
  result.bitmap.Reset(w, h);
  Canvas canvas(result.bitmap);
  const Rect parts{corner.left + holeOffset.left, corner.top + holeOffset.top,
                   corner.right + holeOffset.right, corner.bottom + holeOffset.bottom};
  DrawImageParts(canvas, image, result.bitmap.Bounds(), image.bitmap.Bounds(), parts,
                 result.bitmap.Bounds(), 255, true, false, false);
  return result;
}

}  // namespace DuiLib
