// Worker threads. Every long operation of the installer runs on a thread of
// its own, off the window thread: the package download, the setup package
// run, the removal of an earlier installation, the network check and the
// product-information request.
//
// A `Utils::Thread` is created suspended and runs its function only once its
// owner calls Resume(). All operations are called by the owning thread; the
// new thread only runs the stored function with the stored argument.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace Utils {

class Thread {
 public:
  using Function = std::function<uint32_t(void* argument)>;

  // Creates the thread suspended with the default stack size and gives it a
  // name that debuggers show: `name`, or "t" and the decimal thread id when
  // `name` is empty. When the system cannot create the thread the object
  // holds none, and nothing ever runs.
  Thread(Function function, void* argument, std::wstring name);
  // Like Join().
  ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // Lets the suspended thread run; true unless there is no thread or the
  // system refused. Resuming a running thread again changes nothing.
  bool Resume();
  // True while the object holds a thread.
  bool IsCreated() const;
  // Blocks until the thread has ended, then releases it and sets the id to
  // all bits set. A thread that was never resumed ends at once without
  // running its function.
  void Join();
  // The system's id of the thread; all bits set when there is none.
  uint32_t Id() const { return id_; }
  // The name announced to debuggers (ANSI code page).
  const std::string& DebugName() const { return debugName_; }

 private:
  struct Native;
  struct NativeDeleter {
    void operator()(Native* native) const;
  };
  // The body of the new thread: runs the function unless the thread was
  // discarded before it was ever resumed. The function's result is dropped.
  void RunBody(bool cancelled);
  // Platform parts: create the suspended thread and set id_; announce the name.
  void CreateNative();
  void Name();

  uint32_t id_ = UINT32_MAX;
  Function function_;
  void* argument_;
  std::wstring name_;
  std::string debugName_;
  std::unique_ptr<Native, NativeDeleter> native_;
};

// The system's id of the calling thread.
uint32_t CurrentThreadId();

// The name a thread is announced under: `name` in the ANSI code page, or "t"
// and the decimal id when `name` is empty.
std::string ThreadDebugName(const std::wstring& name, uint32_t id);

}  // namespace Utils
