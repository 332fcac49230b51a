// Layout documents from arbitrary bytes: parsed, built, attached, laid out
// at the installer's size, painted and clicked. Any crash, overflow or hang
// is a fault.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "toolkit/layout_builder.h"
#include "toolkit/window_context.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace DuiLib;
  CWindowContext window(nullptr, [](const std::wstring&, std::vector<uint8_t>&) { return false; });
  XmlError error;
  std::unique_ptr<CControlUI> root = BuildLayoutFromBytes(
      std::string_view(reinterpret_cast<const char*>(data), size), nullptr, window, error);
  if (!root) return 0;
  window.AttachRoot(std::move(root));
  window.SetClientSize({700, 420});
  Bitmap bitmap(700, 420);
  Canvas canvas(bitmap);
  window.Paint(canvas, bitmap.Bounds());
  // Input as the window would deliver it.
  window.OnMouseMove(350, 200);
  window.OnButtonDown(350, 200);
  window.OnButtonUp(350, 200);
  window.OnKeyDown(0x20);
  window.Paint(canvas, Rect(100, 100, 200, 200));
  return 0;
}
