// String values of the current user's registry, as the installation record
// uses them. Values are stored as UTF-16 text of two bytes per character
// without a terminating zero; a reader takes the data as UTF-16 text up to the
// first zero character or the end of the data, whatever the value's type.
//
// Windows uses the system registry. POSIX has none: there the current user's
// values live in one small file of the user's configuration folder,
// $XDG_CONFIG_HOME (or ~/.config) followed by "OrinSoft/HKEY_CURRENT_USER.reg",
// with the same value semantics; key paths and value names match without
// regard to ASCII case, as in the registry. A write replaces that file by a
// complete new one (written beside it, then renamed over it), so a crash in
// the middle of a write leaves the old record or the new one, never a mix.
//
// The calls block on the file system or registry; they are meant for the
// window's thread and are not synchronised with each other.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Utils {

// Root keys. POSIX keeps only the current user's values; other roots fail there.
enum class RegRoot { CurrentUser, LocalMachine };

// Value types, with the numbers of the system's registry.
using RegValueType = uint32_t;
constexpr RegValueType kRegSz = 1;
constexpr RegValueType kRegBinary = 3;

// Reads `valueName` of `keyPath`; true when the value was read. `type` and
// `text` are assigned only then.
bool RegReadString(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName,
                   RegValueType& type, std::wstring& text);

// Writes `text` as the value `valueName` of `keyPath` (created when missing)
// with the given type, two bytes per character, no terminator. True when the
// value was written.
bool RegWriteString(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName,
                    RegValueType type, const std::wstring& text);

// Writes `data` unchanged as the value; what RegWriteString does after
// encoding its text. Lets callers store values other programs might write.
bool RegWriteData(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName,
                  RegValueType type, const std::vector<uint8_t>& data);

// The registry's encoding of a text: UTF-16LE, no terminator.
std::vector<uint8_t> EncodeRegistryText(const std::wstring& text);
// A value's data as text: UTF-16LE up to the first zero character or the end
// of the data; a final odd byte counts as a character of its own, as it does
// when the data is read into a zero-filled buffer.
std::wstring DecodeRegistryText(const uint8_t* data, size_t size);

}  // namespace Utils
