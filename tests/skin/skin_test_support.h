// The skin tests' source: the archive resource 147 of the test program
// itself on Windows (it carries the installer's resource script), elsewhere
// the packed skin.7z standing in for it as the file ZIPRES_147.7z.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/utils_text.h"
#include "toolkit/containers.h"
#include "toolkit/controls.h"
#include "toolkit/fixed_text_service.h"
#include "toolkit/layout_builder.h"
#include "toolkit/skin_archive.h"
#include "toolkit/window_context.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace DuiLib::skintest {

constexpr int kSkinResourceId = 147;

inline std::string Narrow(const std::wstring& text) {
  return Utils::ToNarrow(text, Utils::kCodePageUtf8);
}

// Opens the skin archive as the installer's start-up does.
class SkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SkinSettings::Reset();
#ifdef _WIN32
    SkinSettings::SetInstance(GetModuleHandleW(nullptr));
#else
    SkinSettings::SetResourcePath(Utils::ToWide(QV_SKIN_RESOURCE_DIR, Utils::kCodePageUtf8));
#endif
    SkinSettings::SetArchiveFormat7z(true);
  }
  void TearDown() override { SkinSettings::Reset(); }
};

// A window built from a layout document of the skin, with the fixed-metrics
// text service (a font of size n is n pixels high), laid out at its size.
struct SkinWindow {
  CWindowContext window{std::make_shared<FixedTextService>()};
  XmlError error;

  bool Load(const std::wstring& document) {
    if (!SkinSettings::LoadArchiveResource(kSkinResourceId)) return false;
    std::unique_ptr<CControlUI> root = BuildLayoutFromSkin(document, nullptr, window, error);
    if (!root) return false;
    window.AttachRoot(std::move(root));
    window.SetClientSize(window.GetInitSize());
    window.LayoutIfNeeded();
    return true;
  }

  template <typename T = CControlUI>
  T* Find(const wchar_t* name) const {
    return dynamic_cast<T*>(window.FindControl(name));
  }

  // Selects a page of a tab layout (without notification) and lays out.
  void SelectPage(const wchar_t* tab, int page) {
    auto* layout = Find<CTabLayoutUI>(tab);
    ASSERT_NE(layout, nullptr);
    layout->SelectItem(page, false);
    window.LayoutIfNeeded();
  }
};

// The first visible control below `root` (depth-first, document order) whose
// name, text or background image is `key`; unnamed controls of the layouts
// are found by what they show.
inline CControlUI* FindShown(CControlUI* root, const std::wstring& key) {
  if (root == nullptr || !root->IsVisible()) return nullptr;
  if (root->GetName() == key || root->GetText() == key || root->GetBkImage() == key) return root;
  if (CContainerUI* box = root->AsContainer()) {
    for (int i = 0; i < box->GetCount(); ++i) {
      if (CControlUI* found = FindShown(box->GetItemAt(i), key)) return found;
    }
  }
  return nullptr;
}

}  // namespace DuiLib::skintest
