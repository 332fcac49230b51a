#include "single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "utils_text.h"

namespace Utils {
namespace {

// The lock's descriptor lives in the guard's handle slot, offset by one so
// that descriptor 0 is not taken for "no lock".
void* ToHandle(int fd) { return reinterpret_cast<void*>(static_cast<intptr_t>(fd) + 1); }
int ToFd(void* handle) { return static_cast<int>(reinterpret_cast<intptr_t>(handle) - 1); }

}  // namespace

void SingleInstanceGuard::Create() {
  if (handle_) return;
  std::wstring file = MutexName();
  for (wchar_t& c : file)
    if (c == L'/') c = L'_';
  const char* tmpdir = std::getenv("TMPDIR");
  const std::string path = std::string(tmpdir && *tmpdir ? tmpdir : "/tmp") + "/" +
                           ToNarrow(file, kCodePageUtf8) + ".lock";
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return;
  // A lock belongs to one open file description, so a second guard in the
  // same process is refused just like another process.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return;
  }
  handle_ = ToHandle(fd);
}

SingleInstanceGuard::~SingleInstanceGuard() {
  if (!handle_) return;
  const int fd = ToFd(handle_);
  flock(fd, LOCK_UN);
  close(fd);
}

}  // namespace Utils
