// The silent run of an earlier installation's uninstaller.
//
// The runner starts the uninstaller copy as a hidden child and follows its
// report lines until it exits:
//   5002 (0)    the copy exists and is about to be started
//   5002 (f)    "Progress=" f
//   5003 (0)    "State=Success";  5003 (1) the uninstaller ended without a final line
//   5004 (1)    the copy does not exist, "可执行卸载文件不存在"
//   5004 (2)    the uninstaller could not be started
//   5004 (0)    "Error=" and its text, or "State=Fail" with "安装包卸载失败"
// The install task starts the download on 5003 and nothing on 5004.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/progress_callback.h"

namespace Utils {
class Thread;
}

class CUninstaller {
 public:
  // `uninstallerPath` is the copy to run, `uninstallDir` the directory of the
  // earlier installation.
  CUninstaller(ProgressCallback callback, std::wstring uninstallerPath, std::wstring uninstallDir);
  // Waits until the worker, and so the uninstaller, has ended.
  ~CUninstaller();
  CUninstaller(const CUninstaller&) = delete;
  CUninstaller& operator=(const CUninstaller&) = delete;

  // Builds the command line from the administrator probes as they are now and
  // starts the run on a worker thread named "UnInstaller". Called once. True
  // when the worker was started.
  bool Start();

  const std::wstring& CommandLine() const { return commandLine_; }

  // "<path> /S -adminact=<b> -authorizationact=<b> -console=show _?=<dir>",
  // with "_?=" and the directory, unquoted, always last. The path is quoted
  // when it holds a blank, so that the system cannot take a shorter prefix of
  // it for the program.
  static std::wstring ComposeCommandLine(const std::wstring& uninstallerPath,
                                         bool consoleUserIsAdmin, bool processIsAdmin,
                                         const std::wstring& uninstallDir);

 private:
  void Run();

  ProgressCallback callback_;
  std::wstring commandLine_;
  std::wstring uninstallerPath_;
  std::wstring uninstallDir_;
  int32_t codePage_ = 0;
  std::unique_ptr<Utils::Thread> worker_;
};
