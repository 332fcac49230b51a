#include "engine/install_task.h"

#include "app/probe.h"
#include "app/utils_path.h"
#include "engine/files.h"
#include "env/directory.h"

namespace {

const wchar_t kProductName[] = L"Quorvane";

}  // namespace

InstallTask::InstallTask(ProgressCallback callback, std::wstring downloadUrl,
                         std::wstring previousUninstaller, std::wstring installDir,
                         bool desktopShortcut, bool secondShortcut, bool consoleUserIsAdmin)
    : downloadUrl_(std::move(downloadUrl)),
      previousUninstaller_(std::move(previousUninstaller)),
      installDir_(std::move(installDir)),
      desktopShortcut_(desktopShortcut),
      secondShortcut_(secondShortcut),
      consoleUserIsAdmin_(consoleUserIsAdmin),
      callback_(std::move(callback)),
      downloaderFactory_([](ProgressCallback cb, std::wstring url, std::wstring dest) {
        return CreateDownloader(std::move(cb), std::move(url), std::move(dest));
      }) {}

InstallTask::~InstallTask() {
  closing_ = true;
  // In chain order: the removal thread may start the download, and the
  // download thread the package run.
  remover_.reset();
  downloader_.reset();
  packageRunner_.reset();
}

void InstallTask::Configure(std::wstring downloadUrl, std::wstring previousUninstaller,
                            std::wstring installDir, bool desktopShortcut, bool secondShortcut,
                            bool consoleUserIsAdmin, bool processIsAdmin) {
  downloadUrl_ = std::move(downloadUrl);
  previousUninstaller_ = std::move(previousUninstaller);
  installDir_ = std::move(installDir);
  desktopShortcut_ = desktopShortcut;
  secondShortcut_ = secondShortcut;
  consoleUserIsAdmin_ = consoleUserIsAdmin;
  processIsAdmin_ = processIsAdmin;
}

std::wstring InstallTask::PackagePath() const {
  return installDir_ + Utils::PathSeparator() + L"package_" + kProductName + L".exe";
}

std::wstring InstallTask::UninstallerCopyPath(const std::wstring& workingFolder) {
  if (workingFolder.empty()) return {};
  return Utils::JoinPath(workingFolder, std::wstring(kProductName) + L"_uninstall.exe");
}

std::wstring InstallTask::EarlierInstallationDir(const std::wstring& previousUninstaller) {
  return Utils::RemoveLastComponent(
      std::wstring_view(previousUninstaller).substr(0, Utils::kMaxPath - 1));
}

void InstallTask::Start() {
  // 1. Each attempt runs with components of its own. The earlier ones go
  //    first: a worker of the last attempt may still be in its handler,
  //    deleting the package file of its own attempt.
  remover_.reset();
  downloader_.reset();
  packageRunner_.reset();

  // 2. The package file of this attempt.
  packagePath_ = PackagePath();

  // 3. The downloader, its worker created waiting.
  auto onDownload = [this](int32_t c, double v, const wchar_t* t) { OnDownloadEvent(c, v, t); };
  downloader_ = downloaderFactory_(onDownload, downloadUrl_, packagePath_);

  // 4. The package runner with the user's choices.
  auto onSetup = [this](int32_t c, double v, const wchar_t* t) { OnSetupEvent(c, v, t); };
  packageRunner_ = std::make_unique<CPackageInstaller>(onSetup, L"\"" + packagePath_ + L"\"",
                                                       installDir_, true, true, true, true);
  packageRunner_->SetInstallDir(installDir_);
  packageRunner_->SetDsc(desktopShortcut_);
  packageRunner_->SetSsc(secondShortcut_);
  packageRunner_->SetAdminAct(consoleUserIsAdmin_);
  packageRunner_->SetAuthorizationAct(processIsAdmin_);

  // 5. Nothing to remove: download at once.
  if (!Utils::FileExists(previousUninstaller_)) {
    downloader_->Start();
    return;
  }

  // 6. Remove the earlier installation first, with a copy of its uninstaller
  //    run from the working folder. A failed copy shows up as a missing
  //    uninstaller, which the remover reports (5004).
  const std::wstring copyPath = UninstallerCopyPath(Utils::GetWorkingTempFolder());
  Utils::CopyFileReplacing(previousUninstaller_, copyPath);
  auto onRemoval = [this](int32_t c, double v, const wchar_t* t) { OnRemovalEvent(c, v, t); };
  remover_ = std::make_unique<CUninstaller>(onRemoval, copyPath,
                                            EarlierInstallationDir(previousUninstaller_));
  remover_->Start();
}

void InstallTask::OnRemovalEvent(int32_t code, double value, const wchar_t* text) {
  callback_(code, value, text);
  if (code == 5003 && packageRunner_ && downloader_ && !closing_) downloader_->Start();
}

void InstallTask::OnDownloadEvent(int32_t code, double value, const wchar_t* text) {
  callback_(code, value, text);
  switch (code) {
    case 1001:
      // A failure shows later: the download cannot write its file (1004).
      Utils::CreateDirectoryChain(installDir_);
      break;
    case 1003:
      // While the task is being destroyed the package is not run, and so it
      // must not stay either.
      if (closing_) Utils::DeleteFileAt(packagePath_);
      else if (packageRunner_) packageRunner_->Start();
      break;
    case 1004:
      Utils::DeleteFileAt(packagePath_);
      break;
    default:
      break;
  }
}

void InstallTask::OnSetupEvent(int32_t code, double value, const wchar_t* text) {
  callback_(code, value, text);
  if (code == 2003 || code == 2004) Utils::DeleteFileAt(packagePath_);
}
