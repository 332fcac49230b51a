// A child program started hidden, with its standard streams on pipes.
//
// The installer starts other programs (the downloaded setup package and the
// uninstaller of an earlier installation) and follows what they write to
// their standard output. One `Utils::ChildProcess` is created, read, waited
// for and destroyed by one worker thread; it is not shared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace Utils {

// Start-up flags: use the given standard handles, and the given show-window
// value; both callers pass both (0x101) with the hidden value 0.
constexpr uint32_t kStartUseShowWindow = 0x1;
constexpr uint32_t kStartUseStdHandles = 0x100;
constexpr uint16_t kShowHidden = 0;

class ChildProcess {
 public:
  // The command line, its terminating zero included, must fit this many
  // characters.
  static constexpr size_t kCommandLineCapacity = 1024;
  // FollowOutput reads in chunks of at most this many bytes. The report
  // reader joins lines across reads, so the size changes no event; a large
  // one spares a talkative child's reader most of its system calls.
  static constexpr size_t kChunkSize = 64 * 1024;

  // Starts the program named by the first token of `commandLine` (a path with
  // blanks must be quoted; the rest is split by the system's rules), with its
  // standard input on an empty open pipe and its standard output and error on
  // pipes this object reads. Throws Utils::Exception with the empty message
  // when the command line does not fit kCommandLineCapacity, or when a pipe
  // or the process cannot be created; nothing is left open then.
  ChildProcess(const std::wstring& commandLine, uint32_t startupFlags, uint16_t showWindow);
  // Closes every handle and pipe end; neither waits for nor ends the child.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Blocks until the child's standard output delivers data, then copies at
  // most `capacity` bytes into `buffer`. Returns 0 once every holder of the
  // pipe's write end has closed it, or when the read fails.
  size_t ReadOutput(char* buffer, size_t capacity);
  // Waits at most `milliseconds` until ReadOutput would not block: output is
  // waiting or the pipe has ended. Meanwhile reads and discards what the child
  // writes to its standard error, so a chatty child never blocks on it.
  bool WaitForOutput(unsigned milliseconds);
  // True once the child process has ended.
  bool HasExited();
  // Blocks without time limit until the child process has ended.
  void WaitForExit();

 private:
  struct Native;
  struct NativeDeleter {
    void operator()(Native* native) const;
  };
  std::unique_ptr<Native, NativeDeleter> native_;
};

// Follows a child's standard output to its end: hands every chunk read (at
// most kChunkSize bytes) to `onChunk`, pausing only while no output is
// waiting. Ends when the pipe ends, or when the child has exited and the
// output it left in the pipe has been read (a program the child started may
// hold the pipe open long after). Blocks the calling worker thread.
void FollowOutput(ChildProcess& child, const std::function<void(std::string_view chunk)>& onChunk);

}  // namespace Utils
