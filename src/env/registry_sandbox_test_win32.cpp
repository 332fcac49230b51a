#include <windows.h>

#include <atomic>

#include "env/registry_sandbox.h"

namespace Utils::Testing {

struct RegistrySandbox::Platform {};

RegistrySandbox::RegistrySandbox() {
  static std::atomic<unsigned> counter{0};
  key_ = L"Software\\OrinSoft\\QuorvaneTest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(counter++);
  RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str());
}

RegistrySandbox::~RegistrySandbox() { RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }

}  // namespace Utils::Testing
