// The installation record in the current user's registry and the finish step
// of an installation: the logic behind CMainWnd::LoadInstallRecord,
// SaveInstallRecord, FinishInstall and StartProduct. Runs on the window's
// thread.
#pragma once

#include <cstdint>
#include <string>

#include "env/env_services.h"

namespace Utils {

// The largest period the system's timers accept (about 24.8 days); longer
// durations are armed with it.
constexpr uint32_t kMaxTimerPeriod = 0x7FFFFFFF;

// Reads "InstallPath" and "UnInstallEp" of the record into `state` (empty when
// missing or unreadable); a record without "UnInstallEp" stands for the file
// "uninst.data" in the installation directory. Sets hasPreviousInstall.
void LoadInstallRecord(InstallState& state, const EnvServices& services);

// Writes "InstallPath" = the run's installation directory, always; takes
// "uninst.data" in that directory as the new uninstaller when the package
// named none; writes "UnInstallEp" only when that file exists, so a record
// never names an uninstaller that is not there. Write failures are ignored.
void SaveInstallRecord(InstallState& state, const EnvServices& services);

// The finish step: saves the record, starts the product for the startup style
// "AutoStartup", and arms timer 10 with the top-show duration and timer 11
// with the finish-close duration, each only when its duration is above 0.
void FinishInstall(InstallState& state, const EnvServices& services);

// Opens the product executable through the shell after letting the window
// process its messages for 100 ms; nothing when no file is at its path.
void StartProduct(const InstallState& state, const EnvServices& services);

}  // namespace Utils
