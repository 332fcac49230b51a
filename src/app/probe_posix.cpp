#include "probe.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "utils_path.h"
#include "utils_text.h"

namespace Utils {
namespace {

// The shell's error results that ShellOpen can meet here.
constexpr intptr_t kShellOutOfResources = 0;
constexpr intptr_t kShellFileNotFound = 2;
constexpr intptr_t kShellAccessDenied = 5;
constexpr intptr_t kShellStarted = 33;

bool LookUpUser(uid_t uid, std::string& name) {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return false;
  name = found->pw_name;
  return true;
}

// The full path of `program` on PATH, found before forking so that the child
// only has to exec.
std::string FindOnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t begin = 0;
  while (begin <= dirs.size()) {
    size_t end = dirs.find(':', begin);
    if (end == std::string::npos) end = dirs.size();
    const std::string dir = dirs.substr(begin, end - begin);
    const std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + program;
    struct stat st {};
    if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        access(candidate.c_str(), X_OK) == 0)
      return candidate;
    begin = end + 1;
  }
  return {};
}

}  // namespace

WindowsVersion GetWindowsVersionName() {
  WindowsVersion result{L"Windows", L"XP-"};
  utsname names{};
  if (uname(&names) != 0) return result;
  result.name = ToWide(names.sysname, kCodePageUtf8);
  // Digits and dots of the release ("6.1.0-13-amd64" -> "6.1.0"): a version
  // here never names an XP route.
  std::wstring version;
  for (const char* p = names.release; *p && ((*p >= '0' && *p <= '9') || *p == '.'); ++p)
    version.push_back(static_cast<wchar_t>(*p));
  result.version = version.empty() ? L"0.0.0" : version;
  return result;
}

bool Is64BitWindows() {
  utsname names{};
  if (uname(&names) != 0) return sizeof(void*) == 8;
  return std::string(names.machine).find("64") != std::string::npos;
}

bool GetConsoleUserName(std::wstring& name) {
  std::string user;
  if (!LookUpUser(getuid(), user) || user.empty()) return false;
  name = ToWide(user, kCodePageUtf8);
  return true;
}

bool IsAdminAccount(const std::wstring& name) {
  if (name.empty()) return false;
  const std::string user = ToNarrow(name, kCodePageUtf8);
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  return getpwnam_r(user.c_str(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
         found->pw_uid == 0;
}

bool IsProcessAdmin() { return geteuid() == 0; }

std::wstring GetWorkingTempFolder() {
  const char* tmpdir = std::getenv("TMPDIR");
  std::wstring temp = ToWide(tmpdir && *tmpdir ? tmpdir : "/tmp", kCodePageUtf8);
  const std::wstring folder = JoinPath(JoinPath(temp, L"~OrinTemp"), L"");
  if (folder.empty() || folder.back() != L'/') return {};
  const std::string narrow = ToNarrow(folder, kCodePageUtf8);
  struct stat st {};
  if (stat(narrow.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? folder : std::wstring();
  if (mkdir(narrow.c_str(), 0700) == 0) return folder;
  // Another process may have made it in the meantime.
  return errno == EEXIST && stat(narrow.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? folder
                                                                                 : std::wstring();
}

intptr_t ShellOpen(const std::wstring& target, int /*showCommand*/) {
  const std::string opener = FindOnPath("xdg-open");
  if (opener.empty() || target.empty()) return kShellFileNotFound;
  const std::string argument = ToNarrow(target, kCodePageUtf8);

  // The opener runs in a grandchild so that nothing is left to reap; a pipe
  // closed on exec tells whether the exec itself worked.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return kShellOutOfResources;
  const pid_t child = fork();
  if (child < 0) {
    close(report[0]);
    close(report[1]);
    return kShellOutOfResources;
  }
  if (child == 0) {
    const pid_t opener_pid = fork();
    if (opener_pid < 0) {
      const int error = errno;
      (void)!write(report[1], &error, sizeof error);
    } else if (opener_pid == 0) {
      char* const argv[] = {const_cast<char*>(opener.c_str()), const_cast<char*>(argument.c_str()),
                            nullptr};
      execv(opener.c_str(), argv);
      const int error = errno;
      (void)!write(report[1], &error, sizeof error);
    }
    _exit(0);
  }
  close(report[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t n;
  while ((n = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  close(report[0]);
  if (n == 0) return kShellStarted;
  return error == EACCES ? kShellAccessDenied : kShellFileNotFound;
}

bool PumpMessagesFor(void* /*window*/, unsigned milliseconds) {
  // No window messages here: the wait is all there is.
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  return true;
}

}  // namespace Utils
