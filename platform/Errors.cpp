// Message texts shared by several exceptions.
#include "platform/Errors.h"

namespace pagelathe {

std::string InvalidIntegerMessage(const std::string& text) {
  return "'" + text + "' is not a valid integer value";
}

}  // namespace pagelathe
