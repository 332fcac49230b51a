// CWindowContext: everything a skinned window holds apart from the system
// window itself — the control tree, fonts, window attributes from the
// layout, the image cache, notification receivers and queue, timers, the
// hot/pressed/focused controls — and the layout and painting of the whole
// tree into a bitmap.
//
// Threads: everything runs on the window thread, except `PostNotify`, which
// any thread may call; queued notifications are delivered on the window
// thread by `DispatchQueuedNotifications`.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/image.h"
#include "toolkit/render.h"
#include "toolkit/text_service.h"

namespace DuiLib {

// A notification from a control to the window.
struct NotifyMsg {
  std::wstring type;          // "click", "selectchanged", "tabselect", ...
  CControlUI* sender = nullptr;
  uint64_t timestamp = 0;     // milliseconds of a monotonic clock
  intptr_t wParam = 0;
  intptr_t lParam = 0;
};

// A receiver of notifications (the window's controller).
class INotifyUI {
 public:
  virtual ~INotifyUI() = default;
  virtual void Notify(NotifyMsg& msg) = 0;
};

// Timers of the window system. The window installs one; without it timers
// cannot be armed.
class ITimerService {
 public:
  virtual ~ITimerService() = default;
  // Arms (or re-arms) timer `id` of `control` every `elapseMs` milliseconds.
  virtual bool SetTimer(CControlUI* control, unsigned id, unsigned elapseMs) = 0;
  virtual void KillTimer(CControlUI* control, unsigned id) = 0;
};

// A declared font and its metrics, measured once when declared.
struct FontInfo {
  FontSpec spec;
  int height = 0;
};

constexpr uint32_t kDefaultTextColor = 0xFF000000;
constexpr uint32_t kDefaultDisabledTextColor = 0xFFA7A6AA;

class CWindowContext {
 public:
  // `text` measures and draws text (null: the fixed-metrics service);
  // `reader` reads skin images (null: the process's skin source).
  explicit CWindowContext(std::shared_ptr<ITextService> text = nullptr,
                          SkinFileReader reader = nullptr);
  ~CWindowContext();
  CWindowContext(const CWindowContext&) = delete;
  CWindowContext& operator=(const CWindowContext&) = delete;

  // The root control: attaches the whole tree to this window, initialises
  // every control (`DoInit`) and asks for a layout. Replaces an earlier
  // root.
  void AttachRoot(std::unique_ptr<CControlUI> root);
  CControlUI* GetRoot() const { return root_.get(); }
  // The first control whose "name" equals `name` exactly, depth-first in
  // document order; nullptr when none.
  CControlUI* FindControl(std::wstring_view name) const;
  // The deepest visible control under the point (client coordinates),
  // later siblings first; nullptr when none.
  CControlUI* FindControlAt(int x, int y) const;

  // Window attributes from the layout.
  Size GetInitSize() const { return initSize_; }
  void SetInitSize(Size size) { initSize_ = size; }
  const Rect& GetCaptionRect() const { return caption_; }
  void SetCaptionRect(const Rect& caption) { caption_ = caption; }
  Size GetRoundCorner() const { return roundCorner_; }
  void SetRoundCorner(Size corner) { roundCorner_ = corner; }
  // Attributes the window itself does not know, by name ("showshadow",
  // "shadowsize", ...); names compared without regard to case. A later
  // value replaces an earlier one.
  void SetCustomAttribute(std::wstring_view name, std::wstring_view value);
  // nullptr when absent.
  const std::wstring* GetCustomAttribute(std::wstring_view name) const;
  // Applies one attribute of the layout's window element.
  void SetWindowAttribute(std::wstring_view name, std::wstring_view value);
  // True when the point (client coordinates) is in the caption area and the
  // control under it is not a "Button", "Option" or "Text".
  bool IsCaptionPoint(int x, int y) const;

  // Fonts. A later declaration with the same id replaces the earlier one.
  void AddFont(int id, const FontSpec& spec, bool isDefault);
  // The font `id`; the default font for −1 or an unknown id.
  const FontInfo& GetFont(int id) const;
  const FontInfo& GetDefaultFont() const { return defaultFont_; }
  uint32_t GetDefaultTextColor() const { return defaultTextColor_; }
  void SetDefaultTextColor(uint32_t argb) { defaultTextColor_ = argb; }
  uint32_t GetDefaultDisabledColor() const { return defaultDisabledColor_; }
  void SetDefaultDisabledColor(uint32_t argb) { defaultDisabledColor_ = argb; }

  ITextService& Text() const { return *text_; }
  ImageCache& Images() { return images_; }

  // Size of the client area; the root always fills it.
  void SetClientSize(Size size);
  Size GetClientSize() const { return clientSize_; }
  // Lays the tree out now when something asked for it.
  void LayoutIfNeeded();
  void NeedUpdate() { needLayout_ = true; }
  bool IsLayoutNeeded() const { return needLayout_; }
  // Paints the tree into `canvas` where it meets `paintArea`, laying out
  // first when needed.
  void Paint(Canvas& canvas, const Rect& paintArea);
  // Called when a part of the window needs repainting (the system window
  // invalidates it).
  void SetInvalidateHandler(std::function<void(const Rect&)> handler) { onInvalidate_ = std::move(handler); }
  void Invalidate(const Rect& rect);

  // Notifications.
  void AddNotifier(INotifyUI* receiver);
  void RemoveNotifier(INotifyUI* receiver);
  // Delivers at once to every receiver, in the order they were added.
  void SendNotify(CControlUI* sender, std::wstring_view type, intptr_t wParam = 0,
                  intptr_t lParam = 0);
  // Any thread: queues the notification for the window thread and calls the
  // wake-up handler (the system window posts itself a message there). The
  // sender is only passed along, never touched off the window thread.
  void PostNotify(CControlUI* sender, std::wstring_view type, intptr_t wParam = 0,
                  intptr_t lParam = 0);
  // Set before other threads post; called on the posting thread.
  void SetWakeUpHandler(std::function<void()> handler) { onWakeUp_ = std::move(handler); }
  // Window thread: delivers every queued notification in the order posted.
  // Returns how many were delivered.
  std::size_t DispatchQueuedNotifications();

  // Timers.
  void SetTimerService(ITimerService* service) { timers_ = service; }
  bool SetTimer(CControlUI* control, unsigned id, unsigned elapseMs);
  void KillTimer(CControlUI* control, unsigned id);
  // The system window reports an expiry; the control gets a timer event
  // (by default the window then receives "timer" with the id).
  void OnTimer(CControlUI* control, unsigned id);

  // Input from the system window, in client coordinates.
  void OnMouseMove(int x, int y, intptr_t wParam = 0, intptr_t lParam = 0);
  void OnMouseLeaveWindow();
  void OnButtonDown(int x, int y);
  void OnButtonUp(int x, int y);
  void OnKeyDown(unsigned key);
  void SetFocus(CControlUI* control);
  CControlUI* GetFocus() const { return focus_; }
  CControlUI* GetHot() const { return hot_; }

  // A control leaves the tree: forget every reference to it.
  void ReapControl(CControlUI* control);

 private:
  static uint64_t Now();

  std::unique_ptr<CControlUI> root_;
  std::shared_ptr<ITextService> text_;
  ImageCache images_;
  Size initSize_;
  Rect caption_;
  Size roundCorner_;
  std::vector<std::pair<std::wstring, std::wstring>> customAttributes_;
  std::map<int, FontInfo> fonts_;
  FontInfo defaultFont_;
  uint32_t defaultTextColor_ = kDefaultTextColor;
  uint32_t defaultDisabledColor_ = kDefaultDisabledTextColor;
  Size clientSize_;
  bool needLayout_ = false;
  std::function<void(const Rect&)> onInvalidate_;
  std::vector<INotifyUI*> notifiers_;

  std::mutex queueMutex_;
  std::deque<NotifyMsg> queue_;  // guarded by queueMutex_
  std::function<void()> onWakeUp_;

  ITimerService* timers_ = nullptr;
  CControlUI* hot_ = nullptr;
  CControlUI* pushed_ = nullptr;
  CControlUI* focus_ = nullptr;
};

}  // namespace DuiLib
