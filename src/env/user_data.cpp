#include "env/user_data.h"

#include "app/profile.h"
#include "env/directory.h"

namespace Utils {

void WriteUserDataFile(const EnvServices& services) {
  const std::wstring folder = services.getUserDataFolder();
  if (!folder.empty()) services.createDirectoryChain(folder);
  const std::wstring file = JoinPathWith(services.rules, folder, L"APP.ini");
  // The locale stays in force for the rest of the process, file or not.
  if (services.setLocale) services.setLocale();
  if (file.empty()) return;
  if (ReadProfileString(file, L"Install", L"channel", L"error", 260) == L"error")
    WriteProfileEntry(file, L"Install", L"channel", L"vuzeri");
  WriteProfileEntry(file, L"help", L"isrun", L"0");
  WriteProfileEntry(file, L"Install", L"native", L"0");
}

}  // namespace Utils
