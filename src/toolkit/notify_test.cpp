#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "toolkit/layout_test_support.h"

namespace DuiLib {
namespace {

using testing::TestWindow;

struct Recorder : INotifyUI {
  struct Entry {
    std::wstring type;
    std::wstring sender;
    intptr_t wParam;
    intptr_t lParam;
    bool operator==(const Entry& o) const {
      return type == o.type && sender == o.sender && wParam == o.wParam && lParam == o.lParam;
    }
  };
  void Notify(NotifyMsg& msg) override {
    entries.push_back({msg.type, msg.sender ? msg.sender->GetName() : L"", msg.wParam, msg.lParam});
  }
  std::vector<Entry> entries;
};

std::ostream& operator<<(std::ostream& os, const Recorder::Entry& e) {
  return os << std::string(e.type.begin(), e.type.end()) << "("
            << std::string(e.sender.begin(), e.sender.end()) << ", " << e.wParam << ", "
            << e.lParam << ")";
}

constexpr const char* kDocument = R"(<Window><VerticalLayout>
    <Button name="btn" height="20"/>
    <CheckBox name="cb" height="20" selected="true"/>
    <TabLayout name="tabs" height="20"><Control name="p0"/><Control name="p1"/><Control name="p2"/></TabLayout>
    <Label name="label" height="20"/>
  </VerticalLayout></Window>)";

struct NotifyFixture : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(t.Load(kDocument, nullptr, {100, 80}));
    t.window.AddNotifier(&recorder);
  }
  TestWindow t;
  Recorder recorder;
};

using E = Recorder::Entry;

TEST_F(NotifyFixture, CheckBoxSelectionRules) {
  auto* cb = t.Find<CCheckBoxUI>(L"cb");
  // Built selected, before it belonged to a window: no notification.
  EXPECT_TRUE(cb->IsSelected());
  EXPECT_TRUE(recorder.entries.empty());
  cb->Selected(true);
  EXPECT_TRUE(recorder.entries.empty());
  cb->Selected(false);
  EXPECT_EQ(recorder.entries, (std::vector<E>{{L"selectchanged", L"cb", 0, 0}}));
  recorder.entries.clear();
  // Activation: "click" first, then the inverted state.
  t.window.OnButtonDown(50, 30);
  t.window.OnButtonUp(50, 30);
  EXPECT_TRUE(cb->IsSelected());
  EXPECT_EQ(recorder.entries,
            (std::vector<E>{{L"click", L"cb", 0, 0}, {L"selectchanged", L"cb", 0, 0}}));
  recorder.entries.clear();
  // The keyboard activates the focused control.
  t.window.OnKeyDown(kKeySpace);
  t.window.OnKeyDown(kKeyReturn);
  t.window.OnKeyDown(0x41);
  EXPECT_TRUE(cb->IsSelected());
  EXPECT_EQ(recorder.entries.size(), 4u);
  // Disabled controls are not activated.
  recorder.entries.clear();
  cb->SetEnabled(false);
  EXPECT_FALSE(cb->Activate());
  EXPECT_TRUE(recorder.entries.empty());
}

TEST_F(NotifyFixture, ClickNeedsReleaseOverTheButton) {
  t.window.OnButtonDown(50, 10);
  t.window.OnButtonUp(50, 70);
  EXPECT_TRUE(recorder.entries.empty());
  t.window.OnButtonDown(50, 10);
  t.window.OnButtonUp(51, 11);
  EXPECT_EQ(recorder.entries, (std::vector<E>{{L"click", L"btn", 0, 0}}));
}

TEST_F(NotifyFixture, MouseEnterAndLeaveCarryTheMouseParameters) {
  t.window.OnMouseMove(50, 10, 1, 0x000A0032);
  t.window.OnMouseMove(60, 12, 1, 0x000C003C);  // still over the button
  t.window.OnMouseMove(50, 70, 0, 0x00460032);  // over the label: nothing from it
  EXPECT_EQ(recorder.entries, (std::vector<E>{{L"mouseenter", L"btn", 1, 0x000A0032},
                                              {L"mouseleave", L"btn", 0, 0x00460032}}));
}

TEST_F(NotifyFixture, TabSelectCarriesNewAndOldIndex) {
  auto* tabs = t.Find<CTabLayoutUI>(L"tabs");
  EXPECT_TRUE(tabs->SelectItem(2));
  EXPECT_FALSE(tabs->SelectItem(2));
  EXPECT_FALSE(tabs->SelectItem(3));
  EXPECT_FALSE(tabs->SelectItem(-1));
  EXPECT_TRUE(tabs->SelectItem(0, false));
  EXPECT_TRUE(tabs->SelectItem(1));
  EXPECT_EQ(recorder.entries,
            (std::vector<E>{{L"tabselect", L"tabs", 2, 0}, {L"tabselect", L"tabs", 1, 0}}));
  EXPECT_EQ(t.window.GetFocus(), t.Find(L"p1"));
  EXPECT_TRUE(t.Find(L"p1")->IsVisible());
  EXPECT_FALSE(t.Find(L"p0")->IsVisible());
}

struct FakeTimers : ITimerService {
  bool SetTimer(CControlUI* control, unsigned id, unsigned elapseMs) override {
    armed.push_back({control, id, elapseMs});
    return true;
  }
  void KillTimer(CControlUI* control, unsigned id) override {
    killed.push_back({control, id, 0});
  }
  struct Timer {
    CControlUI* control;
    unsigned id;
    unsigned elapse;
  };
  std::vector<Timer> armed;
  std::vector<Timer> killed;
};

TEST_F(NotifyFixture, TimersGoThroughTheServiceAndNotifyOnExpiry) {
  CControlUI* label = t.Find(L"label");
  EXPECT_FALSE(t.window.SetTimer(label, 2100, 60));  // no service yet
  FakeTimers timers;
  t.window.SetTimerService(&timers);
  EXPECT_TRUE(t.window.SetTimer(label, 2100, 60));
  ASSERT_EQ(timers.armed.size(), 1u);
  EXPECT_EQ(timers.armed[0].elapse, 60u);
  t.window.OnTimer(label, 2100);
  t.window.KillTimer(label, 2100);
  EXPECT_EQ(timers.killed.size(), 1u);
  EXPECT_EQ(recorder.entries, (std::vector<E>{{L"timer", L"label", 2100, 0}}));
}

TEST_F(NotifyFixture, QueuedNotificationsFromWorkersArriveOnTheWindowThread) {
  constexpr int kThreads = 4;
  constexpr int kPerThread = 200;
  std::atomic<int> wakeUps{0};
  t.window.SetWakeUpHandler([&] { wakeUps.fetch_add(1); });
  CControlUI* label = t.Find(L"label");
  const std::thread::id windowThread = std::this_thread::get_id();
  std::vector<std::thread::id> deliveredOn;
  struct ThreadCheck : INotifyUI {
    std::vector<std::thread::id>* seen;
    void Notify(NotifyMsg&) override { seen->push_back(std::this_thread::get_id()); }
  } check;
  check.seen = &deliveredOn;
  t.window.AddNotifier(&check);

  std::vector<std::thread> workers;
  for (int w = 0; w < kThreads; ++w) {
    workers.emplace_back([&, w] {
      for (int i = 0; i < kPerThread; ++i) t.window.PostNotify(label, L"checknet", w, i);
    });
  }
  std::size_t delivered = 0;
  while (delivered < std::size_t(kThreads * kPerThread)) {
    delivered += t.window.DispatchQueuedNotifications();
    std::this_thread::yield();
  }
  for (auto& worker : workers) worker.join();
  EXPECT_EQ(t.window.DispatchQueuedNotifications(), 0u);
  EXPECT_EQ(wakeUps.load(), kThreads * kPerThread);
  ASSERT_EQ(recorder.entries.size(), std::size_t(kThreads * kPerThread));
  // Each worker's notifications keep their order.
  std::vector<intptr_t> next(kThreads, 0);
  for (const E& e : recorder.entries) {
    EXPECT_EQ(e.type, L"checknet");
    EXPECT_EQ(e.lParam, next[static_cast<size_t>(e.wParam)]++);
  }
  for (std::thread::id id : deliveredOn) EXPECT_EQ(id, windowThread);
}

TEST_F(NotifyFixture, ReceiversInOrderAndRemovable) {
  Recorder second;
  t.window.AddNotifier(&second);
  t.window.AddNotifier(&second);  // once only
  t.Find(L"btn")->Activate();
  t.window.RemoveNotifier(&recorder);
  t.Find(L"btn")->Activate();
  EXPECT_EQ(recorder.entries.size(), 1u);
  EXPECT_EQ(second.entries.size(), 2u);
}

TEST(CaptionHitTest, ExcludesButtonsOptionsAndText) {
  TestWindow t;
  ASSERT_TRUE(t.Load(R"(<Window caption="0,0,10,35"><VerticalLayout>
      <HorizontalLayout height="35"><Label width="20"/><Button width="20"/><Option width="20"/>
        <CheckBox width="20"/><Control/></HorizontalLayout>
      <Control/></VerticalLayout></Window>)",
                     nullptr, {200, 100}));
  EXPECT_TRUE(t.window.IsCaptionPoint(5, 5));     // label
  EXPECT_FALSE(t.window.IsCaptionPoint(25, 5));   // button
  EXPECT_FALSE(t.window.IsCaptionPoint(45, 5));   // option
  EXPECT_TRUE(t.window.IsCaptionPoint(65, 5));    // check box
  EXPECT_TRUE(t.window.IsCaptionPoint(150, 34));  // spacer
  EXPECT_FALSE(t.window.IsCaptionPoint(195, 5));  // inside the right margin
  EXPECT_FALSE(t.window.IsCaptionPoint(50, 35));  // below the caption
}

TEST(ControlLifetime, WindowForgetsDestroyedControls) {
  TestWindow t;
  ASSERT_TRUE(t.Load(R"(<Window><VerticalLayout name="root"><Button name="b"/></VerticalLayout></Window>)",
                     nullptr, {100, 40}));
  t.window.OnMouseMove(10, 10);
  t.window.OnButtonDown(10, 10);
  auto* root = t.Find<CContainerUI>(L"root");
  ASSERT_TRUE(root->Remove(t.Find(L"b")));
  EXPECT_EQ(t.window.GetHot(), nullptr);
  EXPECT_EQ(t.window.GetFocus(), nullptr);
  t.window.OnButtonUp(10, 10);  // must not touch the destroyed button
  t.window.OnKeyDown(kKeySpace);
}

}  // namespace
}  // namespace DuiLib
