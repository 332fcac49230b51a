// Containers: the control tree's inner nodes and the three layouts of the
// skins — vertical, horizontal and tab.
//
// Layout rules, in short: a child's "padding" is its outer margin; hidden
// children take part in nothing; children without a size along the layout's
// axis share what the others leave.
#pragma once

#include <memory>
#include <vector>

#include "toolkit/control.h"

namespace DuiLib {

class CContainerUI : public CControlUI {
 public:
  ~CContainerUI() override;

  std::wstring_view GetClass() const override;
  CControlUI* GetInterface(std::wstring_view name) override;
  CContainerUI* AsContainer() override { return this; }
  void SetAttribute(std::wstring_view name, std::wstring_view value) override;
  void SetManager(CWindowContext* manager, CControlUI* parent) override;

  int GetCount() const { return static_cast<int>(items_.size()); }
  // The child at `index`, or nullptr outside the children.
  CControlUI* GetItemAt(int index) const;
  int GetItemIndex(const CControlUI* control) const;
  // Takes ownership of `control` and appends it; false for null.
  virtual bool Add(std::unique_ptr<CControlUI> control);
  // Removes and destroys the child; false when it is not a child.
  virtual bool Remove(CControlUI* control);
  virtual void RemoveAll();

  // Inner margins and the gap between neighbouring visible children.
  const Rect& GetInset() const { return inset_; }
  void SetInset(const Rect& inset);
  int GetChildPadding() const { return childPadding_; }
  void SetChildPadding(int padding);

  // A plain container gives every visible child its inner rectangle minus
  // the child's margins.
  void SetPos(const Rect& rect) override;
  // Paints itself, then its visible children in order, clipped to its
  // rectangle.
  void DoPaint(Canvas& canvas, const Rect& paintArea) override;

  // Called by a child whose own "visible" changed.
  virtual void OnChildVisibilityChanged(CControlUI* child);

 protected:
  Rect InnerRect() const;

  std::vector<std::unique_ptr<CControlUI>> items_;
  Rect inset_;
  int childPadding_ = 0;
};

// Stacks the visible children top to bottom.
class CVerticalLayoutUI : public CContainerUI {
 public:
  std::wstring_view GetClass() const override;
  CControlUI* GetInterface(std::wstring_view name) override;
  void SetPos(const Rect& rect) override;
};

// Places the visible children left to right.
class CHorizontalLayoutUI : public CContainerUI {
 public:
  std::wstring_view GetClass() const override;
  CControlUI* GetInterface(std::wstring_view name) override;
  void SetPos(const Rect& rect) override;
};

// Shows exactly one child. The first visible child added while nothing is
// selected becomes the selected one; every other child added is hidden.
// When the selected child hides itself while nothing else has been
// selected, the selection is empty again, so the next visible child added
// takes it (a document whose first page is hidden starts on the next one).
class CTabLayoutUI : public CContainerUI {
 public:
  std::wstring_view GetClass() const override;
  CControlUI* GetInterface(std::wstring_view name) override;
  void SetAttribute(std::wstring_view name, std::wstring_view value) override;

  bool Add(std::unique_ptr<CControlUI> control) override;
  bool Remove(CControlUI* control) override;
  void RemoveAll() override;

  // The selected child's index, or −1.
  int GetCurSel() const { return selected_; }
  // Shows the child at `index`, gives it the focus, hides all others and
  // lays the tab out again; with `notify` the window gets "tabselect" (new
  // index, old index). An index outside the children, or the one already
  // selected, changes nothing (false).
  bool SelectItem(int index, bool notify = true);

  // Only the selected child is placed: its estimate (0 = the whole space)
  // at the top-left of the inner rectangle minus its margins.
  void SetPos(const Rect& rect) override;
  void OnChildVisibilityChanged(CControlUI* child) override;

 private:
  int selected_ = -1;
};

}  // namespace DuiLib
