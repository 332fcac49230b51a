// Small stateless questions about the system the installer runs on. No
// operation throws; each reports failure by its result. All may run on any
// thread except PumpMessagesFor, which belongs on the window thread.
//
// Off Windows the answers are the nearest equivalents: the kernel's version
// (never containing "XP"), the process's user as the console user, root as
// the administrator, the temporary directory from TMPDIR (or /tmp), and the
// desktop's opener for documents and addresses.
#pragma once

#include <cstdint>
#include <string>

namespace Utils {

struct WindowsVersion {
  std::wstring name;     // "Windows" (the kernel's name off Windows)
  std::wstring version;  // "XP-", "2K", "XP", "Server 2003", "Server 2003 R2", "XP+",
                         // "Vista", "7", "8", "8.1", "8.1+", "10", "10+", or "major.minor.build"
};

// The version text for a system version; `isR2` is the R2 system metric,
// consulted only for 5.2. Pure, so every row of the table can be tested.
std::wstring VersionText(unsigned major, unsigned minor, unsigned build, bool isR2);

// The running system's real version, whatever the executable's manifest
// claims; "XP-" when the system's version query is missing.
WindowsVersion GetWindowsVersionName();
// True on 64-bit Windows (for a 32-bit process: running under WOW64).
bool Is64BitWindows();

// The user name of the active console session; `name` is left unchanged and
// false returned when it cannot be obtained.
bool GetConsoleUserName(std::wstring& name);
// True when the local account `name` has the administrator privilege level;
// false for an empty name or an account the computer does not hold.
bool IsAdminAccount(const std::wstring& name);
// True when the calling thread's token is a member of the Administrators
// group (an administrator's token that is not elevated is not).
bool IsProcessAdmin();
// ConsoleUserIsAdmin: IsAdminAccount of the console user, false without one.
bool ConsoleUserIsAdmin();

// The installer's working folder "~OrinTemp" in the temporary directory, with
// a trailing separator; created (one level) when missing. Empty when it
// cannot be provided, the path would exceed 259 characters included.
std::wstring GetWorkingTempFolder();

// Opens a document or address with the system's opener, without an owner
// window, parameters or working folder; returns the shell's result (above 32
// means success). Does not wait for the opener.
intptr_t ShellOpen(const std::wstring& target, int showCommand);

// Dispatches the calling thread's messages for at least `milliseconds` (and
// until the first message after that); false at once when `window` (may be
// null) is gone or the quit message arrived, which is then posted again.
bool PumpMessagesFor(void* window, unsigned milliseconds);

}  // namespace Utils
