// POSIX threads have no suspended start: the new thread waits at a gate until
// Resume() opens it, or until Join() discards it before it was ever resumed.
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>

#include "engine/thread.h"

namespace Utils {

struct Thread::Native {
  enum class Gate { Closed, Run, Discard };

  pthread_t handle{};
  std::mutex mutex;
  std::condition_variable changed;
  bool idKnown = false;
  uint32_t id = 0;
  Gate gate = Gate::Closed;
};

void Thread::NativeDeleter::operator()(Native* native) const { delete native; }

uint32_t CurrentThreadId() { return static_cast<uint32_t>(syscall(SYS_gettid)); }

void Thread::CreateNative() {
  auto native = std::make_unique<Native>();
  Native* n = native.get();
  native_.reset(native.release());
  struct Start {
    static void* Run(void* p) {
      auto* thread = static_cast<Thread*>(p);
      Native& nat = *thread->native_;
      Native::Gate gate;
      {
        std::unique_lock<std::mutex> lock(nat.mutex);
        nat.id = CurrentThreadId();
        nat.idKnown = true;
        nat.changed.notify_all();
        nat.changed.wait(lock, [&] { return nat.gate != Native::Gate::Closed; });
        gate = nat.gate;
      }
      thread->RunBody(gate == Native::Gate::Discard);
      return nullptr;
    }
  };
  if (pthread_create(&n->handle, nullptr, &Start::Run, this) != 0) {
    native_.reset();
    return;
  }
  std::unique_lock<std::mutex> lock(n->mutex);
  n->changed.wait(lock, [&] { return n->idKnown; });
  id_ = n->id;
}

void Thread::Name() {
  // The system keeps at most 15 bytes of a thread name.
  pthread_setname_np(native_->handle, debugName_.substr(0, 15).c_str());
}

bool Thread::IsCreated() const { return native_ != nullptr; }

bool Thread::Resume() {
  if (!native_) return false;
  std::lock_guard<std::mutex> lock(native_->mutex);
  if (native_->gate == Native::Gate::Closed) native_->gate = Native::Gate::Run;
  native_->changed.notify_all();
  return true;
}

void Thread::Join() {
  if (!native_) return;
  {
    std::lock_guard<std::mutex> lock(native_->mutex);
    if (native_->gate == Native::Gate::Closed) native_->gate = Native::Gate::Discard;
    native_->changed.notify_all();
  }
  pthread_join(native_->handle, nullptr);
  native_.reset();
  id_ = UINT32_MAX;
}

}  // namespace Utils
