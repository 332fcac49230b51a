// Building a window's control tree from its layout document.
//
// Order: the "Window" element's "Font" children in document order, then its
// attributes in document order, then the control elements depth-first —
// for each: create it, build and add its children, add it to its parent,
// apply its attributes in document order. So a container's children exist
// before its own attributes apply ("selectedid" can select a page), and a
// control's own attributes apply after it joined its parent.
//
// Runs on the window thread.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "toolkit/control.h"
#include "toolkit/layout_parser.h"

namespace DuiLib {

class CWindowContext;

// The window's control factory: controls for element names the toolkit
// does not know ("SequenceButton").
class IDialogBuilderCallback {
 public:
  virtual ~IDialogBuilderCallback() = default;
  // A new control for the element `className`, or null when the name is
  // unknown here too (the element is then skipped with its children).
  virtual std::unique_ptr<CControlUI> CreateControl(std::wstring_view className) = 0;
};

// The built-in control for an element name (compared without regard to
// case), or null.
std::unique_ptr<CControlUI> CreateBuiltinControl(std::wstring_view elementName);

// Builds from a parsed document: applies fonts and window attributes to
// `window` and returns the root control with its subtree, not yet attached
// (the caller attaches it with `CWindowContext::AttachRoot`). Null when the
// document holds no control that can be built.
std::unique_ptr<CControlUI> BuildLayout(const XmlElement& document, IDialogBuilderCallback* factory,
                                        CWindowContext& window);

// From document bytes (UTF-8, with or without byte-order mark). Null on
// failure, with the reason in `error`.
std::unique_ptr<CControlUI> BuildLayoutFromBytes(std::string_view bytes,
                                                 IDialogBuilderCallback* factory,
                                                 CWindowContext& window, XmlError& error);

// From the skin file `documentName` of the process's skin source (the open
// archive or the resource folder; see skin_archive.h).
std::unique_ptr<CControlUI> BuildLayoutFromSkin(const std::wstring& documentName,
                                                IDialogBuilderCallback* factory,
                                                CWindowContext& window, XmlError& error);

}  // namespace DuiLib
