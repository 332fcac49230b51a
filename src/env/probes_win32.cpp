#include "probes.h"

#include <windows.h>
#include <objbase.h>
#include <netlistmgr.h>

namespace Utils {

bool ProbeWriteAccess(const std::wstring& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !DeleteFileW(path.c_str())) return false;
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return DeleteFileW(path.c_str()) != 0;
}

uint32_t GetNetworkConnectivity() {
  INetworkListManager* manager = nullptr;
  if (FAILED(CoCreateInstance(CLSID_NetworkListManager, nullptr, CLSCTX_ALL,
                              IID_INetworkListManager, reinterpret_cast<void**>(&manager))) ||
      !manager) {
    return 0;
  }
  NLM_CONNECTIVITY flags = NLM_CONNECTIVITY_DISCONNECTED;
  if (FAILED(manager->GetConnectivity(&flags))) flags = NLM_CONNECTIVITY_DISCONNECTED;
  VARIANT_BOOL internet = VARIANT_FALSE;
  if (flags != NLM_CONNECTIVITY_DISCONNECTED && FAILED(manager->IsConnectedToInternet(&internet)))
    internet = VARIANT_FALSE;
  manager->Release();
  CoFreeUnusedLibraries();
  return ConnectivityCode(static_cast<uint32_t>(flags), internet == VARIANT_TRUE);
}

uint32_t RunNetworkProbe() {
  const HRESULT initialised = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const uint32_t code = GetNetworkConnectivity();
  if (SUCCEEDED(initialised)) CoUninitialize();
  return code;
}

}  // namespace Utils
