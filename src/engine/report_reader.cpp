#include "engine/report_reader.h"

#include <charconv>
#include <cstdint>
#include <limits>

#include "app/utils_text.h"

namespace Report {
namespace {

// A text value longer than this is delivered as the empty text.
constexpr size_t kMaxTextValue = 771;

const wchar_t kPackageFailText[] = L"安装包安装失败";
const wchar_t kUninstallerFailText[] = L"安装包卸载失败";

// The value after `key` when `line` begins with it, exactly and
// case-sensitively; nothing is skipped before the key. Compared inline: this
// runs for every key on every line of a talkative package.
template <size_t N>
bool MatchKey(const std::wstring& line, const wchar_t (&key)[N], size_t& valueStart) {
  constexpr size_t length = N - 1;
  if (line.size() < length) return false;
  const wchar_t* text = line.data();
  for (size_t i = 0; i < length; ++i)
    if (text[i] != key[i]) return false;
  valueStart = length;
  return true;
}

// A text value runs to the end of the line, so it is zero-terminated where it
// lies and is handed on without a copy.
const wchar_t* TextValue(const std::wstring& line, size_t start, bool cut) {
  const size_t length = line.size() - start;
  if (cut || length == 0 || length > kMaxTextValue) return L"";
  return line.c_str() + start;
}

std::wstring_view WordValue(const std::wstring& line, size_t start) {
  return Utils::TrimAscii(std::wstring_view(line).substr(start));
}

void SkipSpace(std::wstring_view& text) {
  size_t i = 0;
  while (i < text.size() && Utils::IsAsciiSpace(text[i])) ++i;
  text.remove_prefix(i);
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// An integer field: the default 0 when absent, then taken as an unsigned
// 32-bit number, so -1 becomes 4294967295.
double UnsignedField(const std::wstring& line, size_t start) {
  std::wstring_view text = std::wstring_view(line).substr(start);
  int64_t value = 0;
  ReadInteger(text, value);
  return static_cast<double>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

void Raise(const ProgressCallback& raise, int32_t code, double value, const wchar_t* text) {
  if (raise) raise(code, value, text);
}

// "UTF8", "ACP", or a code-page number read like a string-to-integer
// conversion. A number outside the 32-bit range gives 0, the system's ANSI
// code page, rather than some wrapped value.
int32_t PackageCodePage(std::wstring_view word) {
  if (word == L"UTF8") return 65001;
  if (word == L"ACP") return 0;
  int64_t number = 0;
  if (!ReadInteger(word, number)) return 0;
  if (number < std::numeric_limits<int32_t>::min() || number > std::numeric_limits<int32_t>::max())
    return 0;
  return static_cast<int32_t>(number);
}

}  // namespace

bool ReadInteger(std::wstring_view& text, int64_t& value) {
  std::wstring_view rest = text;
  SkipSpace(rest);
  bool negative = false;
  if (!rest.empty() && (rest[0] == L'+' || rest[0] == L'-')) {
    negative = rest[0] == L'-';
    rest.remove_prefix(1);
  }
  if (rest.empty() || !IsDigit(rest[0])) return false;
  // Accumulate as a negative number so that the lowest value fits.
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  int64_t accumulated = 0;
  bool saturated = false;
  size_t i = 0;
  for (; i < rest.size() && IsDigit(rest[i]); ++i) {
    const int digit = rest[i] - L'0';
    if (saturated) continue;
    if (accumulated < (kMin + digit) / 10) {
      saturated = true;
      continue;
    }
    accumulated = accumulated * 10 - digit;
  }
  if (saturated) {
    value = negative ? kMin : std::numeric_limits<int64_t>::max();
  } else if (negative) {
    value = accumulated;
  } else {
    value = accumulated == kMin ? std::numeric_limits<int64_t>::max() : -accumulated;
  }
  text = rest.substr(i);
  return true;
}

double ReadReal(std::wstring_view text, double fallback) {
  SkipSpace(text);
  bool negative = false;
  if (!text.empty() && (text[0] == L'+' || text[0] == L'-')) {
    negative = text[0] == L'-';
    text.remove_prefix(1);
  }
  // The longest prefix of the form digits [. digits] [e [sign] digits], with
  // at least one digit in the mantissa, copied as ASCII for from_chars.
  std::string number;
  size_t i = 0;
  size_t mantissaDigits = 0;
  while (i < text.size() && IsDigit(text[i])) number.push_back(static_cast<char>(text[i++])), ++mantissaDigits;
  if (i < text.size() && text[i] == L'.') {
    number.push_back('.');
    ++i;
    while (i < text.size() && IsDigit(text[i])) number.push_back(static_cast<char>(text[i++])), ++mantissaDigits;
  }
  if (mantissaDigits == 0) return fallback;
  if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == L'+' || text[j] == L'-')) exponent.push_back(static_cast<char>(text[j++]));
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) exponent.push_back(static_cast<char>(text[j++]));
      number += exponent;
    }
  }
  double value = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large gives infinity, too small zero, as the C library's reader does.
    const bool large = number.find('e') == std::string::npos ||
                       number[number.find('e') + 1] != '-';
    value = large ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (result.ec != std::errc()) {
    return fallback;
  }
  return negative ? -value : value;
}

void DecodeLine(std::string_view bytes, int32_t codePage, std::wstring& out) {
  const size_t zero = bytes.find('\0');
  if (zero != std::string_view::npos) bytes = bytes.substr(0, zero);
  out.clear();
  // Both the ANSI code page and UTF-8 leave ASCII as it is; most report lines
  // are plain ASCII, so they are widened directly.
  if (codePage == 0 || codePage == 65001) {
    bool ascii = true;
    for (char c : bytes) {
      if (static_cast<unsigned char>(c) >= 0x80) {
        ascii = false;
        break;
      }
    }
    if (ascii) {
      out.assign(bytes.begin(), bytes.end());
      return;
    }
  }
  out = Utils::ToWide(bytes, static_cast<unsigned>(codePage));
}

bool HandlePackageLine(const std::wstring& line, bool cut, PackageState& state,
                       const ProgressCallback& raise) {
  size_t v = 0;
  if (MatchKey(line, L"Progress=", v)) {
    Raise(raise, 2002, ReadReal(std::wstring_view(line).substr(v), 0.0), L"");
  } else if (MatchKey(line, L"InstPath=", v)) {
    Raise(raise, 3000, 0, TextValue(line, v, cut));
  } else if (MatchKey(line, L"State=", v)) {
    const std::wstring_view word = WordValue(line, v);
    if (word == L"Success") {
      Raise(raise, 2003, 0, L"");
      return true;
    }
    if (word == L"Fail") {
      Raise(raise, 2004, 0, kPackageFailText);
      return true;
    }
  } else if (MatchKey(line, L"InstallVersion=", v)) {
    // major.minor.build; the numbers read replace the stored ones, the rest stay.
    std::wstring_view rest = std::wstring_view(line).substr(v);
    for (int i = 0; i < 3; ++i) {
      if (i > 0) {
        if (rest.empty() || rest[0] != L'.') break;
        rest.remove_prefix(1);
      }
      int64_t number = 0;
      if (!ReadInteger(rest, number)) break;
      state.installedVersion[i] = static_cast<int32_t>(static_cast<uint64_t>(number));
    }
  } else if (MatchKey(line, L"ExePath=", v) || MatchKey(line, L"StartExe=", v)) {
    Raise(raise, 3001, 0, TextValue(line, v, cut));
  } else if (MatchKey(line, L"UninstExePath=", v) || MatchKey(line, L"UninstExe=", v)) {
    Raise(raise, 3002, 0, TextValue(line, v, cut));
  } else if (MatchKey(line, L"UninstEp=", v)) {
    Raise(raise, 3003, 0, TextValue(line, v, cut));
  } else if (MatchKey(line, L"Error=", v)) {
    Raise(raise, 2004, 1000, TextValue(line, v, cut));
    return true;
  } else if (MatchKey(line, L"TopShowDetention=", v)) {
    Raise(raise, 3007, UnsignedField(line, v), L"");
  } else if (MatchKey(line, L"FinsihCloseDetention=", v)) {
    Raise(raise, 3008, UnsignedField(line, v), L"");
  } else if (MatchKey(line, L"StartUrl=", v)) {
    Raise(raise, 3004, 0, TextValue(line, v, cut));
  } else if (MatchKey(line, L"StartupStyle=", v)) {
    const std::wstring_view word = WordValue(line, v);
    const double style = word == L"NonStartup" ? 0 : word == L"AutoStartup" ? 1 : 2;
    Raise(raise, 3005, style, L"");
  } else if (MatchKey(line, L"Encode=", v)) {
    state.codePage = PackageCodePage(WordValue(line, v));
  } else if (MatchKey(line, L"Message=", v)) {
    Raise(raise, 3009, 0, TextValue(line, v, cut));
  }
  return false;
}

bool HandleUninstallerLine(const std::wstring& line, bool cut, int32_t& codePage,
                           const ProgressCallback& raise) {
  size_t v = 0;
  if (MatchKey(line, L"Progress=", v)) {
    Raise(raise, 5002, ReadReal(std::wstring_view(line).substr(v), 0.0), L"");
  } else if (MatchKey(line, L"Error=", v)) {
    Raise(raise, 5004, 0, TextValue(line, v, cut));
    return true;
  } else if (MatchKey(line, L"State=", v)) {
    const std::wstring_view word = WordValue(line, v);
    if (word == L"Success") {
      Raise(raise, 5003, 0, L"");
      return true;
    }
    if (word == L"Fail") {
      Raise(raise, 5004, 0, kUninstallerFailText);
      return true;
    }
  } else if (MatchKey(line, L"Encode=", v)) {
    codePage = WordValue(line, v) == L"UTF8" ? 65001 : 0;
  }
  return false;
}

CReportReader::CReportReader(Protocol protocol, ProgressCallback raise)
    : protocol_(protocol), raise_(std::move(raise)) {}

void CReportReader::Feed(std::string_view chunk) {
  finalInEarlierChunk_ = sawFinal_;
  splitter_.Feed(chunk, [this](std::string_view bytes, bool cut) { HandleBytes(bytes, cut); });
}

void CReportReader::Finish() {
  splitter_.Finish([this](std::string_view bytes, bool cut) { HandleBytes(bytes, cut); });
}

void CReportReader::HandleBytes(std::string_view bytes, bool cut) {
  if (protocol_ == Protocol::Package) {
    // The package's report ends with the read that held its final line:
    // later output is still read, so the package never blocks on a full pipe,
    // but raises nothing. Lines after the final one in that same read count,
    // so "Error=" followed by "State=Fail" written together gives two 2004.
    if (finalInEarlierChunk_) return;
    DecodeLine(bytes, state_.codePage, line_);
    if (HandlePackageLine(line_, cut, state_, raise_)) sawFinal_ = true;
  } else {
    // The uninstaller is followed until it exits; every line counts.
    DecodeLine(bytes, state_.codePage, line_);
    if (HandleUninstallerLine(line_, cut, state_.codePage, raise_)) sawFinal_ = true;
  }
}

}  // namespace Report
