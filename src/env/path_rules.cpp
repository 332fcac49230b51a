#include "path_rules.h"

#include "app/utils_path.h"

namespace Utils {
namespace {

wchar_t FoldAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

}  // namespace

std::wstring JoinPathWith(const PathRules& rules, std::wstring_view dir, std::wstring_view name) {
  if (dir.empty()) return {};
  std::wstring out(dir);
  if (!rules.IsSeparator(out.back())) out.push_back(rules.separator);
  out.append(name);
  if (out.size() >= kMaxPath) return {};
  return out;
}

bool SameDirectoryText(const PathRules& rules, std::wstring_view a, std::wstring_view b) {
  if (a.empty() || a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const bool same = rules.ignoreCase ? FoldAscii(a[i]) == FoldAscii(b[i]) : a[i] == b[i];
    if (!same) return false;
  }
  return true;
}

}  // namespace Utils
