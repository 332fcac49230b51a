// CControlUI: the base of every control of a layout — its attributes, its
// size properties, its place in the tree and the window it belongs to, and
// the paint steps every kind shares.
//
// Controls are created by the layout builder (layout_builder.h) or by code,
// owned by their parent container (the root by its window) and used on the
// window thread only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/image_string.h"
#include "toolkit/render.h"

namespace DuiLib {

class CWindowContext;
class CContainerUI;

struct Size {
  int cx = 0;
  int cy = 0;
};

// Input that the window hands to the control under the mouse or with the
// focus.
enum class UIEventType {
  kMouseEnter,
  kMouseLeave,
  kButtonDown,
  kButtonUp,  // released over the control that was pressed
  kKeyDown,   // `key` is the virtual-key code
  kSetFocus,
  kKillFocus,
  kTimer,     // `wParam` is the timer id
};

struct UIEvent {
  UIEventType type = UIEventType::kMouseEnter;
  int x = 0;
  int y = 0;
  unsigned key = 0;
  intptr_t wParam = 0;
  intptr_t lParam = 0;
};

// Virtual-key codes the controls react to.
constexpr unsigned kKeySpace = 0x20;
constexpr unsigned kKeyReturn = 0x0D;

constexpr int kDefaultMaxSize = 9999;
// Sizes, margins and paddings are kept within ±kMaxLayoutSize pixels so that
// no sum of them can overflow.
constexpr int kMaxLayoutSize = 1 << 20;
inline int ClampLayoutSize(int value) {
  return value < -kMaxLayoutSize ? -kMaxLayoutSize : value > kMaxLayoutSize ? kMaxLayoutSize : value;
}
inline Rect ClampLayoutRect(const Rect& r) {
  return Rect(ClampLayoutSize(r.left), ClampLayoutSize(r.top), ClampLayoutSize(r.right),
              ClampLayoutSize(r.bottom));
}

class CControlUI {
 public:
  CControlUI();
  virtual ~CControlUI();
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;

  // The class name as the toolkit reports it ("Control", "Button", ...).
  virtual std::wstring_view GetClass() const;
  // This control when it is of the kind `name` ("Control", "Label",
  // "Button", ..., as the class names), else nullptr.
  virtual CControlUI* GetInterface(std::wstring_view name);
  virtual CContainerUI* AsContainer() { return nullptr; }

  // Sets the attribute `name` (compared exactly) from its text; unknown
  // names are ignored.
  virtual void SetAttribute(std::wstring_view name, std::wstring_view value);

  // Tree and window.
  CWindowContext* GetManager() const { return manager_; }
  CControlUI* GetParent() const { return parent_; }
  // Attaches this control (and, for containers, its subtree) to `manager`
  // below `parent`. Called by containers and by the window.
  virtual void SetManager(CWindowContext* manager, CControlUI* parent);
  // Runs once the control's window has its whole layout (timers may be
  // armed here).
  virtual void DoInit() {}

  const std::wstring& GetName() const { return name_; }
  void SetName(std::wstring name) { name_ = std::move(name); }
  const std::wstring& GetText() const { return text_; }
  virtual void SetText(std::wstring text);
  const std::wstring& GetUserData() const { return userData_; }
  void SetUserData(std::wstring data) { userData_ = std::move(data); }

  // Size properties.
  int GetFixedWidth() const { return fixedWidth_; }
  int GetFixedHeight() const { return fixedHeight_; }
  void SetFixedWidth(int width);
  void SetFixedHeight(int height);
  int GetMinWidth() const { return minWidth_; }
  int GetMinHeight() const { return minHeight_; }
  // A maximum below the minimum counts as the minimum.
  int GetMaxWidth() const { return maxWidth_ < minWidth_ ? minWidth_ : maxWidth_; }
  int GetMaxHeight() const { return maxHeight_ < minHeight_ ? minHeight_ : maxHeight_; }
  void SetMinWidth(int width);
  void SetMinHeight(int height);
  void SetMaxWidth(int width);
  void SetMaxHeight(int height);
  // Outer margins towards the neighbours: left, top, right, bottom widths.
  const Rect& GetPadding() const { return padding_; }
  void SetPadding(const Rect& padding);

  // What the control wants, given the space available (see the estimate
  // rules of each kind). A 0 means "no wish" along that axis.
  virtual Size EstimateSize(Size available);
  const Rect& GetPos() const { return pos_; }
  // Gives the control its rectangle; containers then place their children.
  virtual void SetPos(const Rect& rect);

  bool IsVisible() const { return visible_; }
  virtual void SetVisible(bool visible);
  bool IsEnabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  bool IsFocused() const { return focused_; }
  // Asks the window to give this control the focus.
  void SetFocus();

  uint32_t GetBkColor() const { return bkColor_; }
  void SetBkColor(uint32_t argb);
  const std::wstring& GetBkImage() const { return bkImage_.String(); }
  void SetBkImage(std::wstring image);
  Size GetBorderRound() const { return borderRound_; }
  void SetBorderRound(Size round);

  // Input from the window.
  virtual void DoEvent(const UIEvent& event);
  // Clicks the control as a mouse click or Space/Enter would: false when
  // it is disabled or hidden.
  virtual bool Activate();

  // Paints the control (and a container its children) where it meets
  // `paintArea`: background colour, background image, state image, text,
  // border, inside the rounded clip when "borderround" is set.
  virtual void DoPaint(Canvas& canvas, const Rect& paintArea);
  virtual void PaintBkColor(Canvas& canvas, const Rect& paintArea);
  virtual void PaintBkImage(Canvas& canvas, const Rect& paintArea);
  virtual void PaintStatusImage(Canvas& canvas, const Rect& paintArea);
  virtual void PaintText(Canvas& canvas, const Rect& paintArea);
  virtual void PaintBorder(Canvas& canvas, const Rect& paintArea);

  // Asks for a new layout of this control's parent (a size-relevant property
  // changed) or for a repaint of the control.
  void NeedParentUpdate();
  void NeedUpdate();
  void Invalidate();

  // Draws an image attribute into `rect` through the window's image cache;
  // false when nothing can be drawn (no window, empty, or not loadable).
  bool DrawImageRecord(Canvas& canvas, const Rect& rect, const Rect& paintArea,
                       ImageDrawRecord& record);

 protected:
  friend class CWindowContext;
  friend class CTabLayoutUI;
  // Visibility without telling the parent (the tab layout's own paging).
  void SetVisibleInternal(bool visible);

  CWindowContext* manager_ = nullptr;
  CControlUI* parent_ = nullptr;
  std::wstring name_;
  std::wstring text_;
  std::wstring userData_;
  Rect pos_;
  Rect padding_;
  int fixedWidth_ = 0;
  int fixedHeight_ = 0;
  int minWidth_ = 0;
  int minHeight_ = 0;
  int maxWidth_ = kDefaultMaxSize;
  int maxHeight_ = kDefaultMaxSize;
  bool visible_ = true;
  bool enabled_ = true;
  bool focused_ = false;
  uint32_t bkColor_ = 0;
  ImageDrawRecord bkImage_;
  Size borderRound_;
};

}  // namespace DuiLib
