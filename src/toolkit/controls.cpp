#include "toolkit/controls.h"

#include <algorithm>

#include "toolkit/layout_values.h"
#include "toolkit/window_context.h"

namespace DuiLib {

namespace {

Rect ParseRect(std::wstring_view value) {
  int v[4];
  ParseLayoutInts(value, v, 4);
  return Rect(v[0], v[1], v[2], v[3]);
}

Rect Deflate(const Rect& r, const Rect& by) {
  return Rect(r.left + by.left, r.top + by.top, r.right - by.right, r.bottom - by.bottom);
}

// The horizontal alignment of an "align" value: "left", "center" and
// "right" searched in this order, each match overriding the earlier.
unsigned ParseAlign(std::wstring_view value, unsigned style) {
  if (value.find(L"left") != std::wstring_view::npos) style = (style & ~kTextHorizontalMask) | kTextLeft;
  if (value.find(L"center") != std::wstring_view::npos) style = (style & ~kTextHorizontalMask) | kTextCenter;
  if (value.find(L"right") != std::wstring_view::npos) style = (style & ~kTextHorizontalMask) | kTextRight;
  return style;
}

unsigned ParseVAlign(std::wstring_view value, unsigned style) {
  if (value.find(L"top") != std::wstring_view::npos) style = (style & ~kTextVerticalMask) | kTextTop;
  if (value.find(L"vcenter") != std::wstring_view::npos) style = (style & ~kTextVerticalMask) | kTextVCenter;
  if (value.find(L"bottom") != std::wstring_view::npos) style = (style & ~kTextVerticalMask) | kTextBottom;
  return style;
}

const FontInfo& FallbackFont() {
  static const FontInfo font{FontSpec{}, 12};
  return font;
}

}  // namespace

// --- CLabelUI ---------------------------------------------------------------

CLabelUI::CLabelUI() = default;

std::wstring_view CLabelUI::GetClass() const { return L"Label"; }

CControlUI* CLabelUI::GetInterface(std::wstring_view name) {
  return name == L"Label" ? this : CControlUI::GetInterface(name);
}

void CLabelUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (name == L"font") {
    SetFont(ParseLayoutInt(value));
  } else if (name == L"textcolor") {
    SetTextColor(ParseLayoutColor(value));
  } else if (name == L"disabledtextcolor") {
    SetDisabledTextColor(ParseLayoutColor(value));
  } else if (name == L"align") {
    SetTextStyle(ParseAlign(value, textStyle_));
  } else if (name == L"valign") {
    SetTextStyle(ParseVAlign(value, textStyle_));
  } else if (name == L"textpadding") {
    SetTextPadding(ParseRect(value));
  } else if (name == L"multiline") {
    SetMultiLine(ParseControlBool(value));
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

void CLabelUI::SetText(std::wstring text) {
  if (text == text_) return;
  ForgetEstimate();
  CControlUI::SetText(std::move(text));
  NeedParentUpdate();
}

void CLabelUI::SetFont(int id) {
  font_ = id;
  ForgetEstimate();
  NeedParentUpdate();
}

void CLabelUI::SetTextColor(uint32_t argb) {
  textColor_ = argb;
  Invalidate();
}

void CLabelUI::SetDisabledTextColor(uint32_t argb) {
  disabledTextColor_ = argb;
  Invalidate();
}

void CLabelUI::SetTextStyle(unsigned style) {
  textStyle_ = style;
  Invalidate();
}

void CLabelUI::SetTextPadding(const Rect& padding) {
  textPadding_ = ClampLayoutRect(padding);
  ForgetEstimate();
  NeedParentUpdate();
}

void CLabelUI::SetMultiLine(bool multiLine) {
  multiLine_ = multiLine;
  ForgetEstimate();
  NeedParentUpdate();
}

const FontSpec& CLabelUI::CurrentFont() const {
  return manager_ ? manager_->GetFont(font_).spec : FallbackFont().spec;
}

int CLabelUI::CurrentFontHeight() const {
  return manager_ ? manager_->GetFont(font_).height : FallbackFont().height;
}

Size CLabelUI::EstimateByFontHeight() {
  if (fixedHeight_ == 0) return {fixedWidth_, CurrentFontHeight() + 8};
  return {fixedWidth_, fixedHeight_};
}

Size CLabelUI::EstimateSize(Size available) {
  if (fixedWidth_ > 0 && fixedHeight_ > 0) return {fixedWidth_, fixedHeight_};
  if (!manager_) return {fixedWidth_, fixedHeight_};
  const Size fixed{fixedWidth_, fixedHeight_};
  const bool availableMatters = multiLine_ && fixedWidth_ == 0;
  if (estimateValid_ && estimateFixed_.cx == fixed.cx && estimateFixed_.cy == fixed.cy &&
      (!availableMatters || (estimateAvailable_.cx == available.cx && estimateAvailable_.cy == available.cy))) {
    return estimate_;
  }
  ITextService& text = manager_->Text();
  const FontSpec& font = CurrentFont();
  Size size;
  if (!multiLine_) {
    size.cy = fixedHeight_ > 0 ? fixedHeight_
                               : CurrentFontHeight() + 8 + textPadding_.top + textPadding_.bottom;
    size.cx = fixedWidth_ > 0 ? fixedWidth_
                              : text.MeasureLine(font, text_) + textPadding_.left + textPadding_.right;
  } else {
    size.cx = fixedWidth_ > 0 ? fixedWidth_ : available.cx;
    const int wrapWidth = std::max(0, size.cx - textPadding_.left - textPadding_.right);
    size.cy = fixedHeight_ > 0
                  ? fixedHeight_
                  : text.MeasureWrapped(font, text_, wrapWidth) + textPadding_.top + textPadding_.bottom;
  }
  estimateValid_ = true;
  estimateFixed_ = fixed;
  estimateAvailable_ = available;
  estimate_ = size;
  return size;
}

uint32_t CLabelUI::CurrentTextColor() const {
  if (!enabled_) {
    if (disabledTextColor_ != 0) return disabledTextColor_;
    return manager_ ? manager_->GetDefaultDisabledColor() : kDefaultDisabledTextColor;
  }
  if (textColor_ != 0) return textColor_;
  return manager_ ? manager_->GetDefaultTextColor() : kDefaultTextColor;
}

void CLabelUI::PaintText(Canvas& canvas, const Rect& paintArea) {
  if (text_.empty() || !manager_) return;
  const Rect rect = Deflate(pos_, textPadding_);
  unsigned style = textStyle_;
  if (multiLine_) style |= kTextWordBreak;
  manager_->Text().DrawText(canvas, rect, paintArea, CurrentFont(), text_, CurrentTextColor(), style);
}

// --- CButtonUI --------------------------------------------------------------

CButtonUI::CButtonUI() { textStyle_ = kTextCenter | kTextVCenter; }

std::wstring_view CButtonUI::GetClass() const { return L"Button"; }

CControlUI* CButtonUI::GetInterface(std::wstring_view name) {
  return name == L"Button" ? this : CLabelUI::GetInterface(name);
}

void CButtonUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (name == L"normalimage") {
    SetNormalImage(std::wstring(value));
  } else if (name == L"hotimage") {
    SetHotImage(std::wstring(value));
  } else if (name == L"pushedimage") {
    SetPushedImage(std::wstring(value));
  } else if (name == L"focusedimage") {
    SetFocusedImage(std::wstring(value));
  } else if (name == L"disabledimage") {
    SetDisabledImage(std::wstring(value));
  } else if (name == L"hottextcolor") {
    SetHotTextColor(ParseLayoutColor(value));
  } else if (name == L"pushedtextcolor") {
    SetPushedTextColor(ParseLayoutColor(value));
  } else if (name == L"focusedtextcolor") {
    SetFocusedTextColor(ParseLayoutColor(value));
  } else {
    CLabelUI::SetAttribute(name, value);
  }
}

void CButtonUI::DoEvent(const UIEvent& event) {
  switch (event.type) {
    case UIEventType::kMouseEnter:
      if (!enabled_) break;
      hot_ = true;
      Invalidate();
      if (manager_) manager_->SendNotify(this, L"mouseenter", event.wParam, event.lParam);
      break;
    case UIEventType::kMouseLeave:
      if (!hot_) break;
      hot_ = false;
      Invalidate();
      if (manager_) manager_->SendNotify(this, L"mouseleave", event.wParam, event.lParam);
      break;
    case UIEventType::kButtonDown:
      if (!enabled_) break;
      pushed_ = true;
      Invalidate();
      break;
    case UIEventType::kButtonUp:
      if (!pushed_) break;
      pushed_ = false;
      Invalidate();
      if (pos_.Contains(event.x, event.y)) Activate();
      break;
    case UIEventType::kKeyDown:
      if (event.key == kKeySpace || event.key == kKeyReturn) Activate();
      break;
    default:
      CLabelUI::DoEvent(event);
      break;
  }
}

bool CButtonUI::Activate() {
  if (!CLabelUI::Activate()) return false;
  if (manager_) manager_->SendNotify(this, L"click");
  return true;
}

Size CButtonUI::EstimateSize(Size) { return EstimateByFontHeight(); }

void CButtonUI::PaintButtonStateImage(Canvas& canvas, const Rect& paintArea) {
  ImageDrawRecord* state = nullptr;
  if (!enabled_) {
    state = &disabledImage_;
  } else if (pushed_ && ShowsPushedState()) {
    state = &pushedImage_;
  } else if (hot_) {
    state = &hotImage_;
  } else if (focused_) {
    state = &focusedImage_;
  }
  if (state && DrawImageRecord(canvas, pos_, paintArea, *state)) return;
  DrawImageRecord(canvas, pos_, paintArea, normalImage_);
}

void CButtonUI::PaintStatusImage(Canvas& canvas, const Rect& paintArea) {
  PaintButtonStateImage(canvas, paintArea);
}

uint32_t CButtonUI::CurrentTextColor() const {
  if (enabled_) {
    if (pushed_ && ShowsPushedState() && pushedTextColor_ != 0) return pushedTextColor_;
    if (hot_ && hotTextColor_ != 0) return hotTextColor_;
    if (focused_ && focusedTextColor_ != 0) return focusedTextColor_;
  }
  return CLabelUI::CurrentTextColor();
}

// --- COptionUI --------------------------------------------------------------

std::wstring_view COptionUI::GetClass() const { return L"Option"; }

CControlUI* COptionUI::GetInterface(std::wstring_view name) {
  return name == L"Option" ? this : CButtonUI::GetInterface(name);
}

void COptionUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (name == L"selected") {
    Selected(ParseControlBool(value));
  } else if (name == L"selectedimage") {
    SetSelectedImage(std::wstring(value));
  } else if (name == L"selectedtextcolor") {
    SetSelectedTextColor(ParseLayoutColor(value));
  } else {
    CButtonUI::SetAttribute(name, value);
  }
}

void COptionUI::Selected(bool selected) {
  if (selected_ == selected) return;
  selected_ = selected;
  Invalidate();
  if (manager_) manager_->SendNotify(this, L"selectchanged");
}

bool COptionUI::Activate() {
  if (!CButtonUI::Activate()) return false;
  Selected(!selected_);
  return true;
}

void COptionUI::PaintStatusImage(Canvas& canvas, const Rect& paintArea) {
  if (selected_ && DrawImageRecord(canvas, pos_, paintArea, selectedImage_)) return;
  PaintButtonStateImage(canvas, paintArea);
}

uint32_t COptionUI::CurrentTextColor() const {
  if (enabled_ && selected_ && selectedTextColor_ != 0) return selectedTextColor_;
  return CButtonUI::CurrentTextColor();
}

std::wstring_view CCheckBoxUI::GetClass() const { return L"CheckBox"; }

CControlUI* CCheckBoxUI::GetInterface(std::wstring_view name) {
  return name == L"CheckBox" ? this : COptionUI::GetInterface(name);
}

// --- CEditUI ----------------------------------------------------------------

CEditUI::CEditUI() {
  bkColor_ = 0xFFFFFFFF;
  textPadding_ = Rect(4, 3, 4, 3);
}

std::wstring_view CEditUI::GetClass() const { return L"Edit"; }

CControlUI* CEditUI::GetInterface(std::wstring_view name) {
  return name == L"Edit" ? this : CLabelUI::GetInterface(name);
}

Size CEditUI::EstimateSize(Size) { return EstimateByFontHeight(); }

// --- CProgressUI ------------------------------------------------------------

CProgressUI::CProgressUI() {
  fixedHeight_ = 12;
  textStyle_ = kTextCenter | kTextVCenter;
}

std::wstring_view CProgressUI::GetClass() const { return L"Progress"; }

CControlUI* CProgressUI::GetInterface(std::wstring_view name) {
  return name == L"Progress" ? this : CLabelUI::GetInterface(name);
}

void CProgressUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (name == L"foreimage") {
    SetForeImage(std::wstring(value));
  } else if (name == L"min") {
    SetMinValue(ParseLayoutInt(value));
  } else if (name == L"max") {
    SetMaxValue(ParseLayoutInt(value));
  } else if (name == L"value") {
    SetValue(ParseLayoutInt(value));
  } else {
    CLabelUI::SetAttribute(name, value);
  }
}

void CProgressUI::SetMinValue(int value) {
  min_ = value;
  Invalidate();
}

void CProgressUI::SetMaxValue(int value) {
  max_ = value;
  Invalidate();
}

void CProgressUI::SetValue(int value) {
  if (value_ == value) return;
  value_ = value;
  Invalidate();
}

Rect CProgressUI::ForeRect() const {
  if (max_ <= min_) return Rect(pos_.left, pos_.top, pos_.left, pos_.bottom);
  const long long value = std::clamp(value_, min_, max_);
  const long long width = (value - min_) * static_cast<long long>(pos_.Width()) /
                          (static_cast<long long>(max_) - min_);
  return Rect(pos_.left, pos_.top, pos_.left + static_cast<int>(width), pos_.bottom);
}

void CProgressUI::PaintStatusImage(Canvas& canvas, const Rect& paintArea) {
  const Rect fore = ForeRect();
  if (fore.IsEmpty()) return;
  DrawImageRecord(canvas, fore, paintArea, foreImage_);
}

}  // namespace DuiLib
