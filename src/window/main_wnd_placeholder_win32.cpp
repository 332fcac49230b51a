#include "window/main_wnd_placeholder.h"

namespace {

constexpr wchar_t kClassName[] = L"QuorvexMainWndPlaceholder";
constexpr int kWidth = 700;
constexpr int kHeight = 420;
// Visible overlapped window with caption, system menu, thick frame and both boxes.
constexpr DWORD kStyle = 0x10CF0000;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    RECT client;
    GetClientRect(hwnd, &client);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, L"Quorvex", -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(hwnd, &paint);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool RegisterOnce(HINSTANCE instance) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, kClassName, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClassName;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace

CMainWndPlaceholder::~CMainWndPlaceholder() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

bool CMainWndPlaceholder::Create(HINSTANCE instance, const wchar_t* title) {
  if (!RegisterOnce(instance)) return false;
  hwnd_ = CreateWindowExW(0, kClassName, title, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, kWidth,
                          kHeight, nullptr, nullptr, instance, nullptr);
  return hwnd_ != nullptr;
}

void CMainWndPlaceholder::CenterWindow() {
  if (!hwnd_) return;
  RECT window;
  GetWindowRect(hwnd_, &window);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& work = monitor.rcWork;
  const LONG width = window.right - window.left;
  const LONG height = window.bottom - window.top;
  LONG x = work.left + (work.right - work.left - width) / 2;
  LONG y = work.top + (work.bottom - work.top - height) / 2;
  // Inside the work area, the top-left corner first when it is too small.
  if (x + width > work.right) x = work.right - width;
  if (y + height > work.bottom) y = work.bottom - height;
  if (x < work.left) x = work.left;
  if (y < work.top) y = work.top;
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMainWndPlaceholder::ShowModal() {
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  MSG msg{};
  while (IsWindow(hwnd_)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got == -1) break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}
