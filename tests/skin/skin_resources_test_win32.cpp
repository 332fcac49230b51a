// The program's resources as Windows itself finds them: the skin archive under
// its type name and identifier, and the icon group giving a real image at each
// size the main window asks for (the system's small and large icon sizes and
// the sizes of the shell's views).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string ResourceBytes(LPCWSTR type, LPCWSTR name) {
  HRSRC found = FindResourceW(nullptr, name, type);
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(nullptr, found);
  const DWORD size = SizeofResource(nullptr, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return {};
  return std::string(static_cast<const char*>(bytes), size);
}

TEST(ProgramResources, SkinArchiveIsA7zArchiveUnderZipres147) {
  const std::string archive = ResourceBytes(L"ZIPRES", MAKEINTRESOURCEW(147));
  ASSERT_GT(archive.size(), 32u);
  EXPECT_EQ(archive.compare(0, 6, std::string("7z\xBC\xAF\x27\x1C", 6)), 0);
  // Lower-case type names are different resources; only "ZIPRES" is looked up.
  EXPECT_TRUE(ResourceBytes(L"ZIPRES", MAKEINTRESOURCEW(148)).empty());
}

TEST(ProgramResources, IconGroupHoldsAnExactImageForEverySize) {
  std::string group = ResourceBytes(MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */, MAKEINTRESOURCEW(145));
  ASSERT_FALSE(group.empty());
  const int system_sizes[] = {GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CXICON)};
  const int sizes[] = {16, 24, 32, 48, 64, 72, 96, 128, 256, system_sizes[0], system_sizes[1]};
  for (int size : sizes) {
    SCOPED_TRACE(size);
    const int id = LookupIconIdFromDirectoryEx(reinterpret_cast<PBYTE>(group.data()), TRUE, size,
                                               size, LR_DEFAULTCOLOR);
    ASSERT_NE(id, 0);
    std::string image = ResourceBytes(MAKEINTRESOURCEW(3) /* RT_ICON */, MAKEINTRESOURCEW(id));
    ASSERT_GT(image.size(), 40u);
    // The chosen image is the requested size itself, not a neighbour to scale.
    int width = 0;
    if (image.compare(0, 4, "\x89PNG") == 0) {
      const auto* p = reinterpret_cast<const unsigned char*>(image.data()) + 16;
      width = (p[0] << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
    } else {
      BITMAPINFOHEADER header;
      std::memcpy(&header, image.data(), sizeof header);
      width = header.biWidth;
      EXPECT_EQ(header.biBitCount, 32);
      EXPECT_EQ(header.biHeight, 2 * size);  // colour rows and mask rows
    }
    EXPECT_EQ(width, size);
    HICON icon = CreateIconFromResourceEx(reinterpret_cast<PBYTE>(image.data()),
                                          static_cast<DWORD>(image.size()), TRUE, 0x00030000, size,
                                          size, LR_DEFAULTCOLOR);
    EXPECT_NE(icon, nullptr);
    if (icon != nullptr) DestroyIcon(icon);
  }
}

}  // namespace
