#include "engine/curl_downloader.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "app/utils_text.h"

namespace {

struct FileSink {
  int fd;
  bool failed = false;
};

size_t WriteToFile(char* data, size_t size, size_t count, void* user) {
  auto* sink = static_cast<FileSink*>(user);
  const size_t total = size * count;
  size_t written = 0;
  while (written < total) {
    const ssize_t w = write(sink->fd, data + written, total - written);
    if (w < 0) {
      if (errno == EINTR) continue;
      sink->failed = true;
      return 0;  // libcurl ends the transfer with a write error
    }
    written += static_cast<size_t>(w);
  }
  return total;
}

int Progress(void* user, curl_off_t dltotal, curl_off_t dlnow, curl_off_t, curl_off_t) {
  auto* downloader = static_cast<CCurlDownloader*>(user);
  return downloader->OnProgress(static_cast<uint64_t>(dlnow), static_cast<uint64_t>(dltotal)) ? 0 : 1;
}

}  // namespace

CCurlDownloader::CCurlDownloader(ProgressCallback callback, std::wstring url,
                                 std::wstring destPath, RetryPause pause)
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

CCurlDownloader::~CCurlDownloader() {
  finished_ = true;
  worker_.Join();
}

bool CCurlDownloader::Start() { return worker_.Resume(); }

bool CCurlDownloader::OnProgress(uint64_t done, uint64_t total) {
  if (finished_) return false;
  if (total > 0 && (done != lastDone_ || total != lastTotal_)) {
    lastDone_ = done;
    lastTotal_ = total;
    callback_(1002, static_cast<double>(done) / static_cast<double>(total), L"");
  }
  return true;
}

void CCurlDownloader::Run() {
  Download::Run(callback_, url_, destPath_,
                [this](const std::wstring& address) { return Attempt(address); }, pause_,
                finished_);
}

int32_t CCurlDownloader::Attempt(const std::wstring& address) {
  // The package is run once downloaded, so the file is made executable, as
  // any file with the program extension is on Windows.
  const std::string path = Utils::ToNarrow(destPath_, Utils::kCodePageUtf8);
  FileSink sink{open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0755)};
  if (sink.fd < 0) return CURLE_WRITE_ERROR;
  CURL* curl = curl_easy_init();
  if (!curl) {
    close(sink.fd);
    return CURLE_FAILED_INIT;
  }
  const std::string narrowAddress = Utils::ToNarrow(address, Utils::kCodePageUtf8);
  lastDone_ = lastTotal_ = UINT64_MAX;
  curl_easy_setopt(curl, CURLOPT_URL, narrowAddress.c_str());
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 512L * 1024);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &WriteToFile);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Progress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
  // Like the system's service, give up on a connection that stalls.
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 60L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 120L);
  const CURLcode code = curl_easy_perform(curl);
  curl_easy_cleanup(curl);
  const bool closed = close(sink.fd) == 0;
  if (code != CURLE_OK) return static_cast<int32_t>(code);
  return closed ? 0 : static_cast<int32_t>(CURLE_WRITE_ERROR);
}

std::unique_ptr<CDownloader> CreateDownloader(ProgressCallback callback, std::wstring url,
                                              std::wstring destPath, RetryPause pause) {
  return std::make_unique<CCurlDownloader>(std::move(callback), std::move(url),
                                           std::move(destPath), std::move(pause));
}
