#include <windows.h>

#include <gtest/gtest.h>

#include "app/probe.h"

namespace {

using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);

TEST(ProbeWin32, VersionNameAgreesWithTheKernelsOwnReport) {
  auto getVersion = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  ASSERT_NE(getVersion, nullptr);
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_EQ(getVersion(&info), 0);
  const Utils::WindowsVersion v = Utils::GetWindowsVersionName();
  EXPECT_EQ(v.name, L"Windows");
  EXPECT_EQ(v.version, Utils::VersionText(info.dwMajorVersion, info.dwMinorVersion,
                                          info.dwBuildNumber & 0xFFFF,
                                          GetSystemMetrics(SM_SERVERR2) != 0));
  EXPECT_TRUE(Utils::Is64BitWindows());  // this test program is a 64-bit process
}

class PumpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = CreateWindowExW(0, L"STATIC", L"pump", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  HWND window_ = nullptr;
};

TEST_F(PumpTest, WaitsAtLeastTheTimeWhileMessagesArrive) {
  ASSERT_NE(SetTimer(window_, 1, 5, nullptr), 0u);
  const DWORD start = GetTickCount();
  EXPECT_TRUE(Utils::PumpMessagesFor(window_, 60));
  EXPECT_GE(GetTickCount() - start, 50u);  // the tick count is coarser than the timer
  KillTimer(window_, 1);
}

TEST_F(PumpTest, StopsAtOnceForAGoneWindow) {
  DestroyWindow(window_);
  PostMessageW(nullptr, WM_APP, 0, 0);  // would otherwise be fetched
  EXPECT_FALSE(Utils::PumpMessagesFor(window_, 1000));
  MSG msg;
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE));
}

TEST_F(PumpTest, PostsTheQuitMessageAgain) {
  PostQuitMessage(7);
  EXPECT_FALSE(Utils::PumpMessagesFor(nullptr, 1000));
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

}  // namespace
