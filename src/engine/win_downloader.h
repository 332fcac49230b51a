// The package download on the system's URL download service
// (URLDownloadToFileW with a status callback).
#pragma once

#include <windows.h>
#include <urlmon.h>

#include <atomic>
#include <string>

#include "engine/downloader.h"
#include "engine/thread.h"

class CWinDownloader : public CDownloader {
 public:
  // The status callback handed to the URL download service. It is not
  // reference-counted: the downloader that holds it decides its lifetime.
  // (System interfaces have no virtual destructor by design.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
  class CBindCallback : public IBindStatusCallbackEx {
   public:
    CBindCallback() = default;
    // Sets finished, so that a download still running is told to abort.
    virtual ~CBindCallback();
    CBindCallback(const CBindCallback&) = delete;
    CBindCallback& operator=(const CBindCallback&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD reserved, IBinding* binding) override;
    HRESULT STDMETHODCALLTYPE GetPriority(LONG* priority) override;
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD reserved) override;
    // Raises 1002 with progress / maximum when the maximum is known; answers
    // E_ABORT once finished is set.
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode,
                                         LPCWSTR statusText) override;
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT result, LPCWSTR error) override;
    // Asks for UTF-8 as the code page of the address.
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* bindFlags, BINDINFO* bindInfo) override;
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD flags, DWORD size, FORMATETC* format,
                                              STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID riid, IUnknown* object) override;
    HRESULT STDMETHODCALLTYPE GetBindInfoEx(DWORD* bindFlags, BINDINFO* bindInfo,
                                            DWORD* bindFlags2, DWORD* reserved) override;

    ProgressCallback callback;
    std::atomic<bool> finished{false};
    IBinding* binding = nullptr;  // kept, not used, no reference taken
  };
#pragma GCC diagnostic pop

  // Creates the worker suspended, named "ABDEF".
  CWinDownloader(ProgressCallback callback, std::wstring url, std::wstring destPath,
                 RetryPause pause = {});
  // Tells a running download to abort at its next progress notification,
  // waits for the worker (one never started is discarded), then releases the
  // status callback.
  ~CWinDownloader() override;

  // Hands the callback to the status callback, then resumes the worker.
  bool Start() override;

 private:
  void Run();

  CBindCallback bindCallback_;
  ProgressCallback callback_;
  std::wstring destPath_;
  std::wstring url_;
  RetryPause pause_;
  Utils::Thread worker_;
};
