// One installer at a time: a named mutex in the user's logon session
// ("D1A547DB89C0BC61_" followed by the guard's name). Off Windows an exclusive
// lock on a file of that name in the temporary directory plays its part.
#pragma once

#include <string>

namespace Utils {

class SingleInstanceGuard {
 public:
  explicit SingleInstanceGuard(std::wstring name);
  // Releases the mutex when this guard owns it.
  ~SingleInstanceGuard();
  SingleInstanceGuard(const SingleInstanceGuard&) = delete;
  SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

  // Creates the mutex owned by the calling thread, unless this guard already
  // owns it. When the mutex already existed (another instance holds it) or
  // cannot be created, the guard owns nothing. Never waits.
  void Create();
  bool IsOwner() const { return handle_ != nullptr; }

  // The full name of the mutex.
  std::wstring MutexName() const;

 private:
  std::wstring name_;
  void* handle_ = nullptr;  // the mutex, or the lock of the POSIX stand-in
};

}  // namespace Utils
