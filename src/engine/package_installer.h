// The silent run of the downloaded setup package.
//
// The runner starts the package as a hidden child with a command line that
// carries the user's choices, reads the report lines the package writes to
// its standard output and turns them into install events:
//   2001 (0)     the worker has started
//   2002 (0)     the package is about to be started
//   2002 (f)     "Progress=" f, the fraction of the package's work done
//   2003 (0)     "State=Success";  2003 (1) the package ended without a final line
//   2004 (1)     no package path;  2004 (2) the package could not be started
//   2004 (1000)  "Error=" and its text;  2004 (0) "State=Fail", "安装包安装失败"
//   3000-3009    the installed paths, startup style and finish timers
// Exactly one of 2003 and 2004 ends a run, and it is raised once the package
// has exited, so the package file is no longer in use when the install task
// deletes it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/progress_callback.h"

namespace Utils {
class Thread;
}

class CPackageInstaller {
 public:
  // `packagePath` is already enclosed in double quotes; `installDir` may be
  // empty. The flags can be set again through the setters before Start.
  CPackageInstaller(ProgressCallback callback, std::wstring packagePath, std::wstring installDir,
                    bool ssc, bool dsc, bool adminAct, bool authorizationAct);
  // Waits until the worker, and so the package, has ended.
  ~CPackageInstaller();
  CPackageInstaller(const CPackageInstaller&) = delete;
  CPackageInstaller& operator=(const CPackageInstaller&) = delete;

  // Take effect at the next Start; not to be called while a run is going on.
  void SetInstallDir(const std::wstring& installDir) { installDir_ = installDir; }
  void SetDsc(bool dsc) { dsc_ = dsc; }
  void SetSsc(bool ssc) { ssc_ = ssc; }
  void SetAdminAct(bool adminAct) { adminAct_ = adminAct; }
  void SetAuthorizationAct(bool authorizationAct) { authorizationAct_ = authorizationAct; }

  // Builds the command line (with the configuration's InstCmd) and starts the
  // run on a worker thread named "ABDEF". A worker of an earlier Start is
  // waited for first, so this must not be called from that worker. True when
  // the worker was started.
  bool Start();

  // The command line of the last Start.
  const std::wstring& CommandLine() const { return commandLine_; }
  // major, minor and build from the last "InstallVersion=" line.
  const int32_t* InstalledVersion() const { return installedVersion_; }

  // The package's command line: the quoted package path, the fixed options,
  // the four flags, `instCmd` when not empty, and the installation directory
  // twice, quoted after "-instdir=" and bare after "/D=", always last.
  static std::wstring ComposeCommandLine(const std::wstring& packagePath,
                                         const std::wstring& installDir, bool adminAct,
                                         bool authorizationAct, bool dsc, bool ssc,
                                         const std::wstring& instCmd);

 private:
  void Run();

  ProgressCallback callback_;
  std::wstring packagePath_;
  std::wstring installDir_;
  std::wstring commandLine_;
  bool ssc_;
  bool dsc_;
  int32_t codePage_ = 0;
  std::unique_ptr<Utils::Thread> worker_;
  int32_t installedVersion_[3] = {0, 0, 0};
  bool adminAct_;
  bool authorizationAct_;
};
