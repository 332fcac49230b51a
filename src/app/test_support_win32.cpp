#include "app/test_support.h"

#include <windows.h>

namespace testing_support {

ScopedTempDirectory::ScopedTempDirectory(const std::wstring& path) {
  for (const wchar_t* name : {L"TMP", L"TEMP"}) {
    std::vector<wchar_t> old(32768);
    const DWORD n = GetEnvironmentVariableW(name, old.data(), 32768);
    const bool present = n > 0 && n < 32768;
    saved_.push_back({name, present, present ? std::wstring(old.data(), n) : L""});
    SetEnvironmentVariableW(name, path.c_str());
  }
}

ScopedTempDirectory::~ScopedTempDirectory() {
  for (const Saved& s : saved_)
    SetEnvironmentVariableW(s.name.c_str(), s.present ? s.value.c_str() : nullptr);
}

}  // namespace testing_support
