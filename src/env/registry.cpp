#include "registry.h"

namespace Utils {
namespace {

void PushUnit(std::vector<uint8_t>& out, uint32_t unit) {
  out.push_back(static_cast<uint8_t>(unit & 0xFF));
  out.push_back(static_cast<uint8_t>((unit >> 8) & 0xFF));
}

}  // namespace

std::vector<uint8_t> EncodeRegistryText(const std::wstring& text) {
  std::vector<uint8_t> out;
  out.reserve(text.size() * 2);
  for (const wchar_t c : text) {
    const auto cp = static_cast<uint32_t>(c);
    if (cp > 0xFFFF && cp <= 0x10FFFF) {  // only where wchar_t is UTF-32
      PushUnit(out, 0xD800 + ((cp - 0x10000) >> 10));
      PushUnit(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      PushUnit(out, cp > 0xFFFF ? 0xFFFD : cp);
    }
  }
  return out;
}

std::wstring DecodeRegistryText(const uint8_t* data, size_t size) {
  std::u16string units;
  for (size_t i = 0; i < size; i += 2) {
    const uint16_t unit = static_cast<uint16_t>(data[i] | (i + 1 < size ? data[i + 1] << 8 : 0));
    if (unit == 0) break;
    units.push_back(static_cast<char16_t>(unit));
  }
  if constexpr (sizeof(wchar_t) == 2) {
    return std::wstring(units.begin(), units.end());
  } else {
    std::wstring out;
    out.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i) {
      const char32_t u = units[i];
      if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
          units[i + 1] <= 0xDFFF) {
        out.push_back(static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00)));
        ++i;
      } else if (u >= 0xD800 && u <= 0xDFFF) {
        out.push_back(static_cast<wchar_t>(0xFFFD));  // a lone surrogate
      } else {
        out.push_back(static_cast<wchar_t>(u));
      }
    }
    return out;
  }
}

bool RegWriteString(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName,
                    RegValueType type, const std::wstring& text) {
  return RegWriteData(root, keyPath, valueName, type, EncodeRegistryText(text));
}

}  // namespace Utils
