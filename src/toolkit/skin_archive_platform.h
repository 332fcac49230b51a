// The platform side of skin file reading (skin_archive_win32.cpp,
// skin_archive_posix.cpp). Internal to the toolkit.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace DuiLib {

// The bytes of the resource of type "ZIPRES" with identifier `resourceId` in
// the module `instance`; false when it is missing or empty. Off Windows the
// stand-in reads "ZIPRES_<id>.7z" under `resourcePath`.
bool LoadSkinResource(void* instance, const std::wstring& resourcePath, int resourceId,
                      std::vector<uint8_t>& bytes);

// Opens the file `path` for binary reading; null when it cannot be opened.
// Both "\" and "/" separate folders.
std::FILE* OpenSkinFileOnDisk(const std::wstring& path);

}  // namespace DuiLib
