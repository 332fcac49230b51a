#include "utils_exception.h"

#include "utils_text.h"

namespace Utils {

Exception::Exception(std::wstring_view message)
    : description_(ToNarrow(message, kCodePageAnsi)) {}

}  // namespace Utils
