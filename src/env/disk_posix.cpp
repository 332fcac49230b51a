#include "disk.h"

#include <sys/statvfs.h>

#include "app/utils_path.h"
#include "app/utils_text.h"

namespace Utils {
namespace {

// `path` itself when it exists, else its nearest existing parent; "." (the
// current directory) for a relative path none of whose parents exists.
std::wstring NearestExisting(std::wstring path) {
  while (!path.empty() && !PathExists(path)) {
    std::wstring parent = RemoveLastComponent(path);
    if (parent.empty() && path[0] == L'/') parent = L"/";
    if (parent == path) break;
    path = parent;
  }
  return path.empty() ? L"." : path;
}

}  // namespace

bool HardDiskManager::GetDiskSpace(const std::wstring& location) {
  freeBytesAvailable_ = totalBytes_ = totalFreeBytes_ = 0;
  struct statvfs st {};
  if (statvfs(ToNarrow(NearestExisting(location), kCodePageUtf8).c_str(), &st) != 0) return false;
  const uint64_t unit = st.f_frsize ? st.f_frsize : st.f_bsize;
  freeBytesAvailable_ = static_cast<uint64_t>(st.f_bavail) * unit;
  totalBytes_ = static_cast<uint64_t>(st.f_blocks) * unit;
  totalFreeBytes_ = static_cast<uint64_t>(st.f_bfree) * unit;
  return true;
}

}  // namespace Utils
