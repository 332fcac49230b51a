// The install task: the engine object of one installation.
//
// The window owns one task, configures it and starts it. An attempt chains
//   [removal of the earlier installation, 5003] -> download, 1003 -> setup package
// and forwards every event of its components, unchanged, to the window's
// callback before acting on it itself. The task owns the two files an
// attempt makes: the downloaded package, deleted at every end of an attempt
// that reached the download, and the copy of the earlier uninstaller in the
// working folder, which stays.
//
// Threads: Configure, Start and the destructor run on the window thread, and
// only while no attempt runs. The handlers run on the worker of the component
// that raised the event; so the download is started from the removal thread
// and the package run from the download thread. The task's inputs are
// written only while no worker runs, which is why no lock is taken.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "engine/downloader.h"
#include "engine/package_installer.h"
#include "engine/progress_callback.h"
#include "engine/uninstaller.h"

class InstallTask {
 public:
  // Makes the downloader of an attempt; the platform's by default.
  using DownloaderFactory = std::function<std::unique_ptr<CDownloader>(
      ProgressCallback callback, std::wstring url, std::wstring destPath)>;

  InstallTask(ProgressCallback callback, std::wstring downloadUrl, std::wstring previousUninstaller,
              std::wstring installDir, bool desktopShortcut, bool secondShortcut,
              bool consoleUserIsAdmin);
  // Ends the attempt that runs: a running download is aborted, nothing further
  // is started, and the call blocks until every worker (and a running setup
  // package or uninstaller) has ended.
  ~InstallTask();
  InstallTask(const InstallTask&) = delete;
  InstallTask& operator=(const InstallTask&) = delete;

  // Replaces all seven inputs; takes effect at the next Start.
  void Configure(std::wstring downloadUrl, std::wstring previousUninstaller,
                 std::wstring installDir, bool desktopShortcut, bool secondShortcut,
                 bool consoleUserIsAdmin, bool processIsAdmin);

  // Begins a new attempt with new components, discarding those of the last.
  // Removes the earlier installation first when its uninstaller exists.
  void Start();

  // installDir, the separator and "package_Quorvane.exe".
  std::wstring PackagePath() const;

  // For tests: the maker of the next attempts' downloaders.
  void SetDownloaderFactory(DownloaderFactory factory) { downloaderFactory_ = std::move(factory); }

  // The uninstaller copy in `workingFolder`; empty when there is no folder.
  static std::wstring UninstallerCopyPath(const std::wstring& workingFolder);
  // The directory of the earlier installation: the uninstaller's path cut to
  // the system's 259 characters, without its last component.
  static std::wstring EarlierInstallationDir(const std::wstring& previousUninstaller);

 private:
  void OnRemovalEvent(int32_t code, double value, const wchar_t* text);
  void OnDownloadEvent(int32_t code, double value, const wchar_t* text);
  void OnSetupEvent(int32_t code, double value, const wchar_t* text);

  std::unique_ptr<CUninstaller> remover_;
  std::unique_ptr<CDownloader> downloader_;
  std::unique_ptr<CPackageInstaller> packageRunner_;
  std::wstring downloadUrl_;
  std::wstring previousUninstaller_;
  std::wstring installDir_;
  std::wstring packagePath_;
  bool desktopShortcut_;
  bool secondShortcut_;
  bool consoleUserIsAdmin_;
  bool processIsAdmin_ = false;
  ProgressCallback callback_;
  DownloaderFactory downloaderFactory_;
  // Set by the destructor: the handlers then start nothing new.
  std::atomic<bool> closing_{false};
};
