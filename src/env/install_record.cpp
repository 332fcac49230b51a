#include "install_record.h"

#include <algorithm>

#include "env/registry.h"

namespace Utils {
namespace {

constexpr wchar_t kInstallPathValue[] = L"InstallPath";
constexpr wchar_t kUnInstallEpValue[] = L"UnInstallEp";
constexpr wchar_t kUninstallerFile[] = L"uninst.data";

std::wstring ReadRecordValue(const EnvServices& services, const wchar_t* name) {
  RegValueType type = 0;
  std::wstring text;
  if (!RegReadString(RegRoot::CurrentUser, services.recordKey, name, type, text)) return {};
  return text;
}

// `dir` followed by a separator and `name`, without doubling a separator the
// directory already ends in; empty for an empty directory. Not limited in length: the result is only looked
// up or stored, never copied into a path buffer.
std::wstring AppendName(const PathRules& rules, const std::wstring& dir, const wchar_t* name) {
  if (dir.empty()) return {};
  std::wstring out = dir;
  if (!rules.IsSeparator(out.back())) out.push_back(rules.separator);
  return out + name;
}

}  // namespace

void LoadInstallRecord(InstallState& state, const EnvServices& services) {
  state.recordedInstallPath = ReadRecordValue(services, kInstallPathValue);
  state.recordedUnInstallEp = ReadRecordValue(services, kUnInstallEpValue);
  if (state.recordedUnInstallEp.empty() && !state.recordedInstallPath.empty())
    state.recordedUnInstallEp = AppendName(services.rules, state.recordedInstallPath, kUninstallerFile);
  state.hasPreviousInstall = !state.recordedInstallPath.empty();
}

void SaveInstallRecord(InstallState& state, const EnvServices& services) {
  RegWriteString(RegRoot::CurrentUser, services.recordKey, kInstallPathValue, kRegSz, state.installDir);
  if (state.newUninstallerPath.empty())
    state.newUninstallerPath = AppendName(services.rules, state.installDir, kUninstallerFile);
  if (services.fileExists(state.newUninstallerPath)) {
    RegWriteString(RegRoot::CurrentUser, services.recordKey, kUnInstallEpValue, kRegSz,
                   state.newUninstallerPath);
  }
}

void FinishInstall(InstallState& state, const EnvServices& services) {
  SaveInstallRecord(state, services);
  if (state.startupStyle == kAutoStartup) StartProduct(state, services);
  if (!services.armTimer) return;
  if (state.topShowDuration > 0)
    services.armTimer(kTopShowTimer, std::min(state.topShowDuration, kMaxTimerPeriod));
  if (state.finishCloseDuration > 0)
    services.armTimer(kFinishCloseTimer, std::min(state.finishCloseDuration, kMaxTimerPeriod));
}

void StartProduct(const InstallState& state, const EnvServices& services) {
  if (!services.fileExists(state.exePath)) return;
  if (services.pumpMessages) services.pumpMessages(100);
  if (services.openFile) services.openFile(state.exePath);
}

}  // namespace Utils
