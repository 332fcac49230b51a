#include "profile.h"

#include <windows.h>

#include <climits>
#include <vector>

namespace Utils {

std::wstring ReadProfileString(const std::wstring& path, const std::wstring& section,
                               const std::wstring& key, const std::wstring& fallback,
                               size_t capacity) {
  if (capacity == 0 || capacity > INT_MAX) return {};
  // The system would read win.ini for an empty name.
  if (path.empty()) return ProfileLookup(L"", section, key, fallback, capacity);
  std::vector<wchar_t> buffer(capacity, L'\0');
  const DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback.c_str(),
                                           buffer.data(), static_cast<DWORD>(capacity),
                                           path.c_str());
  return std::wstring(buffer.data(), n < capacity ? n : capacity - 1);
}

bool WriteProfileEntry(const std::wstring& path, const std::wstring& section,
                        const std::wstring& key, const std::wstring& value) {
  if (path.empty() || !IsWritableProfileEntry(section, key, value)) return false;
  return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path.c_str()) !=
         FALSE;
}

}  // namespace Utils
