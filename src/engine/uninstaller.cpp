#include "engine/uninstaller.h"

#include <exception>

#include "app/probe.h"
#include "app/utils_path.h"
#include "engine/child_process.h"
#include "engine/report_reader.h"
#include "engine/thread.h"

CUninstaller::CUninstaller(ProgressCallback callback, std::wstring uninstallerPath,
                           std::wstring uninstallDir)
    : callback_(std::move(callback)),
      uninstallerPath_(std::move(uninstallerPath)),
      uninstallDir_(std::move(uninstallDir)) {}

CUninstaller::~CUninstaller() { worker_.reset(); }

std::wstring CUninstaller::ComposeCommandLine(const std::wstring& uninstallerPath,
                                              bool consoleUserIsAdmin, bool processIsAdmin,
                                              const std::wstring& uninstallDir) {
  std::wstring line = uninstallerPath.find(L' ') == std::wstring::npos
                          ? uninstallerPath
                          : L"\"" + uninstallerPath + L"\"";
  line += L" /S -adminact=";
  line += consoleUserIsAdmin ? L"true" : L"false";
  line += L" -authorizationact=";
  line += processIsAdmin ? L"true" : L"false";
  line += L" -console=show _?=" + uninstallDir;
  return line;
}

bool CUninstaller::Start() {
  commandLine_ = ComposeCommandLine(uninstallerPath_, Utils::ConsoleUserIsAdmin(),
                                    Utils::IsProcessAdmin(), uninstallDir_);
  worker_ = std::make_unique<Utils::Thread>(
      [this](void*) -> uint32_t {
        Run();
        return 0;
      },
      nullptr, L"UnInstaller");
  return worker_->Resume();
}

void CUninstaller::Run() {
  if (!Utils::FileExists(uninstallerPath_)) {
    callback_(5004, 1, L"可执行卸载文件不存在");
    return;
  }
  callback_(5002, 0, L"");

  std::unique_ptr<Utils::ChildProcess> child;
  try {
    child = std::make_unique<Utils::ChildProcess>(
        commandLine_, Utils::kStartUseStdHandles | Utils::kStartUseShowWindow, Utils::kShowHidden);
  } catch (const std::exception&) {
    callback_(5004, 2, L"");
    return;
  }

  // Every line counts until the uninstaller exits, final lines included.
  Report::CReportReader reader(Report::CReportReader::Protocol::Uninstaller, callback_);
  Utils::FollowOutput(*child, [&](std::string_view chunk) { reader.Feed(chunk); });
  reader.Finish();
  codePage_ = reader.CodePage();

  child->WaitForExit();
  child.reset();

  if (!reader.SawFinal()) callback_(5003, 1, L"");
}
