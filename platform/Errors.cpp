// Message texts shared by several exceptions.
#include "platform/Errors.h"

#include <algorithm>

namespace pagelathe {

std::string InvalidIntegerMessage(const std::string& text) {
  return "'" + text + "' is not a valid integer value";
}

std::string FailureListMessage(std::string_view heading, const std::vector<std::string>& messages,
                               size_t limit) {
  std::string message(heading);
  const size_t shown = std::min(messages.size(), limit);
  for (size_t i = 0; i < shown; ++i)
    message.append("\n").append(messages[i]);
  if (messages.size() > shown) {
    message.append("\n... and ").append(std::to_string(messages.size() - shown)).append(" more.");
  }
  return message;
}

}  // namespace pagelathe
