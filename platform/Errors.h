// The exceptions of the program. Every error that reaches a handler's caller is one of these
// (or a std::exception); the GUI shows its message text in a message box and goes on.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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

// One message for many failures, as a job shows its skipped files at the end: `heading`, then
// one line per message, at most `limit` of them, and a last line counting the others.
// Example: ("Not read:", {"a", "b", "c"}, 2) gives "Not read:\na\nb\n... and 1 more."
[[nodiscard]] std::string FailureListMessage(std::string_view heading,
                                             const std::vector<std::string>& messages,
                                             size_t limit = 20);

}  // namespace pagelathe
