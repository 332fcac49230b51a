#include "engine/package_installer.h"

#include <exception>
#include <vector>

#include "app/config.h"
#include "engine/child_process.h"
#include "engine/report_reader.h"
#include "engine/thread.h"

namespace {

const wchar_t* Bool(bool value) { return value ? L"true" : L"false"; }

}  // namespace

CPackageInstaller::CPackageInstaller(ProgressCallback callback, std::wstring packagePath,
                                     std::wstring installDir, bool ssc, bool dsc, bool adminAct,
                                     bool authorizationAct)
    : callback_(std::move(callback)),
      packagePath_(std::move(packagePath)),
      installDir_(std::move(installDir)),
      ssc_(ssc),
      dsc_(dsc),
      adminAct_(adminAct),
      authorizationAct_(authorizationAct) {}

CPackageInstaller::~CPackageInstaller() { worker_.reset(); }

std::wstring CPackageInstaller::ComposeCommandLine(const std::wstring& packagePath,
                                                   const std::wstring& installDir, bool adminAct,
                                                   bool authorizationAct, bool dsc, bool ssc,
                                                   const std::wstring& instCmd) {
  std::wstring line = packagePath;
  line += L" /S -console=show -version=1.0.0.0";
  line += L" -adminact=";
  line += Bool(adminAct);
  line += L" -authorizationact=";
  line += Bool(authorizationAct);
  line += L" -dsc=";
  line += Bool(dsc);
  line += L" -ssc=";
  line += Bool(ssc);
  if (!instCmd.empty()) line += L" " + instCmd;
  if (!installDir.empty()) {
    line += L" -instdir=\"" + installDir + L"\"";
    // The package reads the directory bare from here to the end of the line.
    line += L" /D=" + installDir;
  }
  return line;
}

bool CPackageInstaller::Start() {
  // The worker of an earlier run goes first: it reads the command line.
  worker_.reset();
  commandLine_ = ComposeCommandLine(packagePath_, installDir_, adminAct_, authorizationAct_, dsc_,
                                    ssc_, InstallerConfig::Instance().InstCmd());
  worker_ = std::make_unique<Utils::Thread>(
      [this](void*) -> uint32_t {
        Run();
        return 0;
      },
      nullptr, L"ABDEF");
  return worker_->Resume();
}

void CPackageInstaller::Run() {
  callback_(2001, 0, L"");
  if (packagePath_.empty()) {
    callback_(2004, 1, L"");
    return;
  }
  callback_(2002, 0, L"");

  std::unique_ptr<Utils::ChildProcess> child;
  try {
    child = std::make_unique<Utils::ChildProcess>(
        commandLine_, Utils::kStartUseStdHandles | Utils::kStartUseShowWindow, Utils::kShowHidden);
  } catch (const std::exception&) {
    callback_(2004, 2, L"");
    return;
  }

  // The outcome (2003 or 2004 from a final line) and whatever follows it in
  // the same read are held until the package has exited, so the install task
  // deletes a package file that is no longer running; every event before the
  // outcome goes out as its line is read.
  struct HeldEvent {
    int32_t code;
    double value;
    std::wstring text;
  };
  std::vector<HeldEvent> held;
  Report::CReportReader reader(Report::CReportReader::Protocol::Package,
                               [&](int32_t code, double value, const wchar_t* text) {
                                 if (held.empty() && code != 2003 && code != 2004)
                                   callback_(code, value, text);
                                 else
                                   held.push_back({code, value, text});
                               });
  codePage_ = reader.CodePage();
  Utils::FollowOutput(*child, [&](std::string_view chunk) { reader.Feed(chunk); });
  reader.Finish();
  codePage_ = reader.CodePage();
  for (int i = 0; i < 3; ++i) installedVersion_[i] = reader.State().installedVersion[i];

  child->WaitForExit();
  child.reset();

  if (!reader.SawFinal()) {
    callback_(2003, 1, L"");
    return;
  }
  for (const auto& e : held) callback_(e.code, e.value, e.text.c_str());
}
