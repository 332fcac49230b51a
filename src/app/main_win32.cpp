// The installer's process: start-up, the main window's loop, shut-down.
//
// The configuration record already holds the defaults and the file beside
// the executable when this runs (it is built during static initialisation).
#include <windows.h>

#include <curl/curl.h>

#include <memory>

#include "app/config.h"
#include "app/single_instance.h"
#include "app/startup.h"
#include "toolkit/skin_archive.h"
#include "window/main_wnd_placeholder.h"

namespace {

// Declines every exception so that the system's own crash handling applies.
LONG WINAPI DeclineUnhandledException(EXCEPTION_POINTERS* /*exception*/) {
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPWSTR /*commandLine*/,
                    int /*showCommand*/) {
  // 1. Libraries come from the system folder only.
  Utils::HardenDllSearch();

  // 2. Crashes go to the system.
  SetUnhandledExceptionFilter(DeclineUnhandledException);

  // 3. The HTTP library, once for the process; only the product-information
  // request depends on it.
  if (curl_global_init(CURL_GLOBAL_ALL) != CURLE_OK)
    InstallerConfig::Instance().ProductInfoEnabled(false);

  // 4. One installer per logon session; a second one leaves without a word.
  auto guard = std::make_unique<Utils::SingleInstanceGuard>(L"Installer_Quorvane");
  guard->Create();
  if (!guard->IsOwner()) {
    guard.reset();
    curl_global_cleanup();
    return -1;
  }

  // 5. Options before any window reads the configuration.
  ApplyCommandLineOverrides();

  // 6. The skin is a 7z archive among this module's resources.
  DuiLib::SkinSettings::SetInstance(instance);
  DuiLib::SkinSettings::SetArchiveFormat7z(true);

  // 7-10. The main window and its loop, until the window is gone.
  auto window = std::make_unique<CMainWndPlaceholder>();
  window->Create(instance, L"Quorvex");
  window->CenterWindow();
  window->ShowModal();

  // 11-13. Shut-down in reverse order.
  curl_global_cleanup();
  window.reset();
  guard.reset();
  return 0;
}
