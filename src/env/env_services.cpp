#include "env_services.h"

#include <clocale>

#include "app/probe.h"
#include "app/utils_path.h"
#include "env/directory.h"
#include "env/disk.h"

namespace Utils {

EnvServices SystemEnvServices(void* window) {
  EnvServices services;
  services.getConsoleUserName = [](std::wstring& name) { return GetConsoleUserName(name); };
  services.isAdminAccount = [](const std::wstring& name) { return IsAdminAccount(name); };
  services.isProcessAdmin = [] { return IsProcessAdmin(); };
  services.getEnvironmentVariable = SystemEnvironmentVariable;
  services.getSpecialFolder = SystemSpecialFolder;
  services.getUserDataFolder = SystemUserDataFolder;
  services.fileExists = [](const std::wstring& path) { return FileExists(path); };
  services.isSameDirectory = IsSameDirectory;
  services.createDirectoryChain = [](const std::wstring& path) { return CreateDirectoryChain(path); };
  services.freeBytes = QueryFreeBytes;
  services.pumpMessages = [window](unsigned milliseconds) { PumpMessagesFor(window, milliseconds); };
  services.openFile = [](const std::wstring& path) { ShellOpen(path, 1); };  // shown normally
  // Where the runtime lacks the locale the call changes nothing.
  services.setLocale = [] { std::setlocale(LC_ALL, "en_GB.UTF-8"); };
  return services;
}

}  // namespace Utils
