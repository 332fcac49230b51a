// The package download: fetches the setup package from the download address
// into a file, on a worker thread of its own, and reports on the install
// event callback:
//   1001 (1)  the worker has started
//   1002 (f)  progress, the fraction f of the bytes done (only when the total
//             is known)
//   1003 (0, "URLDownloadToFile")       the file was downloaded
//   1004 (1)                            no destination path: nothing is done
//   1004 (code, "URLDownloadToFile")    all three attempts failed; the value is
//                                       the result code of the last one
// Exactly one of 1003 and 1004 ends every run. Failed attempts are retried up
// to three attempts in all, each followed by a pause of 1000 ms.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "engine/progress_callback.h"

// The downloader interface; owners hold and destroy downloaders through it.
class CDownloader {
 public:
  virtual ~CDownloader() = default;
  // Begins the download on the worker thread; true when the worker was
  // resumed. The download runs once: a later Start starts nothing new.
  virtual bool Start() = 0;
};

// The pause after a failed attempt; tests pass one that does not sleep.
using RetryPause = std::function<void(unsigned milliseconds)>;

// The platform's downloader: the system's URL download service on Windows,
// libcurl elsewhere. An empty `pause` sleeps.
std::unique_ptr<CDownloader> CreateDownloader(ProgressCallback callback, std::wstring url,
                                              std::wstring destPath, RetryPause pause = {});

// The address as it is sent: UTF-8 bytes 0x21-0x7E stay (so escapes already
// present stay as they are), the space becomes "+", every other byte becomes
// "%" and two upper-case hexadecimal digits.
std::wstring EscapeUrl(std::wstring_view url);

namespace Download {

constexpr int kAttempts = 3;
constexpr unsigned kRetryPauseMilliseconds = 1000;
extern const wchar_t kEventText[];  // "URLDownloadToFile"

// One attempt: downloads `address` into the destination file; 0 on success,
// otherwise the failure code.
using Attempt = std::function<int32_t(const std::wstring& address)>;

// The download as both platforms run it on their worker thread, after their
// own set-up: 1001, the destination check, the address ("file:///" addresses
// unchanged, all others escaped), the attempts with their pauses, and the
// terminal event. Once `stopping` is set no further attempt is made.
void Run(const ProgressCallback& callback, const std::wstring& url, const std::wstring& destPath,
         const Attempt& attempt, const RetryPause& pause, const std::atomic<bool>& stopping);

// The sleeping pause.
void Sleep(unsigned milliseconds);

}  // namespace Download
