#include "app/single_instance.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::wstring UniqueName() {
  std::random_device random;
  return L"QvTest_" + std::to_wstring(random()) + L"_" + std::to_wstring(random());
}

TEST(SingleInstanceGuard, OneOwnerAtATimeAndFreeAgainAfterRelease) {
  const std::wstring name = UniqueName();
  auto first = std::make_unique<Utils::SingleInstanceGuard>(name);
  EXPECT_FALSE(first->IsOwner());
  first->Create();
  ASSERT_TRUE(first->IsOwner());
  first->Create();  // already the owner: nothing changes
  EXPECT_TRUE(first->IsOwner());

  Utils::SingleInstanceGuard second(name);
  second.Create();
  EXPECT_FALSE(second.IsOwner());
  Utils::SingleInstanceGuard other(name + L"x");
  other.Create();
  EXPECT_TRUE(other.IsOwner());

  first.reset();
  Utils::SingleInstanceGuard third(name);
  third.Create();
  EXPECT_TRUE(third.IsOwner());
}

TEST(SingleInstanceGuard, TheMutexNameCarriesTheFixedPrefix) {
  EXPECT_EQ(Utils::SingleInstanceGuard(L"Installer_Quorvane").MutexName(),
            L"D1A547DB89C0BC61_Installer_Quorvane");
}

}  // namespace
