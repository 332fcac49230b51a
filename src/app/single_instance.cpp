#include "single_instance.h"

namespace Utils {

SingleInstanceGuard::SingleInstanceGuard(std::wstring name) : name_(std::move(name)) {}

std::wstring SingleInstanceGuard::MutexName() const { return L"D1A547DB89C0BC61_" + name_; }

}  // namespace Utils
