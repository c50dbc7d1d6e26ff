// Field helpers of the socket client.
#include "net/NetWords.h"

namespace pagelathe {

std::string NthWord(std::string_view text, char separator, int n) {
  if (n < 1) return {};
  size_t start = 0;
  for (int field = 1; field < n; ++field) {
    const size_t next = text.find(separator, start);
    if (next == std::string_view::npos) return {};
    start = next + 1;
  }
  const size_t end = text.find(separator, start);
  return std::string(text.substr(start, end == std::string_view::npos ? end : end - start));
}

int NthPos(std::string_view text, char separator, int n) {
  int seen = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == separator && ++seen == n) return static_cast<int>(i) + 1;
  }
  return static_cast<int>(text.size()) + 1;
}

void StreamLn(std::ostream& stream, std::string_view text) {
  stream.write(text.data(), static_cast<std::streamsize>(text.size()));
  stream.write("\r\n", 2);
}

}  // namespace pagelathe
