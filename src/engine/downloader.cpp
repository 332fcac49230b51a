#include "engine/downloader.h"

#include <chrono>
#include <thread>

#include "app/utils_text.h"

std::wstring EscapeUrl(std::wstring_view url) {
  static const char kHex[] = "0123456789ABCDEF";
  const std::string bytes = Utils::ToNarrow(url, Utils::kCodePageUtf8);
  std::string escaped;
  escaped.reserve(bytes.size() * 3);
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 0x21 && c <= 0x7E) {
      escaped.push_back(static_cast<char>(c));
    } else if (c == 0x20) {
      escaped.push_back('+');
    } else {
      escaped.push_back('%');
      escaped.push_back(kHex[c >> 4]);
      escaped.push_back(kHex[c & 0xF]);
    }
  }
  return Utils::ToWide(escaped, Utils::kCodePageUtf8);
}

namespace Download {

const wchar_t kEventText[] = L"URLDownloadToFile";

void Sleep(unsigned milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void Run(const ProgressCallback& callback, const std::wstring& url, const std::wstring& destPath,
         const Attempt& attempt, const RetryPause& pause, const std::atomic<bool>& stopping) {
  callback(1001, 1, L"");
  if (destPath.empty()) {
    callback(1004, 1, L"");
    return;
  }
  const std::wstring address = url.compare(0, 8, L"file:///") == 0 ? url : EscapeUrl(url);
  int32_t result = 0;
  for (int i = 0; i < kAttempts; ++i) {
    result = attempt(address);
    if (result == 0) break;
    if (stopping) break;
    if (pause) pause(kRetryPauseMilliseconds);
    else Sleep(kRetryPauseMilliseconds);
  }
  if (result == 0) callback(1003, 0, kEventText);
  else callback(1004, static_cast<double>(result), kEventText);
}

}  // namespace Download
