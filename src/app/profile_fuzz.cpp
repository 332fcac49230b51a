// Profile text from arbitrary bytes: reading never fails, and a write is read
// back exactly while every other entry keeps its value.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "app/profile.h"
#include "app/utils_text.h"

namespace {

std::wstring Text(FuzzedDataProvider& data, size_t max) {
  return Utils::ToWide(data.ConsumeRandomLengthString(max), Utils::kCodePageUtf8);
}

bool IsBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r') || c == 0x1A; }

std::wstring Trimmed(std::wstring s) {
  while (!s.empty() && IsBlank(s.back())) s.pop_back();
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return s.substr(i);
}

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  FuzzedDataProvider data(bytes, size);
  const std::wstring section = Text(data, 16);
  const std::wstring key = Text(data, 16);
  const std::wstring value = Text(data, 32);
  const std::wstring otherSection = Text(data, 16);
  const std::wstring otherKey = Text(data, 16);
  const size_t capacity = data.ConsumeIntegralInRange<size_t>(0, 300);
  const std::wstring text = Utils::ToWide(data.ConsumeRemainingBytesAsString(),
                                          Utils::kCodePageUtf8);

  const std::wstring read = Utils::ProfileLookup(text, section, key, value, capacity);
  Check(capacity == 0 ? read.empty() : read.size() < capacity);

  if (!Utils::IsWritableProfileEntry(section, key, value)) {
    Check(Utils::SetProfileValue(text, section, key, value) == text);
    return 0;
  }
  const std::wstring edited = Utils::SetProfileValue(text, section, key, value);
  Check(Utils::FindProfileValue(edited, section, key) == Trimmed(value));

  if (!Utils::SameProfileName(otherSection, section) || !Utils::SameProfileName(otherKey, key))
    Check(Utils::FindProfileValue(text, otherSection, otherKey) ==
          Utils::FindProfileValue(edited, otherSection, otherKey));
  return 0;
}
