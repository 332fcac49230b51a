// INI profile strings with the observable rules of the system's profile
// service:
//   - a line "[name]" opens a section (the name runs to the last ']');
//     a line "key=value" gives a key; white space around names and values is
//     dropped; a line without '=' names a key that has no value;
//   - section and key names match without regard to case, and only the first
//     section of a name is searched;
//   - a value enclosed in matching single or double quotes loses them;
//   - a value is read into a buffer of `capacity` characters, so it is cut to
//     capacity - 1; a key present with an empty value gives the empty value.
// Windows uses the system service itself; POSIX follows the same rules on
// files in UTF-8 (or UTF-16 / UTF-8 with a byte-order mark).
//
// All functions may run on any thread; two writers of one file at the same
// time are not coordinated.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Utils {

constexpr size_t kProfileCapacity = 260;

// The value of `key` in `section` of the file at `path`, or `fallback` (less
// its trailing blanks) when the file, the section, the key or the key's '='
// is missing. Either answer is cut to capacity - 1 characters.
std::wstring ReadProfileString(const std::wstring& path, const std::wstring& section,
                               const std::wstring& key, const std::wstring& fallback,
                               size_t capacity = kProfileCapacity);

// (Not named WriteProfileString: <windows.h> makes that a macro.)
// Writes `key`=`value` into `section`: a missing file is created, a missing
// section is appended at the end, an existing key is replaced in place and
// every other line stays as it was. Leading blanks of `value` are dropped.
// False when the file cannot be written, and for names or values that would
// break the file's lines (a line break anywhere, '=' in the key, ']' in the
// section, an empty section or key name).
bool WriteProfileEntry(const std::wstring& path, const std::wstring& section,
                        const std::wstring& key, const std::wstring& value);

// The rules above on decoded file text; pure, used by the POSIX service and
// open to tests and fuzzing on every platform.

// The value ReadProfileString gives for `text`.
std::wstring ProfileLookup(std::wstring_view text, std::wstring_view section,
                           std::wstring_view key, std::wstring_view fallback,
                           size_t capacity = kProfileCapacity);

// The raw value of the first `key` in the first `section` (quotes kept, not
// cut); nothing when the key is missing or has no '='.
std::optional<std::wstring> FindProfileValue(std::wstring_view text, std::wstring_view section,
                                             std::wstring_view key);

// True when the service takes `a` and `b` for the same section or key name:
// equal without regard to case once surrounding blanks are dropped.
bool SameProfileName(std::wstring_view a, std::wstring_view b);

// True when WriteProfileEntry accepts these names and this value.
bool IsWritableProfileEntry(std::wstring_view section, std::wstring_view key,
                            std::wstring_view value);

// `text` with `key`=`value` set in `section` as WriteProfileEntry does it.
// New lines take the line break the text already uses ("\r\n" by default).
// The entry must be writable (IsWritableProfileEntry).
std::wstring SetProfileValue(std::wstring_view text, std::wstring_view section,
                             std::wstring_view key, std::wstring_view value);

}  // namespace Utils
