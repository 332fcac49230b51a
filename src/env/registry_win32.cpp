#include "registry.h"

#include <windows.h>

namespace Utils {
namespace {

HKEY RootKey(RegRoot root) {
  return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

class KeyHandle {
 public:
  KeyHandle() = default;
  ~KeyHandle() {
    if (key_) RegCloseKey(key_);
  }
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  HKEY* Receive() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

bool RegReadString(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName,
                   RegValueType& type, std::wstring& text) {
  KeyHandle key;
  if (RegOpenKeyExW(RootKey(root), keyPath.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
    return false;
  DWORD size = 0;
  DWORD valueType = 0;
  if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &valueType, nullptr, &size) !=
      ERROR_SUCCESS) {
    return false;
  }
  // Twice the reported size plus a zero character: room to spare should the
  // value grow between the two queries, and a terminator that is always there.
  std::vector<BYTE> data(static_cast<size_t>(size) * 2 + 2, 0);
  DWORD received = size;
  if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &valueType, data.data(),
                       &received) != ERROR_SUCCESS) {
    return false;
  }
  type = valueType;
  text = DecodeRegistryText(data.data(), received);
  return true;
}

bool RegWriteData(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName,
                  RegValueType type, const std::vector<uint8_t>& data) {
  KeyHandle key;
  if (RegCreateKeyExW(RootKey(root), keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return RegSetValueExW(key.get(), valueName.c_str(), 0, type, data.data(),
                        static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

}  // namespace Utils
