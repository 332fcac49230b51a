// POSIX children: the command line is split by the Windows rules, so a
// program path with blanks must be quoted here as there; three pipes are made
// close-on-exec, so that the child inherits only the three ends moved onto its
// standard streams; the program is started with posix_spawnp, which reports a
// program that cannot be run as an error.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <vector>

#include "app/cmdline.h"
#include "app/utils_exception.h"
#include "app/utils_text.h"
#include "engine/child_process.h"

extern char** environ;

namespace Utils {

namespace {

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

struct Pipe {
  int read = -1;
  int write = -1;
  bool Create() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    read = fds[0];
    write = fds[1];
    return true;
  }
  void Close() {
    CloseFd(read);
    CloseFd(write);
  }
};

}  // namespace

struct ChildProcess::Native {
  Pipe error, output, input;
  pid_t pid = -1;
  bool exited = false;

  ~Native() {
    error.Close();
    output.Close();
    input.Close();
  }
};

void ChildProcess::NativeDeleter::operator()(Native* native) const { delete native; }

ChildProcess::ChildProcess(const std::wstring& commandLine, uint32_t startupFlags,
                           uint16_t /*showWindow: POSIX children have no window to hide*/)
    : native_(new Native) {
  if (commandLine.size() >= kCommandLineCapacity) throw Exception(L"");
  const std::vector<std::wstring> words = SplitCommandLine(commandLine);
  if (words.empty()) throw Exception(L"");

  // 1. The standard-error, standard-output and standard-input pipes, in this
  //    order; on failure the destructor of native_ closes what was made.
  Native& n = *native_;
  if (!n.error.Create() || !n.output.Create() || !n.input.Create()) throw Exception(L"");

  std::vector<std::string> args;
  for (const auto& w : words) args.push_back(ToNarrow(w, kCodePageUtf8));
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  // 2. The child's ends become its standard streams; every other pipe end is
  //    close-on-exec and so stays with the parent.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (startupFlags & kStartUseStdHandles) {
    posix_spawn_file_actions_adddup2(&actions, n.input.read, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, n.output.write, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, n.error.write, STDERR_FILENO);
  }
  const int rc = posix_spawnp(&n.pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw Exception(L"");

  // 3. Close the parent's copies of the child's ends: otherwise reads of the
  //    output would never see its end once the child is gone.
  CloseFd(n.error.write);
  CloseFd(n.output.write);
  CloseFd(n.input.read);
}

ChildProcess::~ChildProcess() = default;

size_t ChildProcess::ReadOutput(char* buffer, size_t capacity) {
  for (;;) {
    const ssize_t r = read(native_->output.read, buffer, capacity);
    if (r >= 0) return static_cast<size_t>(r);
    if (errno != EINTR) return 0;
  }
}

bool ChildProcess::WaitForOutput(unsigned milliseconds) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  Native& n = *native_;
  for (;;) {
    pollfd fds[2] = {{n.output.read, POLLIN, 0}, {n.error.read, POLLIN, 0}};
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    const int timeout = left.count() > 0 ? static_cast<int>(left.count()) : 0;
    const int r = poll(fds, n.error.read >= 0 ? 2 : 1, timeout);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return r < 0;  // a failed poll lets the read report the failure
    if (fds[1].revents) {
      char discard[4096];
      const ssize_t got = read(n.error.read, discard, sizeof discard);
      if (got <= 0) CloseFd(n.error.read);  // the error stream has ended
    }
    if (fds[0].revents) return true;
  }
}

bool ChildProcess::HasExited() {
  Native& n = *native_;
  if (!n.exited) {
    int status = 0;
    const pid_t r = waitpid(n.pid, &status, WNOHANG);
    if (r == n.pid || (r < 0 && errno == ECHILD)) n.exited = true;
  }
  return n.exited;
}

void ChildProcess::WaitForExit() {
  Native& n = *native_;
  while (!n.exited) {
    int status = 0;
    const pid_t r = waitpid(n.pid, &status, 0);
    if (r == n.pid || (r < 0 && errno != EINTR)) n.exited = true;
  }
}

}  // namespace Utils
