// A plain stand-in for the installer's main window, used by the entry point
// until the skinned CMainWnd takes its place: a 700 x 420 window titled
// "Quorvex" that closes like any other window. Windows only; main thread.
#pragma once

#include <windows.h>

class CMainWndPlaceholder {
 public:
  CMainWndPlaceholder() = default;
  ~CMainWndPlaceholder();
  CMainWndPlaceholder(const CMainWndPlaceholder&) = delete;
  CMainWndPlaceholder& operator=(const CMainWndPlaceholder&) = delete;

  // Creates the window (visible overlapped window, no parent); false when
  // it cannot be created.
  bool Create(HINSTANCE instance, const wchar_t* title);
  // Centres the window on the work area of its monitor, keeping it inside.
  void CenterWindow();
  // Shows the window and dispatches messages until it is gone or the quit
  // message arrives (which is then posted again for any outer loop).
  void ShowModal();

  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};
