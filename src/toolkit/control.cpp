#include "toolkit/control.h"

#include <algorithm>

#include "toolkit/containers.h"
#include "toolkit/layout_values.h"
#include "toolkit/window_context.h"

namespace DuiLib {

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
  if (manager_) manager_->ReapControl(this);
}

std::wstring_view CControlUI::GetClass() const { return L"Control"; }

CControlUI* CControlUI::GetInterface(std::wstring_view name) {
  return name == L"Control" ? this : nullptr;
}

void CControlUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (name == L"name") {
    SetName(std::wstring(value));
  } else if (name == L"width") {
    SetFixedWidth(ParseLayoutInt(value));
  } else if (name == L"height") {
    SetFixedHeight(ParseLayoutInt(value));
  } else if (name == L"minwidth") {
    SetMinWidth(ParseLayoutInt(value));
  } else if (name == L"minheight") {
    SetMinHeight(ParseLayoutInt(value));
  } else if (name == L"maxwidth") {
    SetMaxWidth(ParseLayoutInt(value));
  } else if (name == L"maxheight") {
    SetMaxHeight(ParseLayoutInt(value));
  } else if (name == L"padding") {
    int v[4];
    ParseLayoutInts(value, v, 4);
    SetPadding(Rect(v[0], v[1], v[2], v[3]));
  } else if (name == L"bkcolor") {
    SetBkColor(ParseLayoutColor(value));
  } else if (name == L"bkimage") {
    SetBkImage(std::wstring(value));
  } else if (name == L"visible") {
    SetVisible(ParseControlBool(value));
  } else if (name == L"enabled") {
    SetEnabled(ParseControlBool(value));
  } else if (name == L"text") {
    SetText(std::wstring(value));
  } else if (name == L"userdata") {
    SetUserData(std::wstring(value));
  } else if (name == L"borderround") {
    int v[2];
    ParseLayoutInts(value, v, 2);
    SetBorderRound({v[0], v[1]});
  }
}

void CControlUI::SetManager(CWindowContext* manager, CControlUI* parent) {
  if (manager_ && manager_ != manager) manager_->ReapControl(this);
  manager_ = manager;
  parent_ = parent;
}

void CControlUI::SetText(std::wstring text) {
  if (text_ == text) return;
  text_ = std::move(text);
  Invalidate();
}

void CControlUI::SetFixedWidth(int width) {
  width = std::max(0, ClampLayoutSize(width));
  if (fixedWidth_ == width) return;
  fixedWidth_ = width;
  NeedParentUpdate();
}

void CControlUI::SetFixedHeight(int height) {
  height = std::max(0, ClampLayoutSize(height));
  if (fixedHeight_ == height) return;
  fixedHeight_ = height;
  NeedParentUpdate();
}

void CControlUI::SetMinWidth(int width) {
  minWidth_ = std::max(0, ClampLayoutSize(width));
  NeedParentUpdate();
}

void CControlUI::SetMinHeight(int height) {
  minHeight_ = std::max(0, ClampLayoutSize(height));
  NeedParentUpdate();
}

void CControlUI::SetMaxWidth(int width) {
  maxWidth_ = std::max(0, ClampLayoutSize(width));
  NeedParentUpdate();
}

void CControlUI::SetMaxHeight(int height) {
  maxHeight_ = std::max(0, ClampLayoutSize(height));
  NeedParentUpdate();
}

void CControlUI::SetPadding(const Rect& padding) {
  padding_ = ClampLayoutRect(padding);
  NeedParentUpdate();
}

Size CControlUI::EstimateSize(Size) { return {fixedWidth_, fixedHeight_}; }

void CControlUI::SetPos(const Rect& rect) {
  Rect r = rect;
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  if (r == pos_) return;
  Invalidate();
  pos_ = r;
  Invalidate();
}

void CControlUI::SetVisibleInternal(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  if (!visible && manager_) {
    if (manager_->GetFocus() == this) manager_->SetFocus(nullptr);
  }
  NeedParentUpdate();
}

void CControlUI::SetVisible(bool visible) {
  if (visible_ == visible) return;
  SetVisibleInternal(visible);
  if (parent_ && parent_->AsContainer()) parent_->AsContainer()->OnChildVisibilityChanged(this);
}

void CControlUI::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Invalidate();
}

void CControlUI::SetFocus() {
  if (manager_) manager_->SetFocus(this);
}

void CControlUI::SetBkColor(uint32_t argb) {
  bkColor_ = argb;
  Invalidate();
}

void CControlUI::SetBkImage(std::wstring image) {
  if (image == bkImage_.String()) return;
  bkImage_.SetString(std::move(image));
  Invalidate();
}

void CControlUI::SetBorderRound(Size round) {
  borderRound_ = {std::max(0, ClampLayoutSize(round.cx)), std::max(0, ClampLayoutSize(round.cy))};
  Invalidate();
}

void CControlUI::DoEvent(const UIEvent& event) {
  switch (event.type) {
    case UIEventType::kSetFocus:
      focused_ = true;
      Invalidate();
      break;
    case UIEventType::kKillFocus:
      focused_ = false;
      Invalidate();
      break;
    case UIEventType::kTimer:
      if (manager_) manager_->SendNotify(this, L"timer", event.wParam, 0);
      break;
    default:
      break;
  }
}

bool CControlUI::Activate() { return visible_ && enabled_; }

void CControlUI::DoPaint(Canvas& canvas, const Rect& paintArea) {
  if (!pos_.Intersects(paintArea)) return;
  const bool round = borderRound_.cx > 0 || borderRound_.cy > 0;
  if (round) canvas.PushRoundClip(pos_, borderRound_.cx, borderRound_.cy);
  PaintBkColor(canvas, paintArea);
  PaintBkImage(canvas, paintArea);
  PaintStatusImage(canvas, paintArea);
  PaintText(canvas, paintArea);
  PaintBorder(canvas, paintArea);
  if (round) canvas.PopClip();
}

void CControlUI::PaintBkColor(Canvas& canvas, const Rect& paintArea) {
  FillColor(canvas, pos_, paintArea, bkColor_);
}

void CControlUI::PaintBkImage(Canvas& canvas, const Rect& paintArea) {
  DrawImageRecord(canvas, pos_, paintArea, bkImage_);
}

void CControlUI::PaintStatusImage(Canvas&, const Rect&) {}
void CControlUI::PaintText(Canvas&, const Rect&) {}
void CControlUI::PaintBorder(Canvas&, const Rect&) {}

bool CControlUI::DrawImageRecord(Canvas& canvas, const Rect& rect, const Rect& paintArea,
                                 ImageDrawRecord& record) {
  if (!manager_ || record.IsEmpty()) return false;
  return DrawImage(canvas, rect, paintArea, record, manager_->Images());
}

void CControlUI::NeedParentUpdate() {
  if (manager_) manager_->NeedUpdate();
  Invalidate();
}

void CControlUI::NeedUpdate() {
  if (manager_) manager_->NeedUpdate();
}

void CControlUI::Invalidate() {
  if (manager_ && !pos_.IsEmpty()) manager_->Invalidate(pos_);
}

}  // namespace DuiLib
