#include <windows.h>

#include "toolkit/skin_archive_platform.h"

namespace DuiLib {

bool LoadSkinResource(void* instance, const std::wstring& /*resourcePath*/, int resourceId,
                      std::vector<uint8_t>& bytes) {
  bytes.clear();
  HMODULE module = static_cast<HMODULE>(instance);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceId), L"ZIPRES");
  if (found == nullptr) return false;
  HGLOBAL loaded = LoadResource(module, found);
  if (loaded == nullptr) return false;
  const DWORD size = SizeofResource(module, found);
  const auto* data = static_cast<const uint8_t*>(LockResource(loaded));
  if (data == nullptr || size == 0) return false;
  bytes.assign(data, data + size);
  return true;
}

std::FILE* OpenSkinFileOnDisk(const std::wstring& path) { return _wfopen(path.c_str(), L"rb"); }

}  // namespace DuiLib
