#include "env/probes.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "env/test_support.h"

namespace {

TEST(ProbeWriteAccess, CreatesAndRemovesTheFile) {
  Utils::Testing::TempFolder temp;
  const auto package = temp.path() / "package_Quorvane.exe";
  EXPECT_TRUE(Utils::ProbeWriteAccess(package.wstring()));
  EXPECT_FALSE(std::filesystem::exists(package));

  Utils::Testing::WriteFile(package, "partial download");
  EXPECT_TRUE(Utils::ProbeWriteAccess(package.wstring()));
  EXPECT_FALSE(std::filesystem::exists(package)) << "a partial download is removed";
}

TEST(ProbeWriteAccess, FolderInTheWayOrMissingParentFails) {
  Utils::Testing::TempFolder temp;
  std::filesystem::create_directory(temp.path() / "dir");
  EXPECT_FALSE(Utils::ProbeWriteAccess(temp.Wide(L"dir")));
  EXPECT_TRUE(std::filesystem::is_directory(temp.path() / "dir"));
  EXPECT_FALSE(Utils::ProbeWriteAccess((temp.path() / "missing" / "file").wstring()));
  EXPECT_FALSE(Utils::ProbeWriteAccess(L""));
}

TEST(NetworkConnectivity, CodeCombinesStatusAndFlags) {
  EXPECT_EQ(Utils::ConnectivityCode(0, false), 65536u);
  EXPECT_EQ(Utils::ConnectivityCode(0, true), 65536u) << "no flags: internet is not asked";
  EXPECT_EQ(Utils::ConnectivityCode(0x40, true), 0x40u);
  EXPECT_EQ(Utils::ConnectivityCode(0x10, false), 131072u + 0x10);
  EXPECT_TRUE(Utils::IsNetworkUsable(0));
  EXPECT_TRUE(Utils::IsNetworkUsable(0x440));
  EXPECT_FALSE(Utils::IsNetworkUsable(65536));
  EXPECT_FALSE(Utils::IsNetworkUsable(131072 + 0x10));
}

TEST(NetworkConnectivity, DefaultRoutesOfTheKernelTables) {
  const char* heading = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
  EXPECT_TRUE(Utils::HasIpv4DefaultRoute(std::string(heading) +
                                         "eth0\t00000000\t0102A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"));
  EXPECT_FALSE(Utils::HasIpv4DefaultRoute(std::string(heading) +
                                          "eth0\t0002A8C0\t00000000\t0001\t0\t0\t100\t00FFFFFF\t0\t0\t0\n"));
  EXPECT_FALSE(Utils::HasIpv4DefaultRoute(std::string(heading) +
                                          "eth0\t00000000\t0102A8C0\t0002\t0\t0\t100\t00000000\t0\t0\t0\n"))
      << "a route that is not up";
  EXPECT_FALSE(Utils::HasIpv4DefaultRoute(heading));

  const std::string zero(32, '0');
  EXPECT_TRUE(Utils::HasIpv6DefaultRoute(zero + " 00 " + zero + " 00 fe800000000000000000000000000001 "
                                         "00000400 00000001 00000000 00000003 eth0\n"));
  EXPECT_FALSE(Utils::HasIpv6DefaultRoute(zero + " 00 " + zero + " 00 " + zero +
                                          " ffffffff 00000001 00000000 00200200 lo\n"))
      << "the loopback's unreachable default";
}

TEST(NetworkConnectivity, LiveCodeIsWellFormed) {
  const uint32_t code = Utils::GetNetworkConnectivity();
  const uint32_t status = code >> 16, flags = code & 0xFFFF;
  if (code != 0) {
    EXPECT_LE(status, 2u);
    EXPECT_EQ(status == 1, flags == 0) << code;
  }
}

}  // namespace
