#include "engine/thread.h"

#include "app/utils_text.h"

namespace Utils {

std::string ThreadDebugName(const std::wstring& name, uint32_t id) {
  if (name.empty()) return "t" + std::to_string(id);
  return ToNarrow(name, kCodePageAnsi);
}

Thread::Thread(Function function, void* argument, std::wstring name)
    : function_(std::move(function)), argument_(argument), name_(std::move(name)) {
  CreateNative();
  if (IsCreated()) {
    debugName_ = ThreadDebugName(name_, id_);
    Name();
  }
}

Thread::~Thread() {
  Join();
  name_.clear();
  function_ = nullptr;
}

void Thread::RunBody(bool cancelled) {
  if (!cancelled && function_) function_(argument_);
}

}  // namespace Utils
