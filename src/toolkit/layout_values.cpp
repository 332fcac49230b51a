#include "toolkit/layout_values.h"

#include <climits>

#include "toolkit/layout_parser.h"

namespace DuiLib {

int ParseLayoutInt(std::wstring_view text, std::size_t* used) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
    negative = text[i] == L'-';
    ++i;
  }
  const std::size_t digitsStart = i;
  long long value = 0;
  while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
    if (value <= INT_MAX) value = value * 10 + (text[i] - L'0');
    ++i;
  }
  if (i == digitsStart) {
    if (used) *used = 0;
    return 0;
  }
  if (used) *used = i;
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

void ParseLayoutInts(std::wstring_view text, int* out, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < count; ++n) {
    std::size_t used = 0;
    out[n] = ParseLayoutInt(text.substr(pos), &used);
    pos += used;
    if (pos < text.size()) ++pos;  // one separator character
  }
}

std::uint32_t ParseLayoutColor(std::wstring_view text) {
  if (!text.empty() && text[0] == L'#') text.remove_prefix(1);
  std::uint64_t value = 0;
  for (wchar_t c : text) {
    int digit;
    if (c >= L'0' && c <= L'9') {
      digit = c - L'0';
    } else if (c >= L'a' && c <= L'f') {
      digit = c - L'a' + 10;
    } else if (c >= L'A' && c <= L'F') {
      digit = c - L'A' + 10;
    } else {
      break;
    }
    value = value * 16 + digit;
    if (value > 0xFFFFFFFFu) return 0xFFFFFFFFu;
  }
  return static_cast<std::uint32_t>(value);
}

bool ParseWindowBool(std::wstring_view text) { return EqualsNoCase(text, L"true"); }

}  // namespace DuiLib
