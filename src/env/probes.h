// Two small probes of the environment: write access at a file path and the
// network's connectivity.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Utils {

// True when a file can be created and deleted at `path`. A file already there
// is deleted first (false when it cannot be; a folder at the path cannot). The
// probe leaves no file behind, so it also removes a partial download.
bool ProbeWriteAccess(const std::wstring& path);

// Connectivity flags, with the values of the system's network list manager.
enum ConnectivityFlags : uint32_t {
  kConnectivityIpv4NoTraffic = 0x1,
  kConnectivityIpv6NoTraffic = 0x2,
  kConnectivityIpv4Subnet = 0x10,
  kConnectivityIpv4LocalNetwork = 0x20,
  kConnectivityIpv4Internet = 0x40,
  kConnectivityIpv6Subnet = 0x100,
  kConnectivityIpv6LocalNetwork = 0x200,
  kConnectivityIpv6Internet = 0x400,
};

// The connectivity code: status word × 65536 + the connectivity flags, where
// the status word is 1 when there are no flags, otherwise 0 when the machine
// reaches the internet and 2 when it does not. So 0 means unknown, 1..65535
// connected to the internet, 65536 no connectivity at all, and 131072 plus the
// flags connected to a network but not to the internet.
uint32_t ConnectivityCode(uint32_t flags, bool connectedToInternet);

// True when the window's network check lets an installation go ahead: the
// machine reaches the internet, or the state could not be determined.
constexpr bool IsNetworkUsable(uint32_t code) { return code < 65536; }

// The connectivity code of this machine. On Windows the network list manager
// answers; the calling thread must have initialised COM, and 0 is returned
// when the manager cannot be created. On POSIX the flags come from the
// interfaces that are up and running (not loopback): an IPv4 address gives the
// IPv4 subnet flag, a global IPv6 address the IPv6 subnet flag, and a default
// route of that family through such an interface the internet flag instead;
// the machine counts as reaching the internet when it has an internet flag.
// Blocks briefly; callable from any thread.
uint32_t GetNetworkConnectivity();

// The body of the window's network check on its worker thread: initialises
// COM for the calling thread (Windows), takes GetNetworkConnectivity and
// uninitialises COM again.
uint32_t RunNetworkProbe();

// Pieces of the POSIX probe, pure so that they can be tested: whether the text
// of /proc/net/route, or of /proc/net/ipv6_route, holds a default route that is
// up through an interface other than the loopback.
bool HasIpv4DefaultRoute(std::string_view procNetRoute);
bool HasIpv6DefaultRoute(std::string_view procNetIpv6Route);

}  // namespace Utils
