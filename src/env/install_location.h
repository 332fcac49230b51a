// Where the product is installed and whether the chosen place can be used:
// the logic behind CMainWnd::GetDefaultInstallDir, IsDefaultInstallDir,
// GetChosenInstallDir, IsOverrideInstall and the start-of-installation checks.
// All of it runs on the window's thread.
#pragma once

#include <string>

#include "env/env_services.h"

namespace Utils {

constexpr wchar_t kNoticeTitle[] = L"温馨提示";
constexpr wchar_t kInvalidPathMessage[] = L"当前路径无效";
constexpr wchar_t kLowDiskSpaceMessage[] = L"当前磁盘空间不足，请修改安装路径";

// The default installation directory; refreshes both admin flags of `state`.
// The recorded InstallPath when its uninstaller file still exists; otherwise
// Quorvane inside the 32-bit program files folder for an elevation by another
// account's credentials (console user not an administrator, process elevated),
// and Orin\Quorvane inside APPDATA for everyone else (the program files folder
// when APPDATA is missing or empty). Empty when no folder is known or the
// joined path would not fit 259 characters, which the start checks refuse as
// an invalid path.
std::wstring GetDefaultInstallDir(InstallState& state, const EnvServices& services);

// True when `path` denotes the same directory as the default directory.
bool IsDefaultInstallDir(InstallState& state, const EnvServices& services, const std::wstring& path);

// The directory of a custom installation from the text of the path box: the
// default directory when the text denotes it, otherwise the text joined with
// "Quorvane" (D:\Apps and D:\Apps\ both give D:\Apps\Quorvane). Empty, an
// invalid path, for an empty text or a join that would not fit 259 characters.
// Refreshes both admin flags.
std::wstring GetChosenInstallDir(InstallState& state, const EnvServices& services,
                                 const std::wstring& pathBoxText);

// True when the custom installation into `dir` must first ask whether to
// overwrite the installed software: an installation is recorded and `dir`
// differs from its directory (compared without regard to case).
bool NeedsOverwriteQuestion(const InstallState& state, const std::wstring& dir);

// True when installing into `path` overwrites the recorded installation in
// place: `path` denotes the recorded directory and the product's file
// "config" there does not say otherwise (section "Uninstall", key
// "IsOverride", "true" when missing; any text but exactly "true" says no).
bool IsOverrideInstall(const InstallState& state, const EnvServices& services, const std::wstring& path);

enum class StartRefusal { None, InvalidPath, LowDiskSpace };

// The outcome of the start-of-installation checks.
struct StartDecision {
  StartRefusal refusal = StartRefusal::None;
  // When accepted: the installation directory of this run and the uninstaller
  // to hand to the install task (empty: no earlier installation is removed).
  std::wstring installDir;
  std::wstring uninstaller;

  bool Accepted() const { return refusal == StartRefusal::None; }
  // The text of the message box for a refusal ("温馨提示" is its title);
  // null when accepted.
  const wchar_t* Message() const;
};

// The start-of-installation checks for `path`, in order: the directory chain
// is created (failing: "当前路径无效"), then the free space of its volume must
// reach 1.0 GiB (failing or unknown: "当前磁盘空间不足，请修改安装路径";
// the directories created stay). Changes no state; the window stores
// installDir and hands the uninstaller on when accepted.
StartDecision CheckInstallStart(const InstallState& state, const EnvServices& services,
                                const std::wstring& path);

}  // namespace Utils
