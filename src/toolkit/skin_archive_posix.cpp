#include <string>

#include "app/utils_text.h"
#include "toolkit/skin_archive_platform.h"

namespace DuiLib {

namespace {

std::string NativePath(std::wstring path) {
  for (wchar_t& c : path) {
    if (c == L'\\') c = L'/';
  }
  return Utils::ToNarrow(path, Utils::kCodePageUtf8);
}

}  // namespace

// There are no module resources here: the archive resource is the file
// "ZIPRES_<id>.7z" beside the skin files.
bool LoadSkinResource(void* /*instance*/, const std::wstring& resourcePath, int resourceId,
                      std::vector<uint8_t>& bytes) {
  bytes.clear();
  const std::wstring name = resourcePath + L"ZIPRES_" + std::to_wstring(resourceId) + L".7z";
  std::FILE* file = std::fopen(NativePath(name).c_str(), "rb");
  if (file == nullptr) return false;
  uint8_t chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  std::fclose(file);
  return !bytes.empty();
}

std::FILE* OpenSkinFileOnDisk(const std::wstring& path) {
  return std::fopen(NativePath(path).c_str(), "rb");
}

}  // namespace DuiLib
