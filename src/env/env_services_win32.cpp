#include "env_services.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "env/user_data.h"

namespace Utils {
namespace {

std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

}  // namespace

std::wstring SystemSpecialFolder(SpecialFolder folder) {
  return ShellFolder(folder == SpecialFolder::ProgramFilesX86 ? CSIDL_PROGRAM_FILESX86
                                                              : CSIDL_PROGRAM_FILES);
}

std::wstring SystemEnvironmentVariable(const std::wstring& name) {
  std::vector<wchar_t> value(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetEnvironmentVariableW(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) return {};
    if (length < value.size()) return std::wstring(value.data(), length);
    value.resize(length);
  }
}

std::wstring SystemUserDataFolder() {
  const std::wstring folder = UserDataFolderBesideLocal(ShellFolder(CSIDL_LOCAL_APPDATA));
  if (!folder.empty()) return folder;
  // A local application data folder that is not named "Local" (redirected by
  // policy): the roaming folder is asked for instead.
  return JoinPathWith(kWindowsPathRules, ShellFolder(CSIDL_APPDATA), kProductFolder);
}

}  // namespace Utils
