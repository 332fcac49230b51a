// Value forms of layout attributes: integers, pairs, rectangles, colours
// and booleans. A value of the wrong form reads as 0 or false; reading
// never goes past the end of the text.
#pragma once

#include <cstdint>
#include <string_view>

namespace DuiLib {

// A decimal integer with optional sign after leading white space; reading
// stops at the first character that is not part of the number. `used`
// receives the number of characters consumed (0 when there is no number).
// Values beyond the 32-bit range are clamped to it.
int ParseLayoutInt(std::wstring_view text, std::size_t* used = nullptr);

// `count` integers, each read as ParseLayoutInt; after each number exactly
// one separator character is skipped before the next is read ("700,420",
// "0,0,0,35"). Missing numbers are 0.
void ParseLayoutInts(std::wstring_view text, int* out, std::size_t count);

// "#AARRGGBB": one leading "#" skipped, the rest read as an unsigned
// hexadecimal number up to the first other character. Six digits therefore
// give opacity 00. Values beyond 32 bits are clamped to FFFFFFFF.
std::uint32_t ParseLayoutColor(std::wstring_view text);

// Control attributes: exactly "true". Window and font attributes: "true"
// without regard to case.
inline bool ParseControlBool(std::wstring_view text) { return text == L"true"; }
bool ParseWindowBool(std::wstring_view text);

}  // namespace DuiLib
