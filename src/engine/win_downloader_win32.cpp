#include "engine/win_downloader.h"

#include "app/utils_path.h"

CWinDownloader::CBindCallback::~CBindCallback() {
  finished = true;
  callback = nullptr;
}

HRESULT CWinDownloader::CBindCallback::QueryInterface(REFIID, void**) { return E_NOTIMPL; }
ULONG CWinDownloader::CBindCallback::AddRef() { return 0; }
ULONG CWinDownloader::CBindCallback::Release() { return 0; }

HRESULT CWinDownloader::CBindCallback::OnStartBinding(DWORD, IBinding* newBinding) {
  binding = newBinding;
  return E_NOTIMPL;
}

HRESULT CWinDownloader::CBindCallback::GetPriority(LONG*) { return E_NOTIMPL; }
HRESULT CWinDownloader::CBindCallback::OnLowResource(DWORD) { return E_NOTIMPL; }

HRESULT CWinDownloader::CBindCallback::OnProgress(ULONG progress, ULONG progressMax, ULONG,
                                                  LPCWSTR) {
  if (finished) return E_ABORT;
  if (progressMax > 0 && callback)
    callback(1002, static_cast<double>(progress) / static_cast<double>(progressMax), L"");
  return S_OK;
}

HRESULT CWinDownloader::CBindCallback::OnStopBinding(HRESULT, LPCWSTR) { return E_NOTIMPL; }

HRESULT CWinDownloader::CBindCallback::GetBindInfo(DWORD*, BINDINFO* bindInfo) {
  if (bindInfo) bindInfo->dwCodePage = CP_UTF8;
  return E_NOTIMPL;
}

HRESULT CWinDownloader::CBindCallback::OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) {
  return E_NOTIMPL;
}
HRESULT CWinDownloader::CBindCallback::OnObjectAvailable(REFIID, IUnknown*) { return E_NOTIMPL; }
HRESULT CWinDownloader::CBindCallback::GetBindInfoEx(DWORD*, BINDINFO*, DWORD*, DWORD*) {
  return E_NOTIMPL;
}

CWinDownloader::CWinDownloader(ProgressCallback callback, std::wstring url, std::wstring destPath,
                               RetryPause pause)
    : callback_(std::move(callback)),
      destPath_(std::move(destPath)),
      url_(std::move(url)),
      pause_(std::move(pause)),
      worker_(
          [this](void*) -> uint32_t {
            Run();
            return 0;
          },
          nullptr, L"ABDEF") {}

CWinDownloader::~CWinDownloader() {
  // Without this the window thread would wait for the whole download.
  bindCallback_.finished = true;
  worker_.Join();
}

bool CWinDownloader::Start() {
  // Written before the worker runs, so it never sees it half-written.
  if (!bindCallback_.callback) bindCallback_.callback = callback_;
  return worker_.Resume();
}

void CWinDownloader::Run() {
  CoInitialize(nullptr);
  Download::Run(
      callback_, url_, destPath_,
      [this](const std::wstring& address) {
        HRESULT result =
            URLDownloadToFileW(nullptr, address.c_str(), destPath_.c_str(), 0, &bindCallback_);
        // Some implementations of the service answer success when they could
        // not write the file; without the file the attempt has failed.
        if (result == S_OK && !Utils::FileExists(destPath_))
          result = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        return static_cast<int32_t>(result);
      },
      pause_, bindCallback_.finished);
  CoUninitialize();
}

std::unique_ptr<CDownloader> CreateDownloader(ProgressCallback callback, std::wstring url,
                                              std::wstring destPath, RetryPause pause) {
  return std::make_unique<CWinDownloader>(std::move(callback), std::move(url),
                                          std::move(destPath), std::move(pause));
}
