#include "toolkit/layout_builder.h"

#include <vector>

#include "toolkit/containers.h"
#include "toolkit/controls.h"
#include "toolkit/layout_values.h"
#include "toolkit/skin_archive.h"
#include "toolkit/window_context.h"

namespace DuiLib {

namespace {

constexpr std::size_t kMaxFontNameLength = 31;

void ApplyFont(const XmlElement& element, CWindowContext& window) {
  int id = -1;
  const std::wstring* name = nullptr;
  FontSpec spec;
  bool isDefault = false;
  for (const XmlAttribute& a : element.attributes) {
    if (EqualsNoCase(a.name, L"id")) {
      id = ParseLayoutInt(a.value);
    } else if (EqualsNoCase(a.name, L"name")) {
      name = &a.value;
    } else if (EqualsNoCase(a.name, L"size")) {
      spec.size = ParseLayoutInt(a.value);
    } else if (EqualsNoCase(a.name, L"bold")) {
      spec.bold = ParseWindowBool(a.value);
    } else if (EqualsNoCase(a.name, L"underline")) {
      spec.underline = ParseWindowBool(a.value);
    } else if (EqualsNoCase(a.name, L"italic")) {
      spec.italic = ParseWindowBool(a.value);
    } else if (EqualsNoCase(a.name, L"default")) {
      isDefault = ParseWindowBool(a.value);
    }
  }
  if (id < 0 || !name) return;
  spec.face = name->substr(0, kMaxFontNameLength);
  window.AddFont(id, spec, isDefault);
}

std::unique_ptr<CControlUI> CreateControl(const XmlElement& element,
                                          IDialogBuilderCallback* factory) {
  std::unique_ptr<CControlUI> control = CreateBuiltinControl(element.name);
  if (!control && factory) control = factory->CreateControl(element.name);
  return control;
}

void ApplyAttributes(CControlUI& control, const XmlElement& element) {
  for (const XmlAttribute& a : element.attributes) control.SetAttribute(a.name, a.value);
}

// Steps 1 and 2 for `element`: the control with its children built and
// added. Steps 3 and 4 are the caller's. Recursion is bounded by the
// parser's nesting limit.
std::unique_ptr<CControlUI> BuildSubtree(const XmlElement& element,
                                         IDialogBuilderCallback* factory) {
  std::unique_ptr<CControlUI> control = CreateControl(element, factory);
  if (!control) return nullptr;
  if (CContainerUI* container = control->AsContainer()) {
    for (const XmlElement& childElement : element.children) {
      std::unique_ptr<CControlUI> child = BuildSubtree(childElement, factory);
      if (!child) continue;
      CControlUI* added = child.get();
      container->Add(std::move(child));
      ApplyAttributes(*added, childElement);
    }
  }
  return control;
}

}  // namespace

std::unique_ptr<CControlUI> CreateBuiltinControl(std::wstring_view name) {
  if (EqualsNoCase(name, L"Control")) return std::make_unique<CControlUI>();
  if (EqualsNoCase(name, L"Label")) return std::make_unique<CLabelUI>();
  if (EqualsNoCase(name, L"Button")) return std::make_unique<CButtonUI>();
  if (EqualsNoCase(name, L"Option")) return std::make_unique<COptionUI>();
  if (EqualsNoCase(name, L"CheckBox")) return std::make_unique<CCheckBoxUI>();
  if (EqualsNoCase(name, L"Edit")) return std::make_unique<CEditUI>();
  if (EqualsNoCase(name, L"Progress")) return std::make_unique<CProgressUI>();
  if (EqualsNoCase(name, L"Container")) return std::make_unique<CContainerUI>();
  if (EqualsNoCase(name, L"VerticalLayout")) return std::make_unique<CVerticalLayoutUI>();
  if (EqualsNoCase(name, L"HorizontalLayout")) return std::make_unique<CHorizontalLayoutUI>();
  if (EqualsNoCase(name, L"TabLayout")) return std::make_unique<CTabLayoutUI>();
  return nullptr;
}

std::unique_ptr<CControlUI> BuildLayout(const XmlElement& document, IDialogBuilderCallback* factory,
                                        CWindowContext& window) {
  if (!EqualsNoCase(document.name, L"Window")) {
    // A document without the window element is one control tree.
    std::unique_ptr<CControlUI> root = BuildSubtree(document, factory);
    if (root) ApplyAttributes(*root, document);
    return root;
  }
  for (const XmlElement& child : document.children) {
    if (EqualsNoCase(child.name, L"Font")) ApplyFont(child, window);
  }
  for (const XmlAttribute& a : document.attributes) window.SetWindowAttribute(a.name, a.value);
  for (const XmlElement& child : document.children) {
    if (EqualsNoCase(child.name, L"Font")) continue;
    std::unique_ptr<CControlUI> root = BuildSubtree(child, factory);
    if (!root) continue;
    ApplyAttributes(*root, child);
    return root;
  }
  return nullptr;
}

std::unique_ptr<CControlUI> BuildLayoutFromBytes(std::string_view bytes,
                                                 IDialogBuilderCallback* factory,
                                                 CWindowContext& window, XmlError& error) {
  error = XmlError();
  if (bytes.empty()) {
    error.message = kErrorFileEmpty;
    return nullptr;
  }
  if (bytes.size() > kMaxLayoutDocumentBytes) {
    error.message = kErrorFileTooLarge;
    return nullptr;
  }
  XmlElement document;
  if (!ParseLayoutDocument(DecodeLayoutDocument(bytes), document, error)) return nullptr;
  return BuildLayout(document, factory, window);
}

std::unique_ptr<CControlUI> BuildLayoutFromSkin(const std::wstring& documentName,
                                                IDialogBuilderCallback* factory,
                                                CWindowContext& window, XmlError& error) {
  error = XmlError();
  std::vector<uint8_t> bytes;
  std::wstring readError;
  if (!SkinSettings::ReadFile(documentName, SkinFileKind::kDocument, bytes, readError)) {
    error.message = readError;
    return nullptr;
  }
  return BuildLayoutFromBytes(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), factory, window,
      error);
}

}  // namespace DuiLib
