#include "cmdline.h"

#include <fstream>
#include <iterator>

#include "utils_text.h"

namespace Utils {

std::vector<std::wstring> ProcessArguments() {
  // The kernel keeps the argument vector as NUL-terminated strings.
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::wstring> args;
  size_t begin = 0;
  while (begin < all.size()) {
    size_t end = all.find('\0', begin);
    if (end == std::string::npos) end = all.size();
    args.push_back(ToWide(std::string_view(all).substr(begin, end - begin), kCodePageUtf8));
    begin = end + 1;
  }
  return args;
}

}  // namespace Utils
