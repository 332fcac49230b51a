#include <windows.h>

#include <gtest/gtest.h>

#include "env/registry.h"
#include "env/registry_sandbox.h"

namespace {

TEST(RegistryWindows, StringIsStoredWithoutTerminator) {
  Utils::Testing::RegistrySandbox sandbox;
  ASSERT_TRUE(Utils::RegWriteString(Utils::RegRoot::CurrentUser, sandbox.Key(), L"InstallPath",
                                    Utils::kRegSz, L"C:\\Q"));
  DWORD type = 0, size = 0;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, sandbox.Key().c_str(), L"InstallPath",
                         RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 8u);
}

}  // namespace
