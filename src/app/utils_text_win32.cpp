#include "utils_text.h"

#include <windows.h>

#include <climits>

namespace Utils {

std::wstring ToWide(std::string_view bytes, unsigned codePage) {
  if (bytes.empty() || bytes.size() > INT_MAX) return {};
  const int size = static_cast<int>(bytes.size());
  const int count = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  if (count <= 0) return {};
  std::wstring out(static_cast<size_t>(count), L'\0');
  if (MultiByteToWideChar(codePage, 0, bytes.data(), size, out.data(), count) != count) return {};
  return out;
}

std::string ToNarrow(std::wstring_view text, unsigned codePage) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int size = static_cast<int>(text.size());
  const int count =
      WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (count <= 0) return {};
  std::string out(static_cast<size_t>(count), '\0');
  if (WideCharToMultiByte(codePage, 0, text.data(), size, out.data(), count, nullptr, nullptr) !=
      count)
    return {};
  return out;
}

}  // namespace Utils
