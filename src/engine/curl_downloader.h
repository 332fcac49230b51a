// The download where the system has no URL download service: libcurl, with
// the contract of the Windows downloader (synchronous attempts on the worker
// thread, progress as bytes done and total, stop when asked to abort).
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "engine/downloader.h"
#include "engine/thread.h"

class CCurlDownloader : public CDownloader {
 public:
  // Creates the worker suspended, named "ABDEF".
  CCurlDownloader(ProgressCallback callback, std::wstring url, std::wstring destPath,
                  RetryPause pause = {});
  // Asks a running download to stop at its next progress report, then waits
  // for the worker; a worker never started is discarded.
  ~CCurlDownloader() override;

  bool Start() override;

  // The progress answer: false (abort) once the downloader is going away;
  // otherwise raises 1002 with done / total when the total is known and the
  // counts changed since the last report.
  bool OnProgress(uint64_t done, uint64_t total);

 private:
  void Run();
  // One attempt: 0 on success, otherwise the libcurl result code.
  int32_t Attempt(const std::wstring& address);

  ProgressCallback callback_;
  std::wstring destPath_;
  std::wstring url_;
  RetryPause pause_;
  std::atomic<bool> finished_{false};
  uint64_t lastDone_ = UINT64_MAX;
  uint64_t lastTotal_ = UINT64_MAX;
  Utils::Thread worker_;
};
