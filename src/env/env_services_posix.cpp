#include "env_services.h"

#include <cstdlib>

#include "app/utils_text.h"

namespace Utils {
namespace {

// $XDG_DATA_HOME, or ~/.local/share; empty when neither is known.
std::wstring DataHome() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && data[0] == '/') return ToWide(data, kCodePageUtf8);
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return ToWide(std::string(home) + "/.local/share", kCodePageUtf8);
  return {};
}

}  // namespace

std::wstring SystemSpecialFolder(SpecialFolder) { return DataHome(); }

std::wstring SystemEnvironmentVariable(const std::wstring& name) {
  const char* value = std::getenv(ToNarrow(name, kCodePageUtf8).c_str());
  return value ? ToWide(value, kCodePageUtf8) : std::wstring();
}

std::wstring SystemUserDataFolder() {
  return JoinPathWith(kPosixPathRules, DataHome(), kProductFolder);
}

}  // namespace Utils
