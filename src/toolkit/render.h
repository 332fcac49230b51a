// The toolkit's drawing surface and primitives.
//
// Everything is drawn into a `Bitmap` of 32-bit premultiplied pixels, laid
// out top-down like a Windows DIB section (in memory: blue, green, red,
// opacity; as a 32-bit value: opacity in the top byte, then red, green,
// blue). A `Canvas` adds the clip: a rectangle and, while a control with
// "borderround" paints, a rounded rectangle; every primitive writes only
// inside the current clip and the area being repainted.
//
// Stretching is nearest-pixel: every destination pixel takes the source pixel
// its centre falls on. Blending uses the premultiplied rule
// dst = src + dst × (255 − src opacity) ÷ 255, rounded, with no division per
// pixel.
//
// Nothing here is thread-safe; a canvas is used by the thread that paints.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace DuiLib {

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  constexpr Rect() = default;
  constexpr Rect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}

  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  // True when the rectangle holds no pixel (zero or negative width or height).
  constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
  constexpr bool IsZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  constexpr bool Contains(int x, int y) const {
    return x >= left && x < right && y >= top && y < bottom;
  }
  // The common part of both rectangles; empty (possibly with negative size)
  // when they do not overlap.
  Rect Intersect(const Rect& other) const;
  bool Intersects(const Rect& other) const { return !Intersect(other).IsEmpty(); }
  Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  constexpr bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  constexpr bool operator!=(const Rect& o) const { return !(*this == o); }
};

// Colour helpers. A colour is a 32-bit AARRGGBB value as written in layout
// documents ("#FF0000FF" is opaque blue); a pixel is the same layout with its
// colour channels premultiplied by the opacity.
constexpr uint32_t ColorAlpha(uint32_t argb) { return argb >> 24; }
constexpr uint32_t MakeArgb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}
// x × a ÷ 255, rounded to nearest, for 8-bit x and a.
constexpr uint32_t MulDiv255(uint32_t x, uint32_t a) {
  uint32_t t = x * a + 128;
  return (t + (t >> 8)) >> 8;
}
// The pixel of an unpremultiplied AARRGGBB colour (rounded).
uint32_t Premultiply(uint32_t argb);
// `pixel` (premultiplied) with every channel scaled by `alpha` ÷ 255.
uint32_t ScalePixel(uint32_t pixel, uint32_t alpha);
// Premultiplied "source over": the result of drawing `src` over `dst`,
// every channel rounded to nearest. The four channels are spread over the
// 16-bit lanes of one 64-bit value so that one multiplication scales them all.
inline uint32_t BlendPixel(uint32_t dst, uint32_t src) {
  const uint64_t inv = 255 - (src >> 24);
  const uint64_t lanes = 0x00FF00FF00FF00FFull;
  uint64_t t = ((dst & 0x00FF00FFull) | (static_cast<uint64_t>(dst & 0xFF00FF00u) << 24)) * inv +
               0x0080008000800080ull;
  t = ((t + ((t >> 8) & lanes)) >> 8) & lanes;
  return src + (static_cast<uint32_t>(t & 0x00FF00FFu) | static_cast<uint32_t>(t >> 24 & 0xFF00FF00u));
}

// For each row of a `width` × `height` rounded rectangle whose corners are
// quarters of an ellipse `ellipseWidth` × `ellipseHeight`, the first column
// inside and one past the last, relative to the rectangle (`spans` gets
// 2 × height values). A pixel is inside when its centre is.
void RoundRectRowSpans(int width, int height, int ellipseWidth, int ellipseHeight,
                       std::vector<int>& spans);

// A 32-bit premultiplied, top-down pixel buffer. Owns its pixels.
class Bitmap {
 public:
  Bitmap() = default;
  // A bitmap of `width` × `height` pixels, all 0 (transparent). Negative
  // sizes count as 0.
  Bitmap(int width, int height);

  void Reset(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool IsEmpty() const { return width_ <= 0 || height_ <= 0; }
  Rect Bounds() const { return {0, 0, width_, height_}; }

  uint32_t* Data() { return pixels_.data(); }
  const uint32_t* Data() const { return pixels_.data(); }
  uint32_t* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const uint32_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  // Pixel access without bounds checks beyond a debug assertion.
  uint32_t Pixel(int x, int y) const { return Row(y)[x]; }
  void SetPixel(int x, int y, uint32_t value) { Row(y)[x] = value; }
  void Fill(uint32_t value);

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

// A bitmap with its clip. The base clip is the whole bitmap; `PushClip` and
// `PushRoundClip` narrow it until the matching `PopClip` (use `ClipScope`).
// The canvas does not own the bitmap.
class Canvas {
 public:
  explicit Canvas(Bitmap& target);

  Bitmap& Target() { return *target_; }
  // Bounding box of the current clip.
  const Rect& ClipBox() const { return clips_.back().box; }

  // Narrows the clip to `rect`.
  void PushClip(const Rect& rect);
  // Narrows the clip to the rounded rectangle `rect` whose corners are
  // quarters of an ellipse `ellipseWidth` × `ellipseHeight` wide and high, the
  // shape a control with "borderround" paints in. Sizes of 0 give a plain
  // rectangle.
  void PushRoundClip(const Rect& rect, int ellipseWidth, int ellipseHeight);
  void PopClip();

  // The columns [x0, x1) of row `y` inside the clip and inside `area`; false
  // when the row has none. This is what every primitive writes through.
  bool RowSpan(int y, const Rect& area, int& x0, int& x1) const;

 private:
  struct Clip {
    Rect box;
    // Per row of `box`, the first column inside and one past the last;
    // empty for a plain rectangle.
    std::vector<int> spans;
  };
  Bitmap* target_;
  std::vector<Clip> clips_;
};

// Keeps a clip pushed for the lifetime of the scope.
class ClipScope {
 public:
  ClipScope(Canvas& canvas, const Rect& rect) : canvas_(canvas) { canvas.PushClip(rect); }
  ClipScope(Canvas& canvas, const Rect& rect, int ellipseWidth, int ellipseHeight)
      : canvas_(canvas) {
    canvas.PushRoundClip(rect, ellipseWidth, ellipseHeight);
  }
  ~ClipScope() { canvas_.PopClip(); }
  ClipScope(const ClipScope&) = delete;
  ClipScope& operator=(const ClipScope&) = delete;

 private:
  Canvas& canvas_;
};

// Paints `rect` (clipped to `paintArea` and the canvas clip) with the layout
// colour `argb`: nothing at opacity 00, an opaque fill at FF, a blend
// otherwise. This is the background-colour rule of every control.
void FillColor(Canvas& canvas, const Rect& rect, const Rect& paintArea, uint32_t argb);

// How `DrawBitmapPart` puts source pixels down.
enum class BlendMode {
  kCopy,   // opaque copy: the source pixels replace the destination
  kBlend,  // premultiplied source-over with the per-pixel opacity
};

// Draws the part `src` of `source` into `dest` on the canvas, stretched
// (nearest pixel) when the sizes differ, clipped to `paintArea` and the canvas
// clip. `fade` (0–255) scales the source opacity; with `fade` below 255 the
// part is always blended. Parts outside `source` and empty rectangles draw
// nothing.
void DrawBitmapPart(Canvas& canvas, const Bitmap& source, const Rect& src, const Rect& dest,
                    const Rect& paintArea, BlendMode mode, uint8_t fade = 255);

// Draws `src` of `source` repeated at its own size from the top-left of
// `dest` (horizontally when `tileX`, vertically when `tileY`; stretched along
// an axis that is not tiled), the last repetition cut off at `dest`'s edge.
void TileBitmapPart(Canvas& canvas, const Bitmap& source, const Rect& src, const Rect& dest,
                    const Rect& paintArea, BlendMode mode, uint8_t fade, bool tileX, bool tileY);

}  // namespace DuiLib
