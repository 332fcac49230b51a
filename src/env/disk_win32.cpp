#include "disk.h"

#include <windows.h>

#include "app/utils_path.h"

namespace Utils {
namespace {

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder whose volume is asked for: the root of the drive ("D:\"), or the
// nearest existing folder along a path without a drive letter (with the
// trailing backslash the service requires of a UNC share); empty for the
// current directory.
std::wstring QueryFolder(const std::wstring& location) {
  const std::wstring drive = DriveDesignator(location);
  if (!drive.empty()) return drive + L"\\";
  std::wstring path = location;
  while (!path.empty() && !IsFolder(path)) path = RemoveLastComponent(path);
  if (!path.empty() && !IsPathSeparator(path.back())) path.push_back(L'\\');
  return path;
}

}  // namespace

bool HardDiskManager::GetDiskSpace(const std::wstring& location) {
  freeBytesAvailable_ = totalBytes_ = totalFreeBytes_ = 0;
  const std::wstring folder = QueryFolder(location);
  ULARGE_INTEGER available{}, total{}, totalFree{};
  if (!GetDiskFreeSpaceExW(folder.empty() ? nullptr : folder.c_str(), &available, &total, &totalFree))
    return false;
  freeBytesAvailable_ = available.QuadPart;
  totalBytes_ = total.QuadPart;
  totalFreeBytes_ = totalFree.QuadPart;
  return true;
}

}  // namespace Utils
