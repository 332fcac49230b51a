#include "utils_text.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <string>

namespace Utils {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// Strict UTF-8 decoding; each maximal invalid subsequence becomes U+FFFD.
std::wstring DecodeUtf8(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char c = p[i];
    if (c < 0x80) {
      out.push_back(static_cast<wchar_t>(c));
      ++i;
      continue;
    }
    int len = 0;
    uint32_t cp = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      len = 2;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      len = 3;
      cp = c & 0x0F;
      if (c == 0xE0) lo = 0xA0;
      if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      len = 4;
      cp = c & 0x07;
      if (c == 0xF0) lo = 0x90;
      if (c == 0xF4) hi = 0x8F;
    } else {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    size_t j = 1;
    for (; j < static_cast<size_t>(len); ++j) {
      if (i + j >= n) break;
      const unsigned char cc = p[i + j];
      const unsigned char l = j == 1 ? lo : 0x80;
      const unsigned char h = j == 1 ? hi : 0xBF;
      if (cc < l || cc > h) break;
      cp = (cp << 6) | (cc & 0x3F);
    }
    if (j == static_cast<size_t>(len)) {
      out.push_back(static_cast<wchar_t>(cp));
      i += j;
    } else {
      out.push_back(kReplacement);
      i += j;
    }
  }
  return out;
}

std::string EncodeUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t wc : text) {
    auto cp = static_cast<uint32_t>(wc);
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

// Any other code page goes through iconv under its Windows name ("CP936").
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of `in`; bytes that cannot be converted are skipped and
  // reported through `onInvalid` so the caller can put a replacement there.
  template <typename OnInvalid>
  bool Run(const char* in, size_t inSize, std::string& out, OnInvalid onInvalid) {
    char* src = const_cast<char*>(in);
    size_t left = inSize;
    char buffer[4096];
    while (left > 0) {
      char* dst = buffer;
      size_t room = sizeof buffer;
      const size_t r = iconv(cd_, &src, &left, &dst, &room);
      out.append(buffer, static_cast<size_t>(dst - buffer));
      if (r == static_cast<size_t>(-1)) {
        if (errno == E2BIG) continue;
        if (errno == EILSEQ || errno == EINVAL) {
          onInvalid(out);
          ++src;
          --left;
          continue;
        }
        return false;
      }
    }
    return true;
  }

 private:
  iconv_t cd_;
};

std::string CodePageName(unsigned codePage) { return "CP" + std::to_string(codePage); }

}  // namespace

std::wstring ToWide(std::string_view bytes, unsigned codePage) {
  if (bytes.empty()) return {};
  if (codePage == kCodePageAnsi || codePage == kCodePageUtf8) return DecodeUtf8(bytes);
  Iconv cd("UTF-8", CodePageName(codePage).c_str());
  if (!cd.ok()) return {};
  std::string utf8;
  if (!cd.Run(bytes.data(), bytes.size(), utf8, [](std::string& o) { o += "\xEF\xBF\xBD"; }))
    return {};
  return DecodeUtf8(utf8);
}

std::string ToNarrow(std::wstring_view text, unsigned codePage) {
  if (text.empty()) return {};
  const std::string utf8 = EncodeUtf8(text);
  if (codePage == kCodePageAnsi || codePage == kCodePageUtf8) return utf8;
  Iconv cd(CodePageName(codePage).c_str(), "UTF-8");
  if (!cd.ok()) return {};
  std::string out;
  if (!cd.Run(utf8.data(), utf8.size(), out, [](std::string& o) { o += '?'; })) return {};
  return out;
}

}  // namespace Utils
