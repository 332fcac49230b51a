// Test helpers: a window context with an in-memory image set, documents
// built from UTF-8 text, solid-colour images.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolkit/containers.h"
#include "toolkit/controls.h"
#include "toolkit/image.h"
#include "toolkit/layout_builder.h"
#include "toolkit/window_context.h"

namespace DuiLib::testing {

inline std::shared_ptr<Image> SolidImage(int width, int height, uint32_t pixel) {
  auto image = std::make_shared<Image>();
  image->bitmap.Reset(width, height);
  image->bitmap.Fill(pixel);
  image->hasAlpha = (pixel >> 24) != 0xFF;
  return image;
}

struct TestWindow {
  CWindowContext window{nullptr, [](const std::wstring&, std::vector<uint8_t>&) { return false; }};
  XmlError error;

  // Builds `utf8`, attaches the root and lays it out in `client`.
  bool Load(const std::string& utf8, IDialogBuilderCallback* factory = nullptr,
            Size client = {700, 420}) {
    std::unique_ptr<CControlUI> root = BuildLayoutFromBytes(utf8, factory, window, error);
    if (!root) return false;
    window.AttachRoot(std::move(root));
    window.SetClientSize(client);
    window.LayoutIfNeeded();
    return true;
  }

  template <typename T = CControlUI>
  T* Find(const wchar_t* name) {
    return dynamic_cast<T*>(window.FindControl(name));
  }

  Rect Pos(const wchar_t* name) {
    CControlUI* c = window.FindControl(name);
    return c ? c->GetPos() : Rect(-1, -1, -1, -1);
  }
};

}  // namespace DuiLib::testing
