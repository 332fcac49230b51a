#include "window/sequence_steps.h"

#include <gtest/gtest.h>

namespace DuiLib {
namespace {

using Action = SequenceSteps::Action;

// Runs `events` timer events and writes what each did: the frame shown,
// "stop" when the timer is killed (no events follow then), "-" for nothing.
std::string RunTimer(SequenceSteps steps, int events) {
  std::string shown;
  for (int i = 0; i < events; ++i) {
    const SequenceSteps::Result r = steps.Step();
    if (!shown.empty()) shown += ' ';
    if (r.action == Action::kStopTimer) return shown + "stop";
    if (r.action == Action::kNothing) {
      shown += '-';
      continue;
    }
    EXPECT_FALSE(r.frame.empty());
    for (wchar_t c : r.frame) shown += static_cast<char>(c);
  }
  return shown;
}

SequenceSteps Sequence(uint32_t count, bool loop, bool roundTrip, std::wstring format = L"%d") {
  SequenceSteps s;
  s.format = std::move(format);
  s.count = count;
  s.loop = loop;
  s.roundTrip = roundTrip;
  return s;
}

TEST(SequenceSteps, FollowsTheFourKindsOfSequence) {
  EXPECT_EQ(RunTimer(Sequence(3, true, true), 9), "0 1 2 1 0 1 2 1 0");
  EXPECT_EQ(RunTimer(Sequence(3, true, false), 7), "0 1 2 0 1 2 0");
  EXPECT_EQ(RunTimer(Sequence(3, false, false), 5), "0 1 2 stop");
  EXPECT_EQ(RunTimer(Sequence(3, false, true), 6), "0 1 2 1 stop");
}

TEST(SequenceSteps, CountZeroRunsOnWithoutWrapping) {
  SequenceSteps s = Sequence(0, true, true, L"res\\anim\\%.3d.png");
  EXPECT_EQ(s.Step().frame, L"res\\anim\\000.png");
  EXPECT_EQ(s.Step().frame, L"res\\anim\\001.png");
  EXPECT_EQ(s.Step().frame, L"res\\anim\\002.png");
  s.index = 999;
  EXPECT_EQ(s.Step().frame, L"res\\anim\\999.png");
  EXPECT_EQ(s.Step().frame, L"res\\anim\\1000.png");
}

TEST(SequenceSteps, EmptyOrHostileFormatsDrawNothing) {
  EXPECT_EQ(RunTimer(Sequence(3, true, true, L""), 4), "- - - -");
  for (const wchar_t* format : {L"%s", L"%n", L"%d%d", L"%99999d", L"%ls.png"}) {
    SequenceSteps s = Sequence(3, true, true, format);
    const SequenceSteps::Result r = s.Step();
    EXPECT_EQ(r.action, Action::kNothing);
    EXPECT_TRUE(r.frame.empty());
  }
  EXPECT_EQ(RunTimer(Sequence(2, true, false, std::wstring(300, L'x') + L"%d"), 3), "- - -");
  // An empty format leaves the state alone; a refused one still steps.
  SequenceSteps empty = Sequence(3, true, true, L"");
  empty.Step();
  EXPECT_EQ(empty.index, 0u);
}

TEST(SequenceSteps, SmallCountsWithRoundTripStayDefined) {
  // One frame and the round trip: the index goes below 0 and is shown as
  // such, as formatted signed values.
  EXPECT_EQ(RunTimer(Sequence(1, true, true), 4), "0 -1 -2 -3");
}

}  // namespace
}  // namespace DuiLib
