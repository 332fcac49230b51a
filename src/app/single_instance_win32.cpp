#include "single_instance.h"

#include <windows.h>

namespace Utils {

void SingleInstanceGuard::Create() {
  if (handle_) return;
  HANDLE mutex = CreateMutexW(nullptr, TRUE, MutexName().c_str());
  if (!mutex) return;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return;
  }
  handle_ = mutex;
}

SingleInstanceGuard::~SingleInstanceGuard() {
  if (!handle_) return;
  ReleaseMutex(handle_);
  CloseHandle(handle_);
}

}  // namespace Utils
