// Formatting one integer into a template that comes from a layout document
// ("sequencebkimage", "userdata"). Such a template is data, so it never
// reaches printf: it is checked here and formatted by hand.
//
// Accepted: any text with exactly one conversion "%" [flags] [width]
// ["." precision] followed by "d", "i" or "u" (flags: "-", "+", " ", "0",
// "#"), and any number of "%%" (a literal "%"). Everything else is refused:
// other conversions ("%s", "%n", "%x" ...), length modifiers, "*", a second
// conversion or none at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace DuiLib {

// Longest text a frame name or progress text may have (the fixed 260-
// character buffers of the system hold 259 characters and a terminator).
constexpr size_t kMaxFormattedLength = 259;

// Formats `value` into `format`; "%u" prints it as unsigned 32-bit. Returns
// false and leaves `out` empty when the template is refused or the result
// would be longer than `maxLength` characters.
bool FormatInteger(const std::wstring& format, int32_t value, std::wstring& out,
                   size_t maxLength = kMaxFormattedLength);

// True when `format` holds exactly one accepted integer conversion.
bool IsIntegerFormat(const std::wstring& format);

}  // namespace DuiLib
