// The exception type of the utility layer. Only the start of a child program
// throws it; its runner catches it and reports a failed start.
#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace Utils {

class Exception : public std::exception {
 public:
  // Keeps `message` converted to the system's ANSI code page.
  explicit Exception(std::wstring_view message);
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  std::string description_;
};

}  // namespace Utils
