#include "env/user_data.h"

#include "app/utils_path.h"

namespace Utils {

std::wstring UserDataFolderBesideLocal(std::wstring_view localAppData) {
  constexpr std::wstring_view kLocal = L"local";
  if (localAppData.size() <= kLocal.size() + 1) return {};
  const size_t cut = localAppData.size() - kLocal.size() - 1;
  if (!kWindowsPathRules.IsSeparator(localAppData[cut])) return {};
  for (size_t i = 0; i < kLocal.size(); ++i) {
    wchar_t c = localAppData[cut + 1 + i];
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
    if (c != kLocal[i]) return {};
  }
  std::wstring folder(localAppData.substr(0, cut));
  folder += L"\\Roaming\\";
  folder += kProductFolder;
  if (folder.size() >= kMaxPath) return {};
  return folder;
}

}  // namespace Utils
