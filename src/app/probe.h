// Small stateless questions about the system the installer runs on. No
// operation throws; each reports failure by its result. All may run on any
// thread except PumpMessagesFor, which belongs on the window thread.
#pragma once

#include <cstdint>
#include <string>

namespace Utils {

struct WindowsVersion {
  std::wstring name;     // always "Windows"
  std::wstring version;  // "XP-", "2K", "XP", "Server 2003", "Server 2003 R2", "XP+",
                         // "Vista", "7", "8", "8.1", "8.1+", "10", "10+", or "major.minor.build"
};

// The version text for a system version; `isR2` is the R2 system metric,
// consulted only for 5.2. Pure, so every row of the table can be tested.
std::wstring VersionText(unsigned major, unsigned minor, unsigned build, bool isR2);

WindowsVersion GetWindowsVersionName();
bool Is64BitWindows();

// The user name of the active console session; `name` is left unchanged and
// false returned when it cannot be obtained.
bool GetConsoleUserName(std::wstring& name);
// True when the local account `name` has the administrator privilege level.
bool IsAdminAccount(const std::wstring& name);
// True when the calling thread's token is a member of the Administrators group.
bool IsProcessAdmin();
// ConsoleUserIsAdmin: IsAdminAccount of the console user, false without one.
bool ConsoleUserIsAdmin();

// The installer's working folder "~OrinTemp" in the temporary directory, with
// a trailing separator; created when missing. Empty on failure.
std::wstring GetWorkingTempFolder();

// Opens a document or address with the system's opener; returns the shell's
// result (above 32 means success).
intptr_t ShellOpen(const std::wstring& target, int showCommand);

// Dispatches the window thread's messages for at least `milliseconds`; false
// when the window is gone or the quit message arrived (which is posted again).
bool PumpMessagesFor(void* window, unsigned milliseconds);

}  // namespace Utils
