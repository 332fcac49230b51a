#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "env/probes.h"

namespace {

TEST(NetworkConnectivityWindows, ManagerAnswersOnlyOnAComThread) {
  EXPECT_EQ(Utils::GetNetworkConnectivity(), 0u) << "COM is not initialised on this thread yet";
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  const uint32_t code = Utils::GetNetworkConnectivity();
  CoUninitialize();
  EXPECT_NE(code, 0u);
  const uint32_t status = code >> 16, flags = code & 0xFFFF;
  EXPECT_LE(status, 2u);
  EXPECT_EQ(status == 1, flags == 0) << code;
  EXPECT_EQ(Utils::RunNetworkProbe(), code) << "the worker's probe sets up COM itself";
}

}  // namespace
