#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>

#include "app/startup.h"

namespace {

std::wstring Lower(std::wstring s) {
  std::transform(s.begin(), s.end(), s.begin(), [](wchar_t c) { return std::towlower(c); });
  return s;
}

TEST(HardenDllSearch, LoadsTheListedLibrariesFromTheSystemFolder) {
  Utils::HardenDllSearch();
  wchar_t system[MAX_PATH] = {};
  ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
  for (const wchar_t* name : {L"version.dll", L"msimg32.dll", L"dwmapi.dll"}) {
    HMODULE module = GetModuleHandleW(name);
    ASSERT_NE(module, nullptr) << name;
    wchar_t path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(module, path, MAX_PATH), 0u);
    EXPECT_EQ(Lower(path), Lower(std::wstring(system) + L"\\" + name));
  }
}

}  // namespace
