#include "app/test_support.h"

#include <cstdlib>

#include "app/utils_text.h"

namespace testing_support {

ScopedTempDirectory::ScopedTempDirectory(const std::wstring& path) {
  const char* old = std::getenv("TMPDIR");
  saved_.push_back({L"TMPDIR", old != nullptr, old ? Utils::ToWide(old, Utils::kCodePageUtf8) : L""});
  setenv("TMPDIR", Utils::ToNarrow(path, Utils::kCodePageUtf8).c_str(), 1);
}

ScopedTempDirectory::~ScopedTempDirectory() {
  for (const Saved& s : saved_) {
    const std::string name = Utils::ToNarrow(s.name, Utils::kCodePageUtf8);
    if (s.present)
      setenv(name.c_str(), Utils::ToNarrow(s.value, Utils::kCodePageUtf8).c_str(), 1);
    else
      unsetenv(name.c_str());
  }
}

}  // namespace testing_support
