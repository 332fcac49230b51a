#include "disk.h"

#include "app/utils_path.h"

namespace Utils {

std::wstring DriveDesignator(std::wstring_view path) {
  if (path.size() >= 2 && path[1] == L':' &&
      ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'))) {
    return std::wstring(path.substr(0, 2));
  }
  return {};
}

bool IsEnoughFreeSpace(uint64_t freeBytes) {
  return static_cast<double>(freeBytes) / 1073741824.0 >= 1.0;
}

double HardDiskManager::GetFreeSpaceGB() const {
  return static_cast<double>(freeBytesAvailable_) / 1073741824.0;
}

uint64_t QueryFreeBytes(const std::wstring& location) {
  HardDiskManager disk;
  disk.GetDiskSpace(location);
  return disk.FreeBytesAvailable();
}

}  // namespace Utils
