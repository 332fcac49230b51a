// Free space of the volume that holds an installation path.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Utils {

// An installation needs at least this much space available to the user.
constexpr uint64_t kRequiredFreeBytes = 1ull << 30;  // 1 GiB

// The drive component of a Windows path: a letter and a colon ("D:"), empty
// for a path without a drive letter (relative or UNC).
std::wstring DriveDesignator(std::wstring_view path);

// True when `freeBytes` reach 1.0 GiB: exactly 1 GiB is enough, one byte less
// is not.
bool IsEnoughFreeSpace(uint64_t freeBytes);

// One free-space query and its three byte counts, all zero until a query
// succeeds; only the bytes available to the calling user are used.
class HardDiskManager {
 public:
  HardDiskManager() = default;
  virtual ~HardDiskManager() = default;

  // Queries the volume of `location`: a drive designator ("D:") or any path on
  // the volume. On Windows a path with a drive letter queries the drive's
  // root; others, and every path on POSIX (which has no drive letters), query
  // the nearest folder along the path that exists, the current directory for
  // a relative path with none. False, with all counts zero, when the query
  // fails; a failed query therefore counts as no free space.
  bool GetDiskSpace(const std::wstring& location);

  // Free space available to the calling user, in GiB.
  double GetFreeSpaceGB() const;

  uint64_t FreeBytesAvailable() const { return freeBytesAvailable_; }
  uint64_t TotalBytes() const { return totalBytes_; }
  uint64_t TotalFreeBytes() const { return totalFreeBytes_; }

 protected:
  uint64_t freeBytesAvailable_ = 0;
  uint64_t totalBytes_ = 0;
  uint64_t totalFreeBytes_ = 0;
};

// The bytes available to the calling user on the volume of `location`; 0 when
// the query fails.
uint64_t QueryFreeBytes(const std::wstring& location);

}  // namespace Utils
