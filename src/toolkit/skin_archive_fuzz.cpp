// Skin archives: open the input as a 7z archive held in memory, look up a few
// names and decode every file as a PNG image.
#include <cstddef>
#include <cstdint>

#include "toolkit/image.h"
#include "toolkit/skin_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto archive = DuiLib::SkinArchive::Open(data, size);
  if (!archive) {
    // Not an archive: still a chance to exercise the PNG decoder.
    DuiLib::Image image;
    DuiLib::DecodePng(data, size, 0xFFFF0000u, image);
    return 0;
  }
  archive->Find(L"res\\mainWnd\\BK01.png");
  archive->Find(L"mainWnd.xml");
  for (const auto& entry : archive->Entries()) {
    if (archive->Find(entry.name) == nullptr) __builtin_trap();
    DuiLib::Image image;
    if (DuiLib::DecodePng(entry.content.data(), entry.content.size(), 0, image)) {
      if (image.Width() <= 0 || image.Height() <= 0) __builtin_trap();
    }
  }
  return 0;
}
