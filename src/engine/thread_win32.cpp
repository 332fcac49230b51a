#include <windows.h>

#include <atomic>

#include "engine/thread.h"

namespace Utils {

struct Thread::Native {
  HANDLE handle = nullptr;
  bool resumed = false;
  // Set before a never-resumed thread is let go, so that it ends at once.
  std::atomic<bool> discard{false};
};

namespace {

// The debugger thread-naming exception and its information record.
constexpr DWORD kSetThreadNameException = 0x406D1388;

#pragma pack(push, 8)
struct ThreadNameInfo {
  DWORD type;        // 0x1000
  LPCSTR name;
  DWORD threadId;
  DWORD flags;       // 0
};
#pragma pack(pop)

// Swallows the naming exception when no debugger took it first. A vectored
// handler plays the part of the __except block that GCC cannot write; it is
// installed once for the process and touches no other exception.
LONG CALLBACK SwallowThreadName(EXCEPTION_POINTERS* info) {
  if (info->ExceptionRecord->ExceptionCode == kSetThreadNameException)
    return EXCEPTION_CONTINUE_EXECUTION;
  return EXCEPTION_CONTINUE_SEARCH;
}

void AnnounceThreadName(HANDLE thread, DWORD id, const std::string& name,
                        const std::wstring& wideName) {
  // Newer systems keep a description that debuggers and crash dumps read
  // without the exception; it is looked up because older systems lack it.
  using SetDescription = HRESULT(WINAPI*)(HANDLE, PCWSTR);
  static const auto setDescription = reinterpret_cast<SetDescription>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetThreadDescription")));
  if (setDescription) {
    const std::wstring description = wideName.empty() ? std::wstring(name.begin(), name.end()) : wideName;
    setDescription(thread, description.c_str());
  }
  static PVOID handler = AddVectoredExceptionHandler(1, SwallowThreadName);
  if (!handler) return;  // without a handler the exception would end the process
  ThreadNameInfo info{0x1000, name.c_str(), id, 0};
  RaiseException(kSetThreadNameException, 0, sizeof info / sizeof(ULONG_PTR),
                 reinterpret_cast<const ULONG_PTR*>(&info));
}

}  // namespace

void Thread::NativeDeleter::operator()(Native* native) const { delete native; }

uint32_t CurrentThreadId() { return GetCurrentThreadId(); }

void Thread::CreateNative() {
  native_.reset(new Native);
  struct Start {
    static DWORD WINAPI Run(void* p) {
      auto* thread = static_cast<Thread*>(p);
      thread->RunBody(thread->native_->discard.load());
      return 0;
    }
  };
  DWORD id = 0;
  native_->handle = CreateThread(nullptr, 0, &Start::Run, this, CREATE_SUSPENDED, &id);
  if (!native_->handle) {
    native_.reset();
    return;
  }
  id_ = id;
}

void Thread::Name() { AnnounceThreadName(native_->handle, id_, debugName_, name_); }

bool Thread::IsCreated() const { return native_ != nullptr; }

bool Thread::Resume() {
  if (!native_) return false;
  if (native_->resumed) return true;
  if (ResumeThread(native_->handle) == static_cast<DWORD>(-1)) return false;
  native_->resumed = true;
  return true;
}

void Thread::Join() {
  if (!native_) return;
  if (!native_->resumed) {
    // Never resumed: let it run just far enough to end without the function.
    native_->discard = true;
    ResumeThread(native_->handle);
  }
  WaitForSingleObject(native_->handle, INFINITE);
  CloseHandle(native_->handle);
  native_.reset();
  id_ = UINT32_MAX;
}

}  // namespace Utils
