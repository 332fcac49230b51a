#include "toolkit/safe_format.h"

#include <algorithm>

namespace DuiLib {

namespace {

struct Conversion {
  size_t begin = 0;  // position of its "%"
  size_t end = 0;    // one past its conversion letter
  bool leftAlign = false;
  bool plus = false;
  bool space = false;
  bool zeroPad = false;
  size_t width = 0;
  bool hasPrecision = false;
  size_t precision = 0;
  wchar_t letter = L'd';
};

// Reads a run of digits, refusing widths that could never fit the limit.
bool ReadCount(const std::wstring& f, size_t& p, size_t& value) {
  value = 0;
  while (p < f.size() && f[p] >= L'0' && f[p] <= L'9') {
    value = value * 10 + static_cast<size_t>(f[p] - L'0');
    if (value > kMaxFormattedLength) return false;
    ++p;
  }
  return true;
}

// Finds the one conversion of `format`; false when there is not exactly one
// accepted conversion.
bool Scan(const std::wstring& f, Conversion& conv) {
  bool found = false;
  for (size_t p = 0; p < f.size();) {
    if (f[p] != L'%') {
      ++p;
      continue;
    }
    if (p + 1 < f.size() && f[p + 1] == L'%') {
      p += 2;
      continue;
    }
    if (found) return false;
    found = true;
    conv = Conversion();
    conv.begin = p++;
    for (; p < f.size(); ++p) {
      const wchar_t c = f[p];
      if (c == L'-') {
        conv.leftAlign = true;
      } else if (c == L'+') {
        conv.plus = true;
      } else if (c == L' ') {
        conv.space = true;
      } else if (c == L'0') {
        conv.zeroPad = true;
      } else if (c != L'#') {
        break;
      }
    }
    if (!ReadCount(f, p, conv.width)) return false;
    if (p < f.size() && f[p] == L'.') {
      ++p;
      conv.hasPrecision = true;
      if (!ReadCount(f, p, conv.precision)) return false;
    }
    if (p >= f.size()) return false;
    const wchar_t letter = f[p];
    if (letter != L'd' && letter != L'i' && letter != L'u') return false;
    conv.letter = letter;
    conv.end = ++p;
  }
  return found;
}

// Appends `text` with every "%%" read as "%".
void AppendLiteral(std::wstring& out, const std::wstring& f, size_t begin, size_t end) {
  for (size_t p = begin; p < end; ++p) {
    out += f[p];
    if (f[p] == L'%') ++p;  // the second "%" of "%%"
  }
}

std::wstring FormatNumber(const Conversion& conv, int32_t value) {
  // Digits of the magnitude.
  uint64_t magnitude;
  bool negative = false;
  if (conv.letter == L'u') {
    magnitude = static_cast<uint32_t>(value);
  } else {
    negative = value < 0;
    magnitude = negative ? static_cast<uint64_t>(-static_cast<int64_t>(value))
                         : static_cast<uint64_t>(value);
  }
  std::wstring digits;
  // With a precision of 0, the value 0 prints no digits.
  if (magnitude != 0 || !conv.hasPrecision || conv.precision != 0) {
    do {
      digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + magnitude % 10));
      magnitude /= 10;
    } while (magnitude != 0);
  }
  if (conv.hasPrecision && digits.size() < conv.precision) {
    digits.insert(0, conv.precision - digits.size(), L'0');
  }
  std::wstring sign;
  if (negative) {
    sign = L"-";
  } else if (conv.letter != L'u' && conv.plus) {
    sign = L"+";
  } else if (conv.letter != L'u' && conv.space) {
    sign = L" ";
  }
  const size_t length = sign.size() + digits.size();
  if (length >= conv.width) return sign + digits;
  const size_t pad = conv.width - length;
  if (conv.leftAlign) return sign + digits + std::wstring(pad, L' ');
  // "0" pads between the sign and the digits, unless a precision is given.
  if (conv.zeroPad && !conv.hasPrecision) return sign + std::wstring(pad, L'0') + digits;
  return std::wstring(pad, L' ') + sign + digits;
}

}  // namespace

bool IsIntegerFormat(const std::wstring& format) {
  Conversion conv;
  return Scan(format, conv);
}

bool FormatInteger(const std::wstring& format, int32_t value, std::wstring& out,
                   size_t maxLength) {
  out.clear();
  Conversion conv;
  if (!Scan(format, conv)) return false;
  std::wstring result;
  AppendLiteral(result, format, 0, conv.begin);
  result += FormatNumber(conv, value);
  AppendLiteral(result, format, conv.end, format.size());
  if (result.size() > std::min(maxLength, kMaxFormattedLength)) return false;
  out = std::move(result);
  return true;
}

}  // namespace DuiLib
