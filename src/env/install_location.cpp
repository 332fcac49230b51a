#include "install_location.h"

#include "app/profile.h"
#include "env/disk.h"

namespace Utils {
namespace {

std::wstring ProgramFilesFolder(const EnvServices& services) {
  std::wstring folder = services.getSpecialFolder(SpecialFolder::ProgramFilesX86);
  if (folder.empty()) folder = services.getSpecialFolder(SpecialFolder::ProgramFiles);
  return folder;
}

wchar_t FoldAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

}  // namespace

std::wstring GetDefaultInstallDir(InstallState& state, const EnvServices& services) {
  std::wstring consoleUser;
  state.consoleUserIsAdmin =
      services.getConsoleUserName(consoleUser) && services.isAdminAccount(consoleUser);
  state.processIsAdmin = services.isProcessAdmin();

  // An earlier installation that still has its uninstaller is the default target.
  if (!state.recordedInstallPath.empty() && services.fileExists(state.recordedUnInstallEp))
    return state.recordedInstallPath;

  std::wstring base;
  if (!state.consoleUserIsAdmin && state.processIsAdmin) {
    base = ProgramFilesFolder(services);
  } else {
    const std::wstring appData = services.getEnvironmentVariable(L"APPDATA");
    base = appData.empty() ? ProgramFilesFolder(services)
                           : JoinPathWith(services.rules, appData, kMakerFolder);
  }
  return JoinPathWith(services.rules, base, kProductFolder);
}

bool IsDefaultInstallDir(InstallState& state, const EnvServices& services, const std::wstring& path) {
  return services.isSameDirectory(path, GetDefaultInstallDir(state, services));
}

std::wstring GetChosenInstallDir(InstallState& state, const EnvServices& services,
                                 const std::wstring& pathBoxText) {
  const std::wstring defaultDir = GetDefaultInstallDir(state, services);
  if (services.isSameDirectory(pathBoxText, defaultDir)) return defaultDir;
  return JoinPathWith(services.rules, pathBoxText, kProductFolder);
}

bool NeedsOverwriteQuestion(const InstallState& state, const std::wstring& dir) {
  if (!state.hasPreviousInstall) return false;
  const std::wstring& recorded = state.recordedInstallPath;
  if (dir.size() != recorded.size()) return true;
  for (size_t i = 0; i < dir.size(); ++i) {
    if (FoldAscii(dir[i]) != FoldAscii(recorded[i])) return true;
  }
  return false;
}

bool IsOverrideInstall(const InstallState& state, const EnvServices& services, const std::wstring& path) {
  if (!services.isSameDirectory(path, state.recordedInstallPath)) return false;
  const std::wstring config = JoinPathWith(services.rules, path, L"config");
  // A "config" whose path does not fit cannot exist, and a missing file says "true".
  if (config.empty()) return true;
  return ReadProfileString(config, L"Uninstall", L"IsOverride", L"true", 20) == L"true";
}

const wchar_t* StartDecision::Message() const {
  switch (refusal) {
    case StartRefusal::InvalidPath:
      return kInvalidPathMessage;
    case StartRefusal::LowDiskSpace:
      return kLowDiskSpaceMessage;
    case StartRefusal::None:
      break;
  }
  return nullptr;
}

StartDecision CheckInstallStart(const InstallState& state, const EnvServices& services,
                                const std::wstring& path) {
  StartDecision decision;
  if (path.empty() || !services.createDirectoryChain(path)) {
    decision.refusal = StartRefusal::InvalidPath;
    return decision;
  }
  if (!IsEnoughFreeSpace(services.freeBytes(path))) {
    decision.refusal = StartRefusal::LowDiskSpace;
    return decision;
  }
  decision.installDir = path;
  decision.uninstaller =
      IsOverrideInstall(state, services, path) ? std::wstring() : state.recordedUnInstallEp;
  return decision;
}

}  // namespace Utils
