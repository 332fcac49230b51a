// INI profile strings with the observable rules of the system's profile
// service: section and key names match without regard to case, a value is
// read into a buffer of `capacity` characters (so it is cut to capacity - 1),
// and a key that is present with an empty value gives the empty value.
// Windows uses the system service itself; POSIX keeps the same rules.
#pragma once

#include <string>

namespace Utils {

// The value of `key` in `section` of the file at `path`, or `fallback` when
// the file, the section or the key is missing.
std::wstring ReadProfileString(const std::wstring& path, const std::wstring& section,
                               const std::wstring& key, const std::wstring& fallback,
                               size_t capacity = 260);

// Writes `key`=`value` into `section`: a new file or section is created when
// missing, an existing key is replaced in place, all else stays as it was.
bool WriteProfileString(const std::wstring& path, const std::wstring& section,
                        const std::wstring& key, const std::wstring& value);

}  // namespace Utils
