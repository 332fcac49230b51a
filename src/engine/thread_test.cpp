#include "engine/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

TEST(Thread, RunsTheFunctionWithItsArgumentOnlyAfterResume) {
  std::atomic<int> runs{0};
  std::atomic<uint32_t> seenId{0};
  int argument = 41;
  void* seenArgument = nullptr;
  Utils::Thread thread(
      [&](void* arg) -> uint32_t {
        seenArgument = arg;
        seenId = Utils::CurrentThreadId();
        ++runs;
        return 7;
      },
      &argument, L"ABDEF");
  ASSERT_TRUE(thread.IsCreated());
  EXPECT_EQ(thread.DebugName(), "ABDEF");
  const uint32_t id = thread.Id();
  EXPECT_NE(id, UINT32_MAX);
  EXPECT_EQ(runs.load(), 0);
  EXPECT_TRUE(thread.Resume());
  EXPECT_TRUE(thread.Resume());  // a second resume changes nothing
  thread.Join();
  EXPECT_EQ(runs.load(), 1);
  EXPECT_EQ(seenArgument, &argument);
  EXPECT_EQ(seenId.load(), id);
  EXPECT_FALSE(thread.IsCreated());
  EXPECT_EQ(thread.Id(), UINT32_MAX);
  EXPECT_FALSE(thread.Resume());
}

TEST(Thread, ANeverResumedThreadIsDiscardedWithoutRunning) {
  std::atomic<int> runs{0};
  {
    Utils::Thread thread([&](void*) -> uint32_t { return ++runs; }, nullptr, L"UnInstaller");
    ASSERT_TRUE(thread.IsCreated());
  }  // must not block
  EXPECT_EQ(runs.load(), 0);
}

TEST(Thread, AnUnnamedThreadIsNamedAfterItsId) {
  Utils::Thread thread([](void*) -> uint32_t { return 0; }, nullptr, L"");
  ASSERT_TRUE(thread.IsCreated());
  EXPECT_EQ(thread.DebugName(), "t" + std::to_string(thread.Id()));
}

TEST(Thread, DestructionWaitsForTheRunningFunction) {
  std::atomic<bool> release{false};
  std::atomic<bool> finished{false};
  std::thread releaser;
  {
    Utils::Thread thread(
        [&](void*) -> uint32_t {
          while (!release) std::this_thread::yield();
          finished = true;
          return 0;
        },
        nullptr, L"ABDEF");
    ASSERT_TRUE(thread.Resume());
    releaser = std::thread([&] { release = true; });
  }
  EXPECT_TRUE(finished.load());
  releaser.join();
}

}  // namespace
