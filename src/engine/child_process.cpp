#include "engine/child_process.h"

namespace Utils {

void FollowOutput(ChildProcess& child, const std::function<void(std::string_view)>& onChunk) {
  // How long one wait for output lasts before the exit test; a child that
  // writes continuously is read without any pause.
  constexpr unsigned kPollMilliseconds = 100;
  char buffer[ChildProcess::kChunkSize];
  for (;;) {
    if (child.WaitForOutput(kPollMilliseconds)) {
      const size_t n = child.ReadOutput(buffer, sizeof buffer);
      if (n == 0) return;  // every writer has closed the pipe
      onChunk(std::string_view(buffer, n));
      continue;
    }
    if (child.HasExited()) {
      // What the child wrote before it ended is in the pipe now; read that,
      // but never wait for the end of a pipe that an inheritor keeps open.
      while (child.WaitForOutput(0)) {
        const size_t n = child.ReadOutput(buffer, sizeof buffer);
        if (n == 0) return;
        onChunk(std::string_view(buffer, n));
      }
      return;
    }
  }
}

}  // namespace Utils
