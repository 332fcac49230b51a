#include <pthread.h>

#include <gtest/gtest.h>

#include <string>

#include "engine/thread.h"

namespace {

std::string OwnName() {
  char name[32] = {};
  pthread_getname_np(pthread_self(), name, sizeof name);
  return name;
}

TEST(ThreadPosix, TheSystemSeesTheNameCutTo15Bytes) {
  std::string seen;
  {
    Utils::Thread thread([&](void*) -> uint32_t { seen = OwnName(); return 0; }, nullptr,
                         L"UnInstaller");
    thread.Resume();
  }
  EXPECT_EQ(seen, "UnInstaller");
  {
    Utils::Thread thread([&](void*) -> uint32_t { seen = OwnName(); return 0; }, nullptr,
                         L"a-very-long-thread-name");
    thread.Resume();
  }
  EXPECT_EQ(seen, "a-very-long-thr");
}

}  // namespace
