#include "probe.h"

#include <windows.h>
#include <lm.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <wtsapi32.h>

#include "utils_path.h"

namespace Utils {
namespace {

using RtlGetNtVersionNumbersFn = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, BOOL*);

// GetProcAddress hands back a generic pointer; the cast to the real type
// goes through void* to keep the compiler's function-cast check quiet.
template <typename Fn>
Fn LookUp(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

WindowsVersion GetWindowsVersionName() {
  WindowsVersion result{L"Windows", L""};
  HMODULE ntdll = LoadLibraryW(L"ntdll.dll");
  if (!ntdll) {
    result.version = L"XP-";
    return result;
  }
  DWORD major = 0, minor = 0, build = 0;
  if (auto query = LookUp<RtlGetNtVersionNumbersFn>(ntdll, "RtlGetNtVersionNumbers")) {
    query(&major, &minor, &build);
    build &= 0xFFFF;  // the high bits carry flags, not the build
  }
  FreeLibrary(ntdll);
  const bool isR2 = major == 5 && minor == 2 && GetSystemMetrics(SM_SERVERR2) != 0;
  result.version = VersionText(major, minor, build, isR2);
  return result;
}

bool Is64BitWindows() {
  // A 64-bit process runs on 64-bit Windows only; WOW64 tells nothing then.
  if constexpr (sizeof(void*) == 8) return true;
  auto isWow64 = LookUp<IsWow64ProcessFn>(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process");
  if (!isWow64) return false;
  BOOL wow64 = FALSE;
  if (isWow64(GetCurrentProcess(), &wow64)) return wow64 != FALSE;
  SYSTEM_INFO info{};
  GetNativeSystemInfo(&info);
  return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
         info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64;
}

bool GetConsoleUserName(std::wstring& name) {
  const DWORD session = WTSGetActiveConsoleSessionId();
  if (session == 0xFFFFFFFF) return false;  // no session attached to the console
  LPWSTR buffer = nullptr;
  DWORD bytes = 0;
  if (!WTSQuerySessionInformationW(WTS_CURRENT_SERVER_HANDLE, session, WTSUserName, &buffer,
                                   &bytes) ||
      !buffer)
    return false;
  const std::wstring user(buffer);
  WTSFreeMemory(buffer);
  if (user.empty()) return false;  // nobody logged on at the console
  name = user;
  return true;
}

bool IsAdminAccount(const std::wstring& name) {
  if (name.empty()) return false;
  USER_INFO_1* info = nullptr;
  if (NetUserGetInfo(nullptr, name.c_str(), 1, reinterpret_cast<LPBYTE*>(&info)) !=
          NERR_Success ||
      !info)
    return false;
  const bool admin = info->usri1_priv == USER_PRIV_ADMIN;
  NetApiBufferFree(info);
  return admin;
}

bool IsProcessAdmin() {
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &administrators))
    return false;
  BOOL member = FALSE;
  const bool ok = CheckTokenMembership(nullptr, administrators, &member) != FALSE;
  FreeSid(administrators);
  return ok && member != FALSE;
}

std::wstring GetWorkingTempFolder() {
  wchar_t temp[kMaxPath] = {};
  const DWORD n = GetTempPathW(kMaxPath, temp);
  if (n == 0 || n >= kMaxPath) return {};
  std::wstring folder = JoinPath(temp, L"~OrinTemp\\");
  if (folder.empty()) return {};
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES)
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? folder : std::wstring();
  if (!CreateDirectoryW(folder.c_str(), nullptr)) return {};
  return folder;
}

intptr_t ShellOpen(const std::wstring& target, int showCommand) {
  return reinterpret_cast<intptr_t>(
      ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, showCommand));
}

bool PumpMessagesFor(void* window, unsigned milliseconds) {
  const HWND hwnd = static_cast<HWND>(window);
  const DWORD start = timeGetTime();
  MSG msg{};
  bool quit = false;
  while (!hwnd || IsWindow(hwnd)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      quit = got == 0;
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    if (timeGetTime() - start > milliseconds) return !hwnd || IsWindow(hwnd);
  }
  // The main loop must still see the quit message.
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
  return false;
}

}  // namespace Utils
