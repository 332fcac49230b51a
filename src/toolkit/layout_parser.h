// Layout document reader: the small XML dialect of the skin's layout
// documents, turned into a plain element tree.
//
// Accepted forms: "<?...?>" declarations and "<!...->" comments (a comment
// ends at its first "->"), elements with attributes written name="value"
// (double quotes only, white space allowed around "="), the five predefined
// entities in values and text. White space between tags is ignored. At most
// kMaxAttributes attributes of an element are kept. Element nesting is
// bounded so that a hostile document cannot exhaust the stack of any code
// that walks the tree.
//
// Pure functions; callable from any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace DuiLib {

constexpr std::size_t kMaxLayoutDocumentBytes = 4194304;
constexpr std::size_t kMaxAttributes = 64;
constexpr std::size_t kMaxElementDepth = 256;

struct XmlAttribute {
  std::wstring name;
  std::wstring value;
};

struct XmlElement {
  std::wstring name;
  std::vector<XmlAttribute> attributes;
  std::vector<XmlElement> children;
  std::wstring text;  // character data directly inside the element

  // The value of the first attribute called `name` (compared exactly, or
  // without regard to ASCII case), or nullptr.
  const std::wstring* FindAttribute(std::wstring_view name, bool ignoreCase) const;
};

// Why parsing stopped: one of the fixed texts ("Expected start tag", ...)
// and the place, as an offset into the wide text and a 1-based line and
// column.
struct XmlError {
  std::wstring message;
  std::size_t offset = 0;
  std::size_t line = 0;
  std::size_t column = 0;

  // "<message> (line L, column C)", or the message alone when no place is
  // known (errors of reading a file).
  std::wstring Describe() const;
};

// UTF-8 document bytes, with or without the byte-order mark, as wide text.
// Malformed sequences become U+FFFD.
std::wstring DecodeLayoutDocument(std::string_view bytes);

// Parses `text` into `root` (the outermost element). On failure returns
// false, fills `error` and leaves `root` empty.
bool ParseLayoutDocument(std::wstring_view text, XmlElement& root, XmlError& error);

// Lowercase-insensitive comparison of ASCII letters; other characters are
// compared exactly.
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);

}  // namespace DuiLib
