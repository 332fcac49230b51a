// Text helpers shared by every subsystem.
//
// Text is wide inside the program (UTF-16 on Windows, UTF-32 wchar_t on
// POSIX); 8-bit text appears only at the edges: child-program output, layout
// documents, HTTP and thread names. The conversions below never throw: a
// conversion that fails gives the empty string.
#pragma once

#include <string>
#include <string_view>

namespace Utils {

// The system's ANSI code page. On POSIX this is UTF-8, the code set of every
// current Linux locale.
constexpr unsigned kCodePageAnsi = 0;
constexpr unsigned kCodePageUtf8 = 65001;

// Decodes `bytes` from `codePage` (0, 65001 or any code page the system
// knows, such as 936). Malformed sequences become U+FFFD, as the system's
// converter does; an unknown code page gives the empty string.
std::wstring ToWide(std::string_view bytes, unsigned codePage);

// Encodes `text` into `codePage`; the empty string when the code page is
// unknown. Characters the code page lacks become the system's default
// character.
std::string ToNarrow(std::wstring_view text, unsigned codePage);

// True for the ASCII white space characters: space, tab, line feed, vertical
// tab, form feed and carriage return.
constexpr bool IsAsciiSpace(wchar_t c) {
  return c == L' ' || (c >= L'\t' && c <= L'\r');
}

// `text` without ASCII white space at either end.
std::wstring_view TrimAscii(std::wstring_view text);

}  // namespace Utils
