#include "profile.h"

#include <vector>

namespace Utils {
namespace {

// The profile service's blanks: ASCII white space and the old end-of-file
// mark ^Z that some files still carry.
bool IsProfileSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r') || c == 0x1A; }

std::wstring_view TrimProfile(std::wstring_view s) {
  size_t begin = 0;
  size_t end = s.size();
  while (begin < end && IsProfileSpace(s[begin])) ++begin;
  while (end > begin && IsProfileSpace(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

wchar_t FoldCase(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; }

bool SameName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

bool IsLineBreak(wchar_t c) { return c == L'\r' || c == L'\n'; }

// One line of a profile file as the service sees it.
struct ProfileLine {
  enum Kind { kBlank, kSection, kKey } kind = kBlank;
  size_t begin = 0;  // offset of the line's first character
  size_t end = 0;    // offset just past its last character, before the break
  std::wstring_view name;
  bool hasValue = false;
  std::wstring_view value;
};

ProfileLine ParseLine(std::wstring_view text, size_t begin, size_t end) {
  ProfileLine line;
  line.begin = begin;
  line.end = end;
  const std::wstring_view content = TrimProfile(text.substr(begin, end - begin));
  if (content.empty()) return line;
  if (content.front() == L'[') {
    const size_t close = content.rfind(L']');
    if (close != std::wstring_view::npos && close > 0) {
      line.kind = ProfileLine::kSection;
      line.name = content.substr(1, close - 1);
      return line;
    }
  }
  line.kind = ProfileLine::kKey;
  const size_t eq = content.find(L'=');
  if (eq == std::wstring_view::npos) {
    line.name = content;
    return line;
  }
  line.name = TrimProfile(content.substr(0, eq));
  line.hasValue = true;
  line.value = TrimProfile(content.substr(eq + 1));
  return line;
}

std::vector<ProfileLine> SplitLines(std::wstring_view text) {
  std::vector<ProfileLine> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = pos;
    while (end < text.size() && !IsLineBreak(text[end])) ++end;
    lines.push_back(ParseLine(text, pos, end));
    pos = end;
    // "\r\n", "\n" and a lone "\r" each end one line.
    if (pos < text.size() && text[pos] == L'\r') ++pos;
    if (pos < text.size() && text[pos] == L'\n') ++pos;
  }
  return lines;
}

// Lines [first, last) of the first section named `section`; keys before any
// section header belong to the section with the empty name.
struct SectionRange {
  bool found = false;
  size_t header = 0;  // index of the header line of a named section
  size_t first = 0;
  size_t last = 0;
};

SectionRange FindSection(const std::vector<ProfileLine>& lines, std::wstring_view section) {
  SectionRange range;
  bool inside = section.empty();  // the unnamed section comes first
  if (inside) range = {true, 0, 0, lines.size()};
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind != ProfileLine::kSection) continue;
    if (inside) {
      range.last = i;
      return range;
    }
    if (SameName(lines[i].name, section)) {
      inside = true;
      range = {true, i, i + 1, lines.size()};
    }
  }
  return range;
}

const ProfileLine* FindKey(const std::vector<ProfileLine>& lines, const SectionRange& range,
                           std::wstring_view key) {
  if (!range.found) return nullptr;
  for (size_t i = range.first; i < range.last; ++i)
    if (lines[i].kind == ProfileLine::kKey && SameName(lines[i].name, key)) return &lines[i];
  return nullptr;
}

std::wstring_view LineBreakOf(std::wstring_view text) {
  const size_t pos = text.find_first_of(L"\r\n");
  if (pos == std::wstring_view::npos) return L"\r\n";
  if (text[pos] == L'\n') return L"\n";
  if (pos + 1 < text.size() && text[pos + 1] == L'\n') return L"\r\n";
  return L"\r";
}

bool HasLineBreak(std::wstring_view s) { return s.find_first_of(L"\r\n") != std::wstring_view::npos; }

}  // namespace

bool SameProfileName(std::wstring_view a, std::wstring_view b) {
  return SameName(TrimProfile(a), TrimProfile(b));
}

std::optional<std::wstring> FindProfileValue(std::wstring_view text, std::wstring_view section,
                                             std::wstring_view key) {
  const std::vector<ProfileLine> lines = SplitLines(text);
  const ProfileLine* line = FindKey(lines, FindSection(lines, TrimProfile(section)), TrimProfile(key));
  if (!line || !line->hasValue) return std::nullopt;
  return std::wstring(line->value);
}

std::wstring ProfileLookup(std::wstring_view text, std::wstring_view section,
                           std::wstring_view key, std::wstring_view fallback, size_t capacity) {
  if (capacity == 0) return {};
  std::wstring result;
  std::optional<std::wstring> value;
  if (!key.empty()) value = FindProfileValue(text, section, key);
  if (value) {
    result = std::move(*value);
    // Matching quotes around the whole value are not part of it.
    if (result.size() >= 2 && (result.front() == L'"' || result.front() == L'\'') &&
        result.back() == result.front())
      result = result.substr(1, result.size() - 2);
  } else {
    result.assign(fallback);
    while (!result.empty() && result.back() == L' ') result.pop_back();
  }
  if (result.size() > capacity - 1) result.resize(capacity - 1);
  return result;
}

bool IsWritableProfileEntry(std::wstring_view section, std::wstring_view key,
                            std::wstring_view value) {
  const std::wstring_view s = TrimProfile(section);
  const std::wstring_view k = TrimProfile(key);
  if (s.empty() || k.empty()) return false;
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
  if (s.find(L']') != std::wstring_view::npos) return false;
  // A key that begins with '[' would read back as a section header.
  return k.find(L'=') == std::wstring_view::npos && k.front() != L'[';
}

std::wstring SetProfileValue(std::wstring_view text, std::wstring_view section,
                             std::wstring_view key, std::wstring_view value) {
  if (!IsWritableProfileEntry(section, key, value)) return std::wstring(text);
  const std::wstring_view sectionName = TrimProfile(section);
  const std::wstring_view keyName = TrimProfile(key);
  size_t skip = 0;
  while (skip < value.size() && IsProfileSpace(value[skip])) ++skip;
  value.remove_prefix(skip);
  const std::wstring_view lineBreak = LineBreakOf(text);

  const std::vector<ProfileLine> lines = SplitLines(text);
  const SectionRange range = FindSection(lines, sectionName);
  std::wstring out;
  out.reserve(text.size() + sectionName.size() + keyName.size() + value.size() + 8);

  // 1. The key exists: replace its line, keeping the name as the file spells it.
  if (const ProfileLine* line = FindKey(lines, range, keyName)) {
    out.append(text.substr(0, line->begin));
    out.append(line->name).append(L"=").append(value);
    out.append(text.substr(line->end));
    return out;
  }

  // 2. The section exists: add the key after its last non-blank line.
  if (range.found) {
    size_t after = range.header;
    for (size_t i = range.first; i < range.last; ++i)
      if (lines[i].kind != ProfileLine::kBlank) after = i;
    const size_t insertAt = lines[after].end;
    out.append(text.substr(0, insertAt));
    out.append(lineBreak).append(keyName).append(L"=").append(value);
    out.append(text.substr(insertAt));
    return out;
  }

  // 3. A new section at the end of the file.
  out.append(text);
  if (!out.empty() && !IsLineBreak(out.back())) out.append(lineBreak);
  out.append(L"[").append(sectionName).append(L"]").append(lineBreak);
  out.append(keyName).append(L"=").append(value).append(lineBreak);
  return out;
}

}  // namespace Utils
