// The window's side of the environment checks and records, without a window:
// the state that CMainWnd keeps for them, and the services of the system they
// call, each replaceable in tests.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "env/path_rules.h"

namespace Utils {

// Where the installation record lives: HKEY_CURRENT_USER\ this key.
constexpr wchar_t kInstallRecordKey[] = L"Software\\OrinSoft\\Quorvane";
constexpr wchar_t kProductFolder[] = L"Quorvane";
constexpr wchar_t kMakerFolder[] = L"Orin";

// Finish timers of the layout's root control.
constexpr unsigned kTopShowTimer = 10;
constexpr unsigned kFinishCloseTimer = 11;

// Startup styles reported by the setup package.
constexpr int kNonStartup = 0;
constexpr int kAutoStartup = 1;
constexpr int kUserStartup = 2;

// The state CMainWnd keeps for these checks and records, for its whole life.
struct InstallState {
  // The installation record as loaded at initialisation (empty when missing).
  std::wstring recordedInstallPath;
  std::wstring recordedUnInstallEp;
  bool hasPreviousInstall = false;

  // Refreshed at every computation of the default installation directory; the
  // values handed to the install task.
  bool consoleUserIsAdmin = false;
  bool processIsAdmin = false;

  // The current run: the directory is set when the start checks pass and
  // replaced by the package's report, as are the others.
  std::wstring installDir;
  std::wstring exePath;
  std::wstring newUninstallerPath;
  int startupStyle = kNonStartup;
  uint32_t topShowDuration = 3000;               // milliseconds
  uint32_t finishCloseDuration = 4294967295u;    // milliseconds
};

enum class SpecialFolder { ProgramFilesX86, ProgramFiles };

// The system services the logic calls. SystemEnvServices gives the real ones;
// tests replace members. Callbacks marked optional may be left empty, which
// skips the step.
struct EnvServices {
  PathRules rules = NativePathRules();
  // Key path of the installation record under the current user's root.
  std::wstring recordKey = kInstallRecordKey;

  // The account probes.
  std::function<bool(std::wstring& name)> getConsoleUserName;
  std::function<bool(const std::wstring& name)> isAdminAccount;
  std::function<bool()> isProcessAdmin;
  // An environment variable's value; empty when it is missing.
  std::function<std::wstring(const std::wstring& name)> getEnvironmentVariable;
  // A special folder of the shell; empty when the query fails.
  std::function<std::wstring(SpecialFolder folder)> getSpecialFolder;
  // The folder that holds the per-user data file "APP.ini"; empty when unknown.
  std::function<std::wstring()> getUserDataFolder;

  std::function<bool(const std::wstring& path)> fileExists;
  // Whether two paths denote the same directory (the relative-path service).
  std::function<bool(const std::wstring& a, const std::wstring& b)> isSameDirectory;
  std::function<bool(const std::wstring& path)> createDirectoryChain;
  // Bytes available to the user on the volume of a path; 0 when unknown.
  std::function<uint64_t(const std::wstring& path)> freeBytes;

  // Optional: lets the window's thread process its messages for a while.
  std::function<void(unsigned milliseconds)> pumpMessages;
  // Optional: opens a file with the shell's "open" verb, shown normally.
  std::function<void(const std::wstring& path)> openFile;
  // Optional: arms a timer of the layout's root control.
  std::function<void(unsigned timerId, uint32_t milliseconds)> armTimer;
  // Optional: sets the runtime's process-wide locale for the user data file.
  std::function<void()> setLocale;
};

// The real services. `window` is the window whose messages pumpMessages
// processes (may be null); armTimer is the window's own and left empty.
EnvServices SystemEnvServices(void* window);

// The system's special folder, environment variable and user data folder, as
// SystemEnvServices provides them. On POSIX, which has neither program files
// nor application data folders, both program files folders are the user's
// data folder ($XDG_DATA_HOME, or ~/.local/share) and the user data file lives
// in its folder "Quorvane"; environment variables are read as UTF-8.
std::wstring SystemSpecialFolder(SpecialFolder folder);
std::wstring SystemEnvironmentVariable(const std::wstring& name);
std::wstring SystemUserDataFolder();

}  // namespace Utils
