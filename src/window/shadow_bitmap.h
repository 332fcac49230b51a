// The drop shadow's pixels, computed from the shape of the parent window.
// Pure computation: the shadow window (`CWndShadow`) hands the result to the
// system's layered-window update.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "toolkit/image.h"
#include "toolkit/render.h"

namespace DuiLib {

// The shadow's parameters with the ranges their setters accept. A setter
// given a value outside its range returns false and keeps the earlier value.
class ShadowParams {
 public:
  bool SetSize(int size);            // -20..20, default 0
  bool SetSharpness(int sharpness);  // 0..20, default 5
  bool SetDarkness(int darkness);    // 0..255, default 150
  bool SetPosition(int x, int y);    // -20..20 each, default 5, 5
  // Any value: lowest byte red, then green, then blue; the top byte is
  // ignored (a COLORREF).
  void SetColor(uint32_t color) { color_ = color; }

  int Size() const { return size_; }
  int Sharpness() const { return sharpness_; }
  int Darkness() const { return darkness_; }
  int OffsetX() const { return offsetX_; }
  int OffsetY() const { return offsetY_; }
  uint32_t Color() const { return color_; }

 private:
  int8_t size_ = 0;
  uint8_t sharpness_ = 5;
  uint8_t darkness_ = 150;
  int8_t offsetX_ = 5;
  int8_t offsetY_ = 5;
  uint32_t color_ = 0;
};

// Whether the point (x, y) of the parent window (window coordinates) lies in
// its window region.
using RegionTest = std::function<bool(int x, int y)>;

// The rounded-rectangle region a window with "roundcorner" gets: the
// rectangle [left, right) × [top, bottom) with corners cut by quarter ellipses
// of `ellipseWidth` × `ellipseHeight`, pixel for pixel as the system's
// rounded-rectangle regions are built.
class RoundRectRegion {
 public:
  RoundRectRegion(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
  bool Contains(int x, int y) const;

 private:
  int left_, top_, right_, bottom_;
  int ellipseWidth_, ellipseHeight_;
  std::vector<int> spans_;  // per row: first column inside, one past the last
};

struct ShadowBitmap {
  Bitmap bitmap;    // (W + 2 × size) × (H + 2 × size) premultiplied pixels
  int offsetX = 0;  // where its top-left goes, relative to the parent's
  int offsetY = 0;  // top-left: (offset − size) on each axis
};

// The blur kernel: (2K + 1) × (2K + 1) premultiplied pixels, row by row,
// K = the larger of size and sharpness. Within the centre radius (size −
// sharpness, when positive) the full darkness; out to K it falls off linearly
// over sharpness + 1 pixels; beyond K it is 0.
std::vector<uint32_t> ShadowKernel(const ShadowParams& params);

// Computes the shadow of a `width` × `height` parent whose shape is `inside`
// (null: the parent has no region, and the shadow is fully transparent).
// A parent row whose inside part is narrower than the shadow size ends at its
// last inside column.
ShadowBitmap ComputeShadow(int width, int height, const RegionTest& inside,
                           const ShadowParams& params);

// The shadow drawn from an image instead ("shadowimage"): the whole image in
// nine parts around a `width` × `height` parent, with the corner widths
// `corner` plus `holeOffset` on each side, the centre left empty, at full
// opacity. The bitmap is (W + corner left + corner right) ×
// (H + corner top + corner bottom) and goes to (−corner left, −corner top)
// relative to the parent.
ShadowBitmap ComputeImageShadow(int width, int height, const Image& image, const Rect& corner,
                                const Rect& holeOffset);

}  // namespace DuiLib
