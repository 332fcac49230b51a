#include "utils_path.h"

namespace Utils {

std::wstring JoinPath(std::wstring_view dir, std::wstring_view name) {
  std::wstring out(dir);
  if (!out.empty() && !IsPathSeparator(out.back())) out.push_back(PathSeparator());
  out.append(name);
  if (out.size() >= kMaxPath) return {};
  return out;
}

std::wstring RemoveLastComponent(std::wstring_view path) {
  const size_t pos = path.find_last_of(L"\\/");
  if (pos == std::wstring_view::npos) return {};
  return std::wstring(path.substr(0, pos));
}

}  // namespace Utils
