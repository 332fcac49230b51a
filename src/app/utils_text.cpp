#include "utils_text.h"

namespace Utils {

std::wstring_view TrimAscii(std::wstring_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsAsciiSpace(text[begin])) ++begin;
  while (end > begin && IsAsciiSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace Utils
