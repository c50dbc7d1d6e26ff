// The exceptions of the program. Every error that reaches a handler's caller is one of these
// (or a std::exception); the GUI shows its message text in a message box and goes on.
#pragma once

#include <stdexcept>
#include <string>

namespace pagelathe {

// The general exception: a message text and nothing else.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// A text that should have been a number: "'%s' is not a valid integer value".
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// A file could not be read or written; the message names the file.
class EFileError : public Exception {
 public:
  using Exception::Exception;
};

// Formats the conversion error for `text`, exactly as the original words it.
[[nodiscard]] std::string InvalidIntegerMessage(const std::string& text);

}  // namespace pagelathe
