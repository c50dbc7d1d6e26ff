// Texts from the command line.
#include "cli/TextCodes.h"

#include "platform/Utf8.h"

namespace pagelathe::cli {

std::string ArgumentText(std::string bytes) {
  return DecodeText(std::move(bytes));
}

}  // namespace pagelathe::cli
