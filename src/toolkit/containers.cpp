#include "toolkit/containers.h"

#include <algorithm>

#include "toolkit/layout_values.h"
#include "toolkit/window_context.h"

namespace DuiLib {

namespace {

int Clamp(int value, int lo, int hi) { return std::max(lo, std::min(value, hi)); }

// Layout arithmetic runs in 64 bits over any number of children; the
// coordinates that come out stay well inside the 32-bit range, so widths
// and heights computed from them cannot overflow either.
constexpr long long kMaxCoordinate = 1 << 29;
int Coordinate(long long value) {
  return static_cast<int>(std::max(-kMaxCoordinate, std::min(value, kMaxCoordinate)));
}
int Extent(long long value) { return static_cast<int>(std::max(0LL, std::min(value, kMaxCoordinate))); }

// What the first pass of a box layout finds out about one visible child.
struct ItemPlan {
  CControlUI* control;
  int fixed;  // estimated extent along the axis, 0 for an adjustable child
};

}  // namespace

// --- CContainerUI -------------------------------------------------------------

CContainerUI::~CContainerUI() {
  // Children go first, while this container still is their parent.
  items_.clear();
}

std::wstring_view CContainerUI::GetClass() const { return L"Container"; }

CControlUI* CContainerUI::GetInterface(std::wstring_view name) {
  return name == L"Container" ? this : CControlUI::GetInterface(name);
}

void CContainerUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (name == L"inset") {
    int v[4];
    ParseLayoutInts(value, v, 4);
    SetInset(Rect(v[0], v[1], v[2], v[3]));
  } else if (name == L"childpadding") {
    SetChildPadding(ParseLayoutInt(value));
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

void CContainerUI::SetManager(CWindowContext* manager, CControlUI* parent) {
  CControlUI::SetManager(manager, parent);
  for (auto& item : items_) item->SetManager(manager, this);
}

CControlUI* CContainerUI::GetItemAt(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}

int CContainerUI::GetItemIndex(const CControlUI* control) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].get() == control) return static_cast<int>(i);
  }
  return -1;
}

bool CContainerUI::Add(std::unique_ptr<CControlUI> control) {
  if (!control) return false;
  control->SetManager(manager_, this);
  items_.push_back(std::move(control));
  NeedUpdate();
  return true;
}

bool CContainerUI::Remove(CControlUI* control) {
  const int index = GetItemIndex(control);
  if (index < 0) return false;
  items_.erase(items_.begin() + index);
  NeedUpdate();
  return true;
}

void CContainerUI::RemoveAll() {
  items_.clear();
  NeedUpdate();
}

void CContainerUI::SetInset(const Rect& inset) {
  inset_ = ClampLayoutRect(inset);
  NeedUpdate();
}

void CContainerUI::SetChildPadding(int padding) {
  childPadding_ = ClampLayoutSize(padding);
  NeedUpdate();
}

Rect CContainerUI::InnerRect() const {
  return Rect(pos_.left + inset_.left, pos_.top + inset_.top, pos_.right - inset_.right,
              pos_.bottom - inset_.bottom);
}

void CContainerUI::SetPos(const Rect& rect) {
  CControlUI::SetPos(rect);
  const Rect inner = InnerRect();
  for (auto& item : items_) {
    if (!item->IsVisible()) continue;
    const Rect& m = item->GetPadding();
    item->SetPos(Rect(inner.left + m.left, inner.top + m.top, inner.right - m.right,
                      inner.bottom - m.bottom));
  }
}

void CContainerUI::DoPaint(Canvas& canvas, const Rect& paintArea) {
  if (!pos_.Intersects(paintArea)) return;
  CControlUI::DoPaint(canvas, paintArea);
  if (items_.empty()) return;
  const Size round = GetBorderRound();
  ClipScope clip(canvas, pos_, round.cx > 0 || round.cy > 0 ? round.cx : 0,
                 round.cx > 0 || round.cy > 0 ? round.cy : 0);
  for (auto& item : items_) {
    if (item->IsVisible()) item->DoPaint(canvas, paintArea);
  }
}

void CContainerUI::OnChildVisibilityChanged(CControlUI*) { NeedUpdate(); }

// --- CVerticalLayoutUI --------------------------------------------------------

std::wstring_view CVerticalLayoutUI::GetClass() const { return L"VerticalLayout"; }

CControlUI* CVerticalLayoutUI::GetInterface(std::wstring_view name) {
  return name == L"VerticalLayout" ? this : CContainerUI::GetInterface(name);
}

void CVerticalLayoutUI::SetPos(const Rect& rect) {
  CControlUI::SetPos(rect);
  const Rect inner = InnerRect();
  const int W = inner.Width();
  const int H = inner.Height();

  const auto usableWidth = [W](CControlUI* c) {
    const Rect& m = c->GetPadding();
    const int wish = c->GetFixedWidth() > 0 ? c->GetFixedWidth() : c->GetMaxWidth();
    return std::min(wish, W - m.left - m.right);
  };
  const auto usableHeight = [](CControlUI* c, int space) {
    const int wish = c->GetFixedHeight() > 0 ? c->GetFixedHeight() : c->GetMaxHeight();
    return std::min(wish, space);
  };

  // Pass 1: estimate every visible child with the whole height; children
  // that want no height are adjustable.
  std::vector<ItemPlan> plan;
  long long fixedTotal = 0;
  int adjustable = 0;
  for (auto& item : items_) {
    CControlUI* c = item.get();
    if (!c->IsVisible()) continue;
    const Rect& m = c->GetPadding();
    const Size sz = c->EstimateSize({usableWidth(c), usableHeight(c, H)});
    int height = sz.cy;
    if (height == 0) {
      ++adjustable;
    } else {
      height = Clamp(height, c->GetMinHeight(), c->GetMaxHeight());
      fixedTotal += height;
    }
    fixedTotal += m.top + m.bottom;
    plan.push_back({c, height});
  }
  // Pass 2: the gaps between visible children.
  if (plan.size() > 1) fixedTotal += static_cast<long long>(childPadding_) * static_cast<long long>(plan.size() - 1);
  // Pass 3: the share of every adjustable child.
  long long share = adjustable > 0 ? (H - fixedTotal) / adjustable : 0;
  if (share < 0) share = 0;

  // Pass 4 to 6: from the top, the final heights, widths and rectangles.
  long long position = inner.top;
  long long remaining = H;
  int adjustableSeen = 0;
  for (size_t i = 0; i < plan.size(); ++i) {
    CControlUI* c = plan[i].control;
    const Rect& m = c->GetPadding();
    remaining -= m.top;
    const Size sz = c->EstimateSize({usableWidth(c), usableHeight(c, Extent(remaining))});
    int height;
    if (sz.cy != 0) {
      height = Clamp(sz.cy, c->GetMinHeight(), c->GetMaxHeight());
    } else {
      ++adjustableSeen;
      if (adjustableSeen == adjustable) {
        long long later = 0;
        for (size_t j = i + 1; j < plan.size(); ++j) {
          const Rect& mj = plan[j].control->GetPadding();
          later += plan[j].fixed + mj.top + mj.bottom + childPadding_;
        }
        height = Extent(remaining - m.bottom - later);
      } else {
        height = Extent(share);
      }
      height = Clamp(height, c->GetMinHeight(), c->GetMaxHeight());
    }
    // Pass 5: the width.
    int width = c->GetMaxWidth() == 0 ? W - m.left - m.right : c->GetMaxWidth();
    width = std::min(width, usableWidth(c));
    width = std::max(width, c->GetMinWidth());
    // Pass 6: the rectangle.
    const long long top = position + m.top;
    const long long left = static_cast<long long>(inner.left) + m.left;
    c->SetPos(Rect(Coordinate(left), Coordinate(top), Coordinate(left + width), Coordinate(top + height)));
    position += m.top + height + m.bottom + childPadding_;
    remaining -= height + m.bottom + childPadding_;
  }
}

// --- CHorizontalLayoutUI ------------------------------------------------------

std::wstring_view CHorizontalLayoutUI::GetClass() const { return L"HorizontalLayout"; }

CControlUI* CHorizontalLayoutUI::GetInterface(std::wstring_view name) {
  return name == L"HorizontalLayout" ? this : CContainerUI::GetInterface(name);
}

void CHorizontalLayoutUI::SetPos(const Rect& rect) {
  CControlUI::SetPos(rect);
  const Rect inner = InnerRect();
  const int W = inner.Width();
  const int H = inner.Height();

  const auto usableHeight = [H](CControlUI* c) {
    const Rect& m = c->GetPadding();
    const int wish = c->GetFixedHeight() > 0 ? c->GetFixedHeight() : c->GetMaxHeight();
    return std::min(wish, H - m.top - m.bottom);
  };
  const auto usableWidth = [](CControlUI* c, int space) {
    const int wish = c->GetFixedWidth() > 0 ? c->GetFixedWidth() : c->GetMaxWidth();
    return std::min(wish, space);
  };
  // A child without a fixed width is adjustable without being asked.
  const auto estimateWidth = [&](CControlUI* c, int space) {
    if (c->GetFixedWidth() == 0) return 0;
    return c->EstimateSize({usableWidth(c, space), usableHeight(c)}).cx;
  };

  // Pass 1: the children that keep a width of their own.
  std::vector<ItemPlan> plan;
  long long fixedTotal = 0;
  int adjustable = 0;
  for (auto& item : items_) {
    CControlUI* c = item.get();
    if (!c->IsVisible()) continue;
    const Rect& m = c->GetPadding();
    int width = estimateWidth(c, W);
    if (width == 0) {
      ++adjustable;
    } else {
      width = Clamp(width, c->GetMinWidth(), c->GetMaxWidth());
      fixedTotal += width;
    }
    fixedTotal += m.left + m.right;
    plan.push_back({c, width});
  }
  // Pass 2: the gaps.
  if (plan.size() > 1) fixedTotal += static_cast<long long>(childPadding_) * static_cast<long long>(plan.size() - 1);
  // Pass 3: the share of every adjustable child.
  long long share = adjustable > 0 ? (W - fixedTotal) / adjustable : 0;
  if (share < 0) share = 0;

  // Pass 4 to 6: from the left.
  long long position = inner.left;
  long long remaining = W;
  int adjustableSeen = 0;
  for (size_t i = 0; i < plan.size(); ++i) {
    CControlUI* c = plan[i].control;
    const Rect& m = c->GetPadding();
    remaining -= m.left;
    int width = estimateWidth(c, Extent(remaining));
    if (width != 0) {
      width = Clamp(width, c->GetMinWidth(), c->GetMaxWidth());
    } else {
      ++adjustableSeen;
      if (adjustableSeen == adjustable) {
        long long later = 0;
        for (size_t j = i + 1; j < plan.size(); ++j) {
          const Rect& mj = plan[j].control->GetPadding();
          later += plan[j].fixed + mj.left + mj.right + childPadding_;
        }
        width = Extent(remaining - m.right - later);
      } else {
        width = Extent(share);
      }
      width = Clamp(width, c->GetMinWidth(), c->GetMaxWidth());
    }
    // Pass 5: the height.
    int height = c->GetMaxHeight() == 0 ? H - m.top - m.bottom : c->GetMaxHeight();
    height = std::min(height, usableHeight(c));
    height = std::max(height, c->GetMinHeight());
    // Pass 6: the rectangle.
    const long long left = position + m.left;
    const long long top = static_cast<long long>(inner.top) + m.top;
    c->SetPos(Rect(Coordinate(left), Coordinate(top), Coordinate(left + width), Coordinate(top + height)));
    position += m.left + width + m.right + childPadding_;
    remaining -= width + m.right + childPadding_;
  }
}

// --- CTabLayoutUI -------------------------------------------------------------

std::wstring_view CTabLayoutUI::GetClass() const { return L"TabLayout"; }

CControlUI* CTabLayoutUI::GetInterface(std::wstring_view name) {
  return name == L"TabLayout" ? this : CContainerUI::GetInterface(name);
}

void CTabLayoutUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (name == L"selectedid") {
    SelectItem(ParseLayoutInt(value));
  } else {
    CContainerUI::SetAttribute(name, value);
  }
}

bool CTabLayoutUI::Add(std::unique_ptr<CControlUI> control) {
  if (!control) return false;
  CControlUI* added = control.get();
  if (!CContainerUI::Add(std::move(control))) return false;
  if (selected_ < 0 && added->IsVisible()) {
    selected_ = GetCount() - 1;
  } else {
    added->SetVisibleInternal(false);
  }
  return true;
}

bool CTabLayoutUI::Remove(CControlUI* control) {
  const int index = GetItemIndex(control);
  if (index < 0) return false;
  CContainerUI::Remove(control);
  if (index < selected_) {
    --selected_;
  } else if (index == selected_) {
    selected_ = -1;
    if (GetCount() > 0) SelectItem(0, false);
  }
  return true;
}

void CTabLayoutUI::RemoveAll() {
  CContainerUI::RemoveAll();
  selected_ = -1;
}

bool CTabLayoutUI::SelectItem(int index, bool notify) {
  if (index < 0 || index >= GetCount() || index == selected_) return false;
  const int old = selected_;
  selected_ = index;
  for (int i = 0; i < GetCount(); ++i) items_[static_cast<size_t>(i)]->SetVisibleInternal(i == index);
  if (manager_) manager_->SetFocus(items_[static_cast<size_t>(index)].get());
  NeedUpdate();
  Invalidate();
  if (notify && manager_) manager_->SendNotify(this, L"tabselect", index, old);
  return true;
}

void CTabLayoutUI::SetPos(const Rect& rect) {
  CControlUI::SetPos(rect);
  CControlUI* child = GetItemAt(selected_);
  if (!child || !child->IsVisible()) return;
  const Rect inner = InnerRect();
  const Rect& m = child->GetPadding();
  const Rect space(inner.left + m.left, inner.top + m.top, inner.right - m.right,
                   inner.bottom - m.bottom);
  const Size sz = child->EstimateSize({space.Width(), space.Height()});
  const int width = Clamp(sz.cx == 0 ? space.Width() : sz.cx, child->GetMinWidth(), child->GetMaxWidth());
  const int height = Clamp(sz.cy == 0 ? space.Height() : sz.cy, child->GetMinHeight(), child->GetMaxHeight());
  child->SetPos(Rect(space.left, space.top, Coordinate(static_cast<long long>(space.left) + width),
                     Coordinate(static_cast<long long>(space.top) + height)));
}

void CTabLayoutUI::OnChildVisibilityChanged(CControlUI* child) {
  if (!child->IsVisible() && GetItemIndex(child) == selected_) selected_ = -1;
  CContainerUI::OnChildVisibilityChanged(child);
}

}  // namespace DuiLib
