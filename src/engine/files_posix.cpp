#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "app/utils_text.h"
#include "engine/files.h"

namespace Utils {

namespace {

std::filesystem::path NativePath(const std::wstring& path) {
  return std::filesystem::path(ToNarrow(path, kCodePageUtf8));
}

}  // namespace

bool CopyFileReplacing(const std::wstring& from, const std::wstring& to) {
  if (from.empty() || to.empty()) return false;
  std::error_code error;
  return std::filesystem::copy_file(NativePath(from), NativePath(to),
                                    std::filesystem::copy_options::overwrite_existing, error);
}

bool DeleteFileAt(const std::wstring& path) {
  if (path.empty()) return false;
  return unlink(ToNarrow(path, kCodePageUtf8).c_str()) == 0;
}

}  // namespace Utils
