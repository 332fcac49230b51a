#include "startup.h"

#include <windows.h>

#include <string>

namespace Utils {
namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

// LOAD_LIBRARY_SEARCH_SYSTEM32.
constexpr DWORD kSearchSystemFolderOnly = 0x800;

const wchar_t* const kPreloaded[] = {
    L"version.dll", L"ws2_32.dll", L"sxs.dll",     L"dwmapi.dll",       L"msimg32.dll",
    L"d3d8.dll",    L"ieframe.dll", L"ws2help.dll", L"WindowsCodecs.dll",
};

}  // namespace

void HardenDllSearch() {
  // 1. The default search: the system folder only (Windows 7 with KB2533623 and later).
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefault) setDefault(kSearchSystemFolderOnly);

  // 2. No current folder in the search order.
  SetDllDirectoryW(L"");

  // 3. The libraries loaded later, each from the system folder; they stay
  // loaded for the life of the process.
  wchar_t system[MAX_PATH] = {};
  const UINT n = GetSystemDirectoryW(system, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  for (const wchar_t* name : kPreloaded) {
    const std::wstring path = std::wstring(system, n) + L"\\" + name;
    LoadLibraryW(path.c_str());
  }
}

}  // namespace Utils
