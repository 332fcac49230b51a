#include "probes.h"

#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <string>

#include "app/utils_text.h"

namespace Utils {
namespace {

std::string ReadText(const char* path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool IsGlobalIpv6(const sockaddr* address) {
  const auto* bytes = reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr.s6_addr;
  const bool linkLocal = bytes[0] == 0xFE && (bytes[1] & 0xC0) == 0x80;
  bool loopbackOrUnspecified = true;
  for (int i = 0; i < 15; ++i) loopbackOrUnspecified &= bytes[i] == 0;
  return !linkLocal && !loopbackOrUnspecified;
}

}  // namespace

bool ProbeWriteAccess(const std::wstring& path) {
  if (path.empty()) return false;
  const std::string narrow = ToNarrow(path, kCodePageUtf8);
  if (::unlink(narrow.c_str()) != 0 && errno != ENOENT) return false;
  const int fd = ::open(narrow.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  ::close(fd);
  return ::unlink(narrow.c_str()) == 0;
}

uint32_t GetNetworkConnectivity() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return 0;
  bool ipv4 = false, ipv6 = false;
  for (const ifaddrs* it = list; it; it = it->ifa_next) {
    if (!it->ifa_addr || (it->ifa_flags & IFF_LOOPBACK) || !(it->ifa_flags & IFF_UP) ||
        !(it->ifa_flags & IFF_RUNNING)) {
      continue;
    }
    if (it->ifa_addr->sa_family == AF_INET) ipv4 = true;
    if (it->ifa_addr->sa_family == AF_INET6 && IsGlobalIpv6(it->ifa_addr)) ipv6 = true;
  }
  freeifaddrs(list);

  uint32_t flags = 0;
  if (ipv4) {
    flags |= HasIpv4DefaultRoute(ReadText("/proc/net/route")) ? kConnectivityIpv4Internet
                                                              : kConnectivityIpv4Subnet;
  }
  if (ipv6) {
    flags |= HasIpv6DefaultRoute(ReadText("/proc/net/ipv6_route")) ? kConnectivityIpv6Internet
                                                                   : kConnectivityIpv6Subnet;
  }
  const bool internet = flags & (kConnectivityIpv4Internet | kConnectivityIpv6Internet);
  return ConnectivityCode(flags, internet);
}

uint32_t RunNetworkProbe() { return GetNetworkConnectivity(); }

}  // namespace Utils
