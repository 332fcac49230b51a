#include <cstdlib>
#include <optional>

#include "env/registry_sandbox.h"
#include "env/test_support.h"

namespace Utils::Testing {

struct RegistrySandbox::Platform {
  TempFolder folder;
  std::optional<std::string> previous;
};

RegistrySandbox::RegistrySandbox() : key_(L"Software\\OrinSoft\\Quorvane"), platform_(new Platform) {
  if (const char* old = std::getenv("XDG_CONFIG_HOME")) platform_->previous = old;
  setenv("XDG_CONFIG_HOME", platform_->folder.path().c_str(), 1);
}

RegistrySandbox::~RegistrySandbox() {
  if (platform_->previous) {
    setenv("XDG_CONFIG_HOME", platform_->previous->c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace Utils::Testing
