#include "toolkit/layout_parser.h"

#include "app/utils_text.h"

namespace DuiLib {

namespace {

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

bool IsNameChar(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
         c == L'_' || c == L':';
}

wchar_t AsciiLower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c - L'A' + L'a') : c; }

// Replaces the five predefined entities; any other "&" stays as written.
std::wstring DecodeEntities(std::wstring_view raw) {
  struct Entity {
    std::wstring_view name;
    wchar_t ch;
  };
  static constexpr Entity kEntities[] = {
      {L"&amp;", L'&'}, {L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&quot;", L'"'}, {L"&apos;", L'\''}};
  std::wstring out;
  out.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size();) {
    bool replaced = false;
    if (raw[i] == L'&') {
      for (const Entity& e : kEntities) {
        if (raw.compare(i, e.name.size(), e.name) == 0) {
          out.push_back(e.ch);
          i += e.name.size();
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out.push_back(raw[i++]);
  }
  return out;
}

class Parser {
 public:
  Parser(std::wstring_view text, XmlError& error) : text_(text), error_(error) {}

  bool ParseDocument(XmlElement& root) {
    if (!SkipMarkup()) return Fail(L"Expected start tag");
    if (AtEnd() || text_[pos_] != L'<') return Fail(L"Expected start tag");
    return ParseElement(root, 1);
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  bool StartsWith(std::wstring_view s) const { return text_.compare(pos_, s.size(), s) == 0; }

  void SkipSpace() {
    while (!AtEnd() && IsSpace(text_[pos_])) ++pos_;
  }

  // Skips white space, declarations and comments. False when one of them is
  // not closed before the end of the text.
  bool SkipMarkup() {
    for (;;) {
      SkipSpace();
      std::wstring_view close;
      if (StartsWith(L"<?")) {
        close = L"?>";
      } else if (StartsWith(L"<!")) {
        close = L"->";
      } else {
        return true;
      }
      const std::size_t end = text_.find(close, pos_ + 2);
      if (end == std::wstring_view::npos) {
        pos_ = text_.size();
        return false;
      }
      pos_ = end + close.size();
    }
  }

  std::wstring_view ReadName() {
    const std::size_t start = pos_;
    while (!AtEnd() && IsNameChar(text_[pos_])) ++pos_;
    return text_.substr(start, pos_ - start);
  }

  bool Fail(const wchar_t* message) {
    error_.message = message;
    error_.offset = pos_ < text_.size() ? pos_ : text_.size();
    error_.line = 1;
    error_.column = 1;
    for (std::size_t i = 0; i < error_.offset; ++i) {
      if (text_[i] == L'\n') {
        ++error_.line;
        error_.column = 1;
      } else {
        ++error_.column;
      }
    }
    return false;
  }

  // At "<" of a start tag.
  bool ParseElement(XmlElement& element, std::size_t depth) {
    if (depth > kMaxElementDepth) return Fail(L"Elements nested too deeply");
    ++pos_;
    const std::wstring_view name = ReadName();
    if (name.empty()) return Fail(L"Error parsing element name");
    element.name.assign(name);

    for (;;) {
      SkipSpace();
      if (AtEnd()) return Fail(L"Expected start-tag closing");
      if (text_[pos_] == L'/') {
        ++pos_;
        if (AtEnd() || text_[pos_] != L'>') return Fail(L"Expected start-tag closing");
        ++pos_;
        return true;
      }
      if (text_[pos_] == L'>') {
        ++pos_;
        break;
      }
      if (!ParseAttribute(element)) return false;
    }
    return ParseContent(element, depth);
  }

  bool ParseAttribute(XmlElement& element) {
    const std::wstring_view name = ReadName();
    if (name.empty()) return Fail(L"Error while parsing attributes");
    SkipSpace();
    if (AtEnd() || text_[pos_] != L'=') return Fail(L"Error while parsing attributes");
    ++pos_;
    SkipSpace();
    if (AtEnd() || text_[pos_] != L'"') return Fail(L"Expected attribute value");
    ++pos_;
    const std::size_t close = text_.find(L'"', pos_);
    if (close == std::wstring_view::npos) return Fail(L"Error while parsing attribute string");
    if (element.attributes.size() < kMaxAttributes) {
      element.attributes.push_back({std::wstring(name), DecodeEntities(text_.substr(pos_, close - pos_))});
    }
    pos_ = close + 1;
    return true;
  }

  // After the ">" of a start tag, up to and including the matching end tag.
  bool ParseContent(XmlElement& element, std::size_t depth) {
    for (;;) {
      if (!SkipMarkup() || AtEnd()) return Fail(L"Expected end-tag start");
      if (text_[pos_] != L'<') {
        const std::size_t end = text_.find(L'<', pos_);
        const std::size_t stop = end == std::wstring_view::npos ? text_.size() : end;
        element.text += DecodeEntities(text_.substr(pos_, stop - pos_));
        pos_ = stop;
        continue;
      }
      if (StartsWith(L"</")) {
        pos_ += 2;
        const std::wstring_view name = ReadName();
        if (name != element.name) return Fail(L"Unmatched closing tag");
        SkipSpace();
        if (AtEnd() || text_[pos_] != L'>') return Fail(L"Unmatched closing tag");
        ++pos_;
        return true;
      }
      element.children.emplace_back();
      if (!ParseElement(element.children.back(), depth + 1)) return false;
    }
  }

  std::wstring_view text_;
  std::size_t pos_ = 0;
  XmlError& error_;
};

}  // namespace

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

const std::wstring* XmlElement::FindAttribute(std::wstring_view attrName, bool ignoreCase) const {
  for (const XmlAttribute& a : attributes) {
    if (ignoreCase ? EqualsNoCase(a.name, attrName) : a.name == attrName) return &a.value;
  }
  return nullptr;
}

std::wstring XmlError::Describe() const {
  if (line == 0) return message;
  return message + L" (line " + std::to_wstring(line) + L", column " + std::to_wstring(column) + L")";
}

std::wstring DecodeLayoutDocument(std::string_view bytes) {
  if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.remove_prefix(3);
  return Utils::ToWide(bytes, Utils::kCodePageUtf8);
}

bool ParseLayoutDocument(std::wstring_view text, XmlElement& root, XmlError& error) {
  root = XmlElement();
  error = XmlError();
  Parser parser(text, error);
  if (!parser.ParseDocument(root)) {
    root = XmlElement();
    return false;
  }
  return true;
}

}  // namespace DuiLib
