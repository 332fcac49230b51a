// Tests of the registry use a key of their own, so that no real installation
// record is read or changed: on Windows a fresh key under
// HKEY_CURRENT_USER\Software\OrinSoft, deleted afterwards; on POSIX the store
// of a temporary configuration folder ($XDG_CONFIG_HOME for the sandbox's life).
#pragma once

#include <memory>
#include <string>

namespace Utils::Testing {

class RegistrySandbox {
 public:
  RegistrySandbox();
  ~RegistrySandbox();
  RegistrySandbox(const RegistrySandbox&) = delete;
  RegistrySandbox& operator=(const RegistrySandbox&) = delete;

  // The key path that stands for "Software\OrinSoft\Quorvane".
  const std::wstring& Key() const { return key_; }

 private:
  struct Platform;
  std::wstring key_;
  std::unique_ptr<Platform> platform_;
};

}  // namespace Utils::Testing
