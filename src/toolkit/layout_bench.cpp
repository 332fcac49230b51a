// The installer's main window from end to end: opening the skin archive,
// building the layout, laying it out at 700 × 420 and painting the full
// frame; and the full repaint against a plain copy of a 700 × 420 frame.
//
//   layout_bench [--skin=<skin.7z>] [benchmark options]
//
// Without --skin the archive is looked for where the build packs it, two
// folders above this program.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "toolkit/layout_builder.h"
#include "toolkit/skin_archive.h"
#include "toolkit/window_context.h"

namespace {

using namespace DuiLib;

constexpr int kWidth = 700;
constexpr int kHeight = 420;

std::filesystem::path g_archivePath;

std::vector<uint8_t> ReadArchiveBytes() {
  std::ifstream in(g_archivePath, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Opens the process's skin archive once for the benchmarks that read from it.
bool EnsureSkinOpen(benchmark::State& state) {
  if (SkinSettings::HasOpenArchive()) return true;
  SkinSettings::SetArchiveFormat7z(true);
  if (!SkinSettings::OpenArchiveFromMemory(ReadArchiveBytes())) {
    state.SkipWithError("skin archive missing or unreadable (use --skin=<skin.7z>)");
    return false;
  }
  return true;
}

bool BuildMainWindow(CWindowContext& window) {
  XmlError error;
  std::unique_ptr<CControlUI> root = BuildLayoutFromSkin(L"MainWnd.xml", nullptr, window, error);
  if (!root) return false;
  window.AttachRoot(std::move(root));
  window.SetClientSize({kWidth, kHeight});
  return true;
}

void BM_OpenSkinArchive(benchmark::State& state) {
  const std::vector<uint8_t> bytes = ReadArchiveBytes();
  for (auto _ : state) {
    std::unique_ptr<SkinArchive> archive = SkinArchive::Open(bytes.data(), bytes.size());
    if (!archive) {
      state.SkipWithError("skin archive missing or unreadable (use --skin=<skin.7z>)");
      return;
    }
    benchmark::DoNotOptimize(archive.get());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_OpenSkinArchive)->Unit(benchmark::kMillisecond);

void BM_BuildLayout(benchmark::State& state) {
  if (!EnsureSkinOpen(state)) return;
  for (auto _ : state) {
    CWindowContext window;
    if (!BuildMainWindow(window)) {
      state.SkipWithError("MainWnd.xml did not build");
      return;
    }
    benchmark::DoNotOptimize(window.GetRoot());
  }
}
BENCHMARK(BM_BuildLayout)->Unit(benchmark::kMicrosecond);

void BM_LayOut(benchmark::State& state) {
  if (!EnsureSkinOpen(state)) return;
  CWindowContext window;
  if (!BuildMainWindow(window)) {
    state.SkipWithError("MainWnd.xml did not build");
    return;
  }
  for (auto _ : state) {
    window.NeedUpdate();
    window.LayoutIfNeeded();
  }
}
BENCHMARK(BM_LayOut)->Unit(benchmark::kMicrosecond);

// The full repaint of page 0 (the first page the user sees), images already
// in the window's cache, and the same frame copied with memcpy; the counter
// "x_memcpy" is their ratio.
void BM_PaintFullFrame(benchmark::State& state) {
  if (!EnsureSkinOpen(state)) return;
  CWindowContext window;
  if (!BuildMainWindow(window)) {
    state.SkipWithError("MainWnd.xml did not build");
    return;
  }
  Bitmap frame(kWidth, kHeight);
  Bitmap copy(kWidth, kHeight);
  {
    Canvas canvas(frame);
    window.Paint(canvas, frame.Bounds());  // loads the images
  }
  using Clock = std::chrono::steady_clock;
  Clock::duration painting{};
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    Canvas canvas(frame);
    window.Paint(canvas, frame.Bounds());
    benchmark::ClobberMemory();
    painting += Clock::now() - start;
  }
  const std::size_t bytes = std::size_t(kWidth) * kHeight * 4;
  const int copies = 2000;
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < copies; ++i) {
    std::memcpy(copy.Data(), frame.Data(), bytes);
    benchmark::ClobberMemory();
  }
  const double copyNs = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / copies;
  const double paintNs = std::chrono::duration<double, std::nano>(painting).count() /
                         static_cast<double>(state.iterations());
  state.counters["memcpy_us"] = copyNs / 1000.0;
  state.counters["x_memcpy"] = paintNs / copyNs;
}
BENCHMARK(BM_PaintFullFrame)->Unit(benchmark::kMicrosecond);

void BM_Memcpy700x420(benchmark::State& state) {
  const std::size_t bytes = std::size_t(kWidth) * kHeight * 4;
  std::vector<uint8_t> from(bytes, 0x5A);
  std::vector<uint8_t> to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_Memcpy700x420)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  g_archivePath = std::filesystem::absolute(argv[0]).parent_path().parent_path().parent_path() / "skin.7z";
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--skin=", 7) == 0) {
      g_archivePath = argv[i] + 7;
    } else {
      rest.push_back(argv[i]);
    }
  }
  int restCount = static_cast<int>(rest.size());
  benchmark::Initialize(&restCount, rest.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
