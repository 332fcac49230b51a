#include <windows.h>

#include <algorithm>
#include <vector>

#include "app/utils_exception.h"
#include "engine/child_process.h"

namespace Utils {

namespace {

void CloseIfOpen(HANDLE& handle) {
  if (handle) CloseHandle(handle);
  handle = nullptr;
}

struct Pipe {
  HANDLE read = nullptr;
  HANDLE write = nullptr;
  bool Create() {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    return CreatePipe(&read, &write, &sa, 0) != 0;
  }
  void Close() {
    CloseIfOpen(read);
    CloseIfOpen(write);
  }
};

// Bytes waiting in a pipe; false when the pipe has ended or failed.
bool BytesWaiting(HANDLE pipe, DWORD& count) {
  count = 0;
  return PeekNamedPipe(pipe, nullptr, 0, nullptr, &count, nullptr) != 0;
}

}  // namespace

struct ChildProcess::Native {
  Pipe error, output, input;
  PROCESS_INFORMATION process{};
  wchar_t commandLine[kCommandLineCapacity] = {};

  ~Native() {
    CloseIfOpen(process.hProcess);
    CloseIfOpen(process.hThread);
    error.Close();
    output.Close();
    input.Close();
  }
};

void ChildProcess::NativeDeleter::operator()(Native* native) const { delete native; }

ChildProcess::ChildProcess(const std::wstring& commandLine, uint32_t startupFlags,
                           uint16_t showWindow)
    : native_(new Native) {
  // A line that does not fit the buffer is refused, never cut.
  if (commandLine.size() >= kCommandLineCapacity) throw Exception(L"");
  Native& n = *native_;

  // 1. The standard-error, standard-output and standard-input pipes, in this
  //    order, with inheritable handles; on failure the destructor of native_
  //    closes whatever was made.
  if (!n.error.Create() || !n.output.Create() || !n.input.Create()) throw Exception(L"");

  // 2. The process is created from a writable copy of the command line.
  std::copy(commandLine.begin(), commandLine.end(), n.commandLine);

  // 3. The child's ends become its standard handles.
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = startupFlags;
  startup.wShowWindow = showWindow;
  startup.hStdInput = n.input.read;
  startup.hStdOutput = n.output.write;
  startup.hStdError = n.error.write;

  // 4. The parent's own ends are not inherited, so the child holds only its
  //    three.
  SetHandleInformation(n.output.read, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(n.error.read, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(n.input.write, HANDLE_FLAG_INHERIT, 0);

  // 5. No separate application name: the program is the first token of the
  //    command line. The hidden show-window value also hides the console
  //    window that a console program gets.
  if (!CreateProcessW(nullptr, n.commandLine, nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &n.process)) {
    throw Exception(L"");
  }

  // 6. Close the parent's copies of the child's ends: otherwise reads of the
  //    output would never fail once the child is gone.
  CloseIfOpen(n.error.write);
  CloseIfOpen(n.output.write);
  CloseIfOpen(n.input.read);
}

ChildProcess::~ChildProcess() = default;

size_t ChildProcess::ReadOutput(char* buffer, size_t capacity) {
  DWORD read = 0;
  const DWORD size = static_cast<DWORD>(std::min<size_t>(capacity, MAXDWORD));
  if (!ReadFile(native_->output.read, buffer, size, &read, nullptr)) return 0;
  return read;
}

bool ChildProcess::WaitForOutput(unsigned milliseconds) {
  // Anonymous pipes cannot be waited on, so both are looked at in short
  // steps; each step ends early when the child exits.
  constexpr DWORD kStep = 10;
  Native& n = *native_;
  const DWORD start = GetTickCount();
  for (;;) {
    const bool exited = WaitForSingleObject(n.process.hProcess, 0) == WAIT_OBJECT_0;
    DWORD waiting = 0;
    if (n.error.read) {
      if (!BytesWaiting(n.error.read, waiting)) {
        CloseIfOpen(n.error.read);  // the error stream has ended
      } else if (waiting > 0) {
        char discard[4096];
        DWORD got = 0;
        ReadFile(n.error.read, discard, std::min<DWORD>(waiting, sizeof discard), &got, nullptr);
      }
    }
    if (!BytesWaiting(n.output.read, waiting) || waiting > 0) return true;
    // Everything an exited child wrote is already in the pipe.
    if (exited) return false;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= milliseconds) return false;
    WaitForSingleObject(n.process.hProcess, std::min<DWORD>(kStep, milliseconds - elapsed));
  }
}

bool ChildProcess::HasExited() {
  // The process handle is signalled at the end; unlike the exit code, this
  // cannot mistake a child that returned 259 for a running one.
  return WaitForSingleObject(native_->process.hProcess, 0) == WAIT_OBJECT_0;
}

void ChildProcess::WaitForExit() { WaitForSingleObject(native_->process.hProcess, INFINITE); }

}  // namespace Utils
