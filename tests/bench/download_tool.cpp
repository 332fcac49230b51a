// Downloads one address into one file with the platform's downloader, the way
// the install task does, and prints the wall time from Start to the terminal
// event. Used by engine_bench.sh.
//
//   qv_download_tool URL DEST
#include <curl/curl.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>

#include "app/utils_text.h"
#include "engine/downloader.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s URL DEST\n", argv[0]);
    return 2;
  }
  curl_global_init(CURL_GLOBAL_DEFAULT);
  std::mutex mutex;
  std::condition_variable done;
  int32_t terminal = 0;
  double value = 0;
  long progress = 0;
  const auto start = std::chrono::steady_clock::now();
  {
    auto downloader = CreateDownloader(
        [&](int32_t code, double v, const wchar_t*) {
          std::lock_guard<std::mutex> lock(mutex);
          if (code == 1002) ++progress;
          if (code == 1003 || code == 1004) {
            terminal = code;
            value = v;
            done.notify_all();
          }
        },
        Utils::ToWide(argv[1], Utils::kCodePageUtf8), Utils::ToWide(argv[2], Utils::kCodePageUtf8));
    downloader->Start();
    std::unique_lock<std::mutex> lock(mutex);
    done.wait(lock, [&] { return terminal != 0; });
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("seconds %.4f event %d value %g progress-events %ld\n", seconds, terminal, value,
              progress);
  curl_global_cleanup();
  return terminal == 1003 ? 0 : 1;
}
