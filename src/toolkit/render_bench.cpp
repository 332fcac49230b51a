// Cost of painting the 700 × 420 main window against copying its pixels once.
// The full repaint should stay within about ten copies.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "toolkit/image_string.h"
#include "toolkit/render.h"

namespace DuiLib {
namespace {

constexpr int kWidth = 700, kHeight = 420;

std::shared_ptr<const Image> SolidImage(int w, int h, uint32_t pixel, bool alpha) {
  auto image = std::make_shared<Image>();
  image->bitmap.Reset(w, h);
  image->bitmap.Fill(pixel);
  image->hasAlpha = alpha;
  return image;
}

void BM_CopyFrame(benchmark::State& state) {
  std::vector<uint32_t> from(kWidth * kHeight, 0xFF336699u), to(kWidth * kHeight);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyFrame);

// A page like the installer's: an opaque background, a translucent panel, a
// nine-part progress bar, two buttons with transparency and a blended colour.
void BM_RepaintFrame(benchmark::State& state) {
  ImageCache cache(nullptr);
  cache.Add(L"bk.png", SolidImage(kWidth, kHeight, 0xFF204060u, false));
  cache.Add(L"panel.png", SolidImage(600, 300, 0x80202020u, true));
  cache.Add(L"bar.png", SolidImage(40, 10, 0xC0306090u, true));
  cache.Add(L"btn.png", SolidImage(120, 40, 0xE0406080u, true));
  ImageDrawRecord background(L"bk.png");
  ImageDrawRecord panel(L"panel.png");
  ImageDrawRecord bar(L"file='bar.png' corner='8,8,8,8'");
  ImageDrawRecord button(L"file='btn.png' corner='6,6,6,6'");
  Bitmap frame(kWidth, kHeight);
  const Rect all = frame.Bounds();
  for (auto _ : state) {
    Canvas canvas(frame);
    DrawImage(canvas, all, all, background, cache);
    DrawImage(canvas, {50, 60, 650, 360}, all, panel, cache);
    DrawImage(canvas, {58, 300, 641, 310}, all, bar, cache);
    {
      ClipScope round(canvas, {290, 370, 410, 410}, 8, 8);
      DrawImage(canvas, {290, 370, 410, 410}, all, button, cache);
    }
    DrawImage(canvas, {560, 10, 680, 50}, all, button, cache);
    FillColor(canvas, {0, 0, kWidth, 48}, all, 0x40FFFFFFu);
    benchmark::DoNotOptimize(frame.Data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RepaintFrame);

}  // namespace
}  // namespace DuiLib

BENCHMARK_MAIN();
