// The leaf controls of layouts: labels, buttons, options and check boxes,
// edit boxes and progress bars.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/control.h"
#include "toolkit/text_service.h"

namespace DuiLib {

// Text in a rectangle. Default: one line, left-aligned, vertically centred.
class CLabelUI : public CControlUI {
 public:
  CLabelUI();

  std::wstring_view GetClass() const override;
  CControlUI* GetInterface(std::wstring_view name) override;
  void SetAttribute(std::wstring_view name, std::wstring_view value) override;

  void SetText(std::wstring text) override;
  int GetFont() const { return font_; }
  void SetFont(int id);
  uint32_t GetTextColor() const { return textColor_; }
  void SetTextColor(uint32_t argb);
  uint32_t GetDisabledTextColor() const { return disabledTextColor_; }
  void SetDisabledTextColor(uint32_t argb);
  unsigned GetTextStyle() const { return textStyle_; }
  void SetTextStyle(unsigned style);
  const Rect& GetTextPadding() const { return textPadding_; }
  void SetTextPadding(const Rect& padding);
  bool IsMultiLine() const { return multiLine_; }
  void SetMultiLine(bool multiLine);

  // Fixed size when both are set; otherwise the text measured with the
  // control's font (one line, or wrapped within the fixed or available
  // width), plus the text padding. The estimate is remembered until the
  // text, font, padding, fixed size or (multi-line) available size change.
  Size EstimateSize(Size available) override;
  void PaintText(Canvas& canvas, const Rect& paintArea) override;

 protected:
  // The colour the text is drawn in now (state rules of each kind).
  virtual uint32_t CurrentTextColor() const;
  // Font height + 8 when the fixed height is 0 (buttons, check boxes,
  // edits).
  Size EstimateByFontHeight();
  const FontSpec& CurrentFont() const;
  int CurrentFontHeight() const;
  void ForgetEstimate() { estimateValid_ = false; }

  int font_ = -1;
  uint32_t textColor_ = 0;
  uint32_t disabledTextColor_ = 0;
  unsigned textStyle_ = kTextLeft | kTextVCenter;
  Rect textPadding_;
  bool multiLine_ = false;

 private:
  bool estimateValid_ = false;
  Size estimateFixed_;
  Size estimateAvailable_;
  Size estimate_;
};

// A clickable label with state images. Default text: centred both ways.
// Sends "click" when activated and "mouseenter"/"mouseleave".
class CButtonUI : public CLabelUI {
 public:
  CButtonUI();

  std::wstring_view GetClass() const override;
  CControlUI* GetInterface(std::wstring_view name) override;
  void SetAttribute(std::wstring_view name, std::wstring_view value) override;

  void SetNormalImage(std::wstring image) { normalImage_.SetString(std::move(image)); Invalidate(); }
  void SetHotImage(std::wstring image) { hotImage_.SetString(std::move(image)); Invalidate(); }
  void SetPushedImage(std::wstring image) { pushedImage_.SetString(std::move(image)); Invalidate(); }
  void SetFocusedImage(std::wstring image) { focusedImage_.SetString(std::move(image)); Invalidate(); }
  void SetDisabledImage(std::wstring image) { disabledImage_.SetString(std::move(image)); Invalidate(); }
  const std::wstring& GetNormalImage() const { return normalImage_.String(); }
  void SetHotTextColor(uint32_t argb) { hotTextColor_ = argb; }
  void SetPushedTextColor(uint32_t argb) { pushedTextColor_ = argb; }
  void SetFocusedTextColor(uint32_t argb) { focusedTextColor_ = argb; }

  bool IsHot() const { return hot_; }
  bool IsPushed() const { return pushed_; }

  void DoEvent(const UIEvent& event) override;
  bool Activate() override;
  // Font height + 8 when the fixed height is 0, else the fixed size.
  Size EstimateSize(Size available) override;
  // Disabled, pushed, hot or focused image, falling back to the normal
  // image when that one is empty or cannot be drawn.
  void PaintStatusImage(Canvas& canvas, const Rect& paintArea) override;

 protected:
  uint32_t CurrentTextColor() const override;
  // Whether the pressed state shows (check boxes never show it).
  virtual bool ShowsPushedState() const { return true; }
  void PaintButtonStateImage(Canvas& canvas, const Rect& paintArea);

  ImageDrawRecord normalImage_;
  ImageDrawRecord hotImage_;
  ImageDrawRecord pushedImage_;
  ImageDrawRecord focusedImage_;
  ImageDrawRecord disabledImage_;
  uint32_t hotTextColor_ = 0;
  uint32_t pushedTextColor_ = 0;
  uint32_t focusedTextColor_ = 0;
  bool hot_ = false;
  bool pushed_ = false;
};

// A button with a selected state that activation inverts.
class COptionUI : public CButtonUI {
 public:
  std::wstring_view GetClass() const override;
  CControlUI* GetInterface(std::wstring_view name) override;
  void SetAttribute(std::wstring_view name, std::wstring_view value) override;

  bool IsSelected() const { return selected_; }
  // Setting the current value does nothing. Otherwise the state changes,
  // the control is redrawn and, once it belongs to a window, "selectchanged"
  // is sent synchronously.
  void Selected(bool selected);
  void SetSelectedImage(std::wstring image) { selectedImage_.SetString(std::move(image)); Invalidate(); }
  void SetSelectedTextColor(uint32_t argb) { selectedTextColor_ = argb; }

  // "click", then the selected state inverted.
  bool Activate() override;
  // While selected, "selectedimage" instead of the state images whenever it
  // can be drawn.
  void PaintStatusImage(Canvas& canvas, const Rect& paintArea) override;

 protected:
  uint32_t CurrentTextColor() const override;

  ImageDrawRecord selectedImage_;
  uint32_t selectedTextColor_ = 0;
  bool selected_ = false;
};

class CCheckBoxUI : public COptionUI {
 public:
  std::wstring_view GetClass() const override;
  CControlUI* GetInterface(std::wstring_view name) override;

 protected:
  bool ShowsPushedState() const override { return false; }
};

// Single-line text input. Here it holds and paints its text; typing is the
// window system's edit box, placed over the control by the window.
// Defaults: opaque white background, text padding 4,3,4,3.
class CEditUI : public CLabelUI {
 public:
  CEditUI();
  std::wstring_view GetClass() const override;
  CControlUI* GetInterface(std::wstring_view name) override;
  Size EstimateSize(Size available) override;
};

// A horizontal bar: "bkimage" is the empty bar, "foreimage" the filled part
// from the left edge. Range 0 to 100, value 0, default fixed height 12,
// text centred.
class CProgressUI : public CLabelUI {
 public:
  CProgressUI();
  std::wstring_view GetClass() const override;
  CControlUI* GetInterface(std::wstring_view name) override;
  void SetAttribute(std::wstring_view name, std::wstring_view value) override;

  int GetMinValue() const { return min_; }
  int GetMaxValue() const { return max_; }
  int GetValue() const { return value_; }
  void SetMinValue(int value);
  void SetMaxValue(int value);
  void SetValue(int value);
  void SetForeImage(std::wstring image) { foreImage_.SetString(std::move(image)); Invalidate(); }

  // The part of the rectangle that the fore image fills: from the left,
  // (value − min) × width ÷ (max − min) wide, the value limited to the range.
  Rect ForeRect() const;
  void PaintStatusImage(Canvas& canvas, const Rect& paintArea) override;

 private:
  ImageDrawRecord foreImage_;
  int min_ = 0;
  int max_ = 100;
  int value_ = 0;
};

}  // namespace DuiLib
