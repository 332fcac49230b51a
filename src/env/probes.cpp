#include "probes.h"

#include <cstdlib>
#include <sstream>
#include <string>

namespace Utils {
namespace {

constexpr unsigned long kRouteUp = 0x0001;
constexpr unsigned long kRouteReject = 0x0200;

}  // namespace

uint32_t ConnectivityCode(uint32_t flags, bool connectedToInternet) {
  const uint32_t status = flags == 0 ? 1 : (connectedToInternet ? 0 : 2);
  return status * 65536u + flags;
}

bool HasIpv4DefaultRoute(std::string_view procNetRoute) {
  // Iface Destination Gateway Flags RefCnt Use Metric Mask ..., numbers in hex.
  std::istringstream lines{std::string(procNetRoute)};
  std::string line;
  std::getline(lines, line);  // the heading
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string iface, destination, gateway, flags, refCount, use, metric, mask;
    if (!(fields >> iface >> destination >> gateway >> flags >> refCount >> use >> metric >> mask))
      continue;
    const unsigned long bits = std::strtoul(flags.c_str(), nullptr, 16);
    if (iface != "lo" && destination == "00000000" && mask == "00000000" && (bits & kRouteUp) &&
        !(bits & kRouteReject)) {
      return true;
    }
  }
  return false;
}

bool HasIpv6DefaultRoute(std::string_view procNetIpv6Route) {
  // destination, its prefix length, source, its prefix length, next hop,
  // metric, reference count, use count, flags, device; no heading.
  std::istringstream lines{std::string(procNetIpv6Route)};
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string destination, prefix, source, sourcePrefix, nextHop, metric, refCount, use, flags, device;
    if (!(fields >> destination >> prefix >> source >> sourcePrefix >> nextHop >> metric >> refCount >>
          use >> flags >> device)) {
      continue;
    }
    const unsigned long bits = std::strtoul(flags.c_str(), nullptr, 16);
    if (device != "lo" && destination == std::string(32, '0') && prefix == "00" &&
        (bits & kRouteUp) && !(bits & kRouteReject)) {
      return true;
    }
  }
  return false;
}

}  // namespace Utils
