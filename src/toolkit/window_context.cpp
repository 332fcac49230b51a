#include "toolkit/window_context.h"

#include <algorithm>
#include <chrono>

#include "toolkit/containers.h"
#include "toolkit/fixed_text_service.h"
#include "toolkit/layout_parser.h"
#include "toolkit/layout_values.h"
#include "toolkit/skin_archive.h"

namespace DuiLib {

namespace {

template <typename Visit>
CControlUI* FindDepthFirst(CControlUI* control, const Visit& match) {
  if (!control) return nullptr;
  if (match(control)) return control;
  if (CContainerUI* container = control->AsContainer()) {
    for (int i = 0; i < container->GetCount(); ++i) {
      if (CControlUI* found = FindDepthFirst(container->GetItemAt(i), match)) return found;
    }
  }
  return nullptr;
}

CControlUI* FindAt(CControlUI* control, int x, int y) {
  if (!control || !control->IsVisible() || !control->GetPos().Contains(x, y)) return nullptr;
  if (CContainerUI* container = control->AsContainer()) {
    for (int i = container->GetCount() - 1; i >= 0; --i) {
      if (CControlUI* found = FindAt(container->GetItemAt(i), x, y)) return found;
    }
  }
  return control;
}

template <typename Visit>
void ForEachControl(CControlUI* control, const Visit& visit) {
  if (!control) return;
  visit(control);
  if (CContainerUI* container = control->AsContainer()) {
    for (int i = 0; i < container->GetCount(); ++i) ForEachControl(container->GetItemAt(i), visit);
  }
}

void SendEvent(CControlUI* control, UIEventType type, int x = 0, int y = 0, intptr_t wParam = 0,
               intptr_t lParam = 0) {
  UIEvent event;
  event.type = type;
  event.x = x;
  event.y = y;
  event.wParam = wParam;
  event.lParam = lParam;
  control->DoEvent(event);
}

}  // namespace

CWindowContext::CWindowContext(std::shared_ptr<ITextService> text, SkinFileReader reader)
    : text_(text ? std::move(text) : std::make_shared<FixedTextService>()),
      images_(reader ? std::move(reader) : SkinFileReader(&ReadSkinImageFile)) {
  defaultFont_.height = text_->FontHeight(defaultFont_.spec);
}

CWindowContext::~CWindowContext() {
  // Controls reach back into the window while they are destroyed.
  root_.reset();
}

void CWindowContext::AttachRoot(std::unique_ptr<CControlUI> root) {
  hot_ = pushed_ = focus_ = nullptr;
  root_.reset();
  root_ = std::move(root);
  if (!root_) return;
  root_->SetManager(this, nullptr);
  ForEachControl(root_.get(), [](CControlUI* c) { c->DoInit(); });
  NeedUpdate();
}

CControlUI* CWindowContext::FindControl(std::wstring_view name) const {
  if (name.empty()) return nullptr;
  return FindDepthFirst(root_.get(), [name](CControlUI* c) { return c->GetName() == name; });
}

CControlUI* CWindowContext::FindControlAt(int x, int y) const { return FindAt(root_.get(), x, y); }

void CWindowContext::SetCustomAttribute(std::wstring_view name, std::wstring_view value) {
  for (auto& attribute : customAttributes_) {
    if (EqualsNoCase(attribute.first, name)) {
      attribute.second.assign(value);
      return;
    }
  }
  customAttributes_.emplace_back(std::wstring(name), std::wstring(value));
}

const std::wstring* CWindowContext::GetCustomAttribute(std::wstring_view name) const {
  for (const auto& attribute : customAttributes_) {
    if (EqualsNoCase(attribute.first, name)) return &attribute.second;
  }
  return nullptr;
}

void CWindowContext::SetWindowAttribute(std::wstring_view name, std::wstring_view value) {
  if (EqualsNoCase(name, L"size")) {
    int v[2];
    ParseLayoutInts(value, v, 2);
    SetInitSize({v[0], v[1]});
  } else if (EqualsNoCase(name, L"caption")) {
    int v[4];
    ParseLayoutInts(value, v, 4);
    SetCaptionRect(Rect(v[0], v[1], v[2], v[3]));
  } else if (EqualsNoCase(name, L"roundcorner")) {
    int v[2];
    ParseLayoutInts(value, v, 2);
    SetRoundCorner({v[0], v[1]});
  } else {
    SetCustomAttribute(name, value);
  }
}

bool CWindowContext::IsCaptionPoint(int x, int y) const {
  if (x < caption_.left || x >= clientSize_.cx - caption_.right) return false;
  if (y < caption_.top || y >= caption_.bottom) return false;
  CControlUI* control = FindControlAt(x, y);
  if (!control) return false;
  const std::wstring_view cls = control->GetClass();
  return !EqualsNoCase(cls, L"Button") && !EqualsNoCase(cls, L"Option") && !EqualsNoCase(cls, L"Text");
}

void CWindowContext::AddFont(int id, const FontSpec& spec, bool isDefault) {
  FontInfo info{spec, text_->FontHeight(spec)};
  if (isDefault) defaultFont_ = info;
  fonts_[id] = std::move(info);
  NeedUpdate();
}

const FontInfo& CWindowContext::GetFont(int id) const {
  if (id >= 0) {
    const auto it = fonts_.find(id);
    if (it != fonts_.end()) return it->second;
  }
  return defaultFont_;
}

void CWindowContext::SetClientSize(Size size) {
  if (size.cx == clientSize_.cx && size.cy == clientSize_.cy) return;
  clientSize_ = size;
  NeedUpdate();
}

void CWindowContext::LayoutIfNeeded() {
  if (!needLayout_) return;
  needLayout_ = false;
  if (!root_) return;
  // Placing controls may ask for another layout (a label that learns its
  // text size); one pass settles the installer's layouts, a few more any
  // other.
  for (int round = 0; round < 4; ++round) {
    root_->SetPos(Rect(0, 0, clientSize_.cx, clientSize_.cy));
    if (!needLayout_) break;
    needLayout_ = false;
  }
  needLayout_ = false;
}

void CWindowContext::Paint(Canvas& canvas, const Rect& paintArea) {
  LayoutIfNeeded();
  if (!root_ || !root_->IsVisible()) return;
  root_->DoPaint(canvas, paintArea);
}

void CWindowContext::Invalidate(const Rect& rect) {
  if (onInvalidate_) onInvalidate_(rect);
}

void CWindowContext::AddNotifier(INotifyUI* receiver) {
  if (receiver && std::find(notifiers_.begin(), notifiers_.end(), receiver) == notifiers_.end()) {
    notifiers_.push_back(receiver);
  }
}

void CWindowContext::RemoveNotifier(INotifyUI* receiver) {
  notifiers_.erase(std::remove(notifiers_.begin(), notifiers_.end(), receiver), notifiers_.end());
}

uint64_t CWindowContext::Now() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

namespace {

NotifyMsg MakeNotify(CControlUI* sender, std::wstring_view type, intptr_t wParam,
                     intptr_t lParam, uint64_t timestamp) {
  NotifyMsg msg;
  msg.type.assign(type);
  msg.sender = sender;
  msg.timestamp = timestamp;
  msg.wParam = wParam;
  msg.lParam = lParam;
  return msg;
}

}  // namespace

void CWindowContext::SendNotify(CControlUI* sender, std::wstring_view type, intptr_t wParam,
                                intptr_t lParam) {
  NotifyMsg msg = MakeNotify(sender, type, wParam, lParam, Now());
  // A receiver may add or remove receivers while it is notified.
  const std::vector<INotifyUI*> receivers = notifiers_;
  for (INotifyUI* receiver : receivers) {
    if (std::find(notifiers_.begin(), notifiers_.end(), receiver) != notifiers_.end()) {
      receiver->Notify(msg);
    }
  }
}

void CWindowContext::PostNotify(CControlUI* sender, std::wstring_view type, intptr_t wParam,
                                intptr_t lParam) {
  NotifyMsg msg = MakeNotify(sender, type, wParam, lParam, Now());
  {
    std::lock_guard<std::mutex> lock(queueMutex_);
    queue_.push_back(std::move(msg));
  }
  if (onWakeUp_) onWakeUp_();
}

std::size_t CWindowContext::DispatchQueuedNotifications() {
  std::deque<NotifyMsg> pending;
  {
    std::lock_guard<std::mutex> lock(queueMutex_);
    pending.swap(queue_);
  }
  for (NotifyMsg& msg : pending) {
    const std::vector<INotifyUI*> receivers = notifiers_;
    for (INotifyUI* receiver : receivers) {
      if (std::find(notifiers_.begin(), notifiers_.end(), receiver) != notifiers_.end()) {
        receiver->Notify(msg);
      }
    }
  }
  return pending.size();
}

bool CWindowContext::SetTimer(CControlUI* control, unsigned id, unsigned elapseMs) {
  if (!timers_ || !control) return false;
  if (!timers_->SetTimer(control, id, elapseMs)) return false;
  const std::pair<CControlUI*, unsigned> timer(control, id);
  if (std::find(armedTimers_.begin(), armedTimers_.end(), timer) == armedTimers_.end()) {
    armedTimers_.push_back(timer);
  }
  return true;
}

void CWindowContext::KillTimer(CControlUI* control, unsigned id) {
  const auto it = std::find(armedTimers_.begin(), armedTimers_.end(), std::make_pair(control, id));
  if (it == armedTimers_.end()) return;
  armedTimers_.erase(it);
  if (timers_) timers_->KillTimer(control, id);
}

void CWindowContext::OnTimer(CControlUI* control, unsigned id) {
  if (std::find(armedTimers_.begin(), armedTimers_.end(), std::make_pair(control, id)) ==
      armedTimers_.end()) {
    return;
  }
  SendEvent(control, UIEventType::kTimer, 0, 0, static_cast<intptr_t>(id));
}

void CWindowContext::OnMouseMove(int x, int y, intptr_t wParam, intptr_t lParam) {
  LayoutIfNeeded();
  CControlUI* target = FindControlAt(x, y);
  if (target && !target->IsEnabled()) target = nullptr;
  if (target == hot_) return;
  CControlUI* old = hot_;
  hot_ = target;
  if (old) SendEvent(old, UIEventType::kMouseLeave, x, y, wParam, lParam);
  if (hot_) SendEvent(hot_, UIEventType::kMouseEnter, x, y, wParam, lParam);
}

void CWindowContext::OnMouseLeaveWindow() {
  CControlUI* old = hot_;
  hot_ = nullptr;
  if (old) SendEvent(old, UIEventType::kMouseLeave);
}

void CWindowContext::OnButtonDown(int x, int y) {
  LayoutIfNeeded();
  CControlUI* target = FindControlAt(x, y);
  if (!target || !target->IsEnabled()) return;
  pushed_ = target;
  SetFocus(target);
  SendEvent(target, UIEventType::kButtonDown, x, y);
}

void CWindowContext::OnButtonUp(int x, int y) {
  CControlUI* target = pushed_;
  pushed_ = nullptr;
  if (target) SendEvent(target, UIEventType::kButtonUp, x, y);
}

void CWindowContext::OnKeyDown(unsigned key) {
  if (!focus_) return;
  UIEvent event;
  event.type = UIEventType::kKeyDown;
  event.key = key;
  focus_->DoEvent(event);
}

void CWindowContext::SetFocus(CControlUI* control) {
  if (control == focus_) return;
  CControlUI* old = focus_;
  focus_ = control;
  if (old) SendEvent(old, UIEventType::kKillFocus);
  if (focus_) SendEvent(focus_, UIEventType::kSetFocus);
}

void CWindowContext::ReapControl(CControlUI* control) {
  for (std::size_t i = armedTimers_.size(); i-- > 0;) {
    if (armedTimers_[i].first == control) KillTimer(control, armedTimers_[i].second);
  }
  {
    std::lock_guard<std::mutex> lock(queueMutex_);
    for (NotifyMsg& msg : queue_) {
      if (msg.sender == control) msg.sender = nullptr;
    }
  }
  if (hot_ == control) hot_ = nullptr;
  if (pushed_ == control) pushed_ = nullptr;
  if (focus_ == control) focus_ = nullptr;
}

}  // namespace DuiLib
