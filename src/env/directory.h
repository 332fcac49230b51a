// Directory creation and the free-space check of an installation path.
#pragma once

#include <string>

namespace Utils {

// Creates every missing directory along `path`; true when the whole path
// exists afterwards. This is the validity test of an installation path.
// Directories created before a failure stay.
bool CreateDirectoryChain(const std::wstring& path);

}  // namespace Utils
