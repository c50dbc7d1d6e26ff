// Small text helpers of the socket client: fields of a text cut at a separator byte, and
// writing a line to a stream.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace pagelathe {

// The n-th field (from 1) of `text` cut at every `separator`; two adjacent separators enclose
// an empty field; a missing field gives "". NthWord("http://host/dir", '/', 3) == "host".
[[nodiscard]] std::string NthWord(std::string_view text, char separator, int n);

// The position (from 1) of the n-th separator, or the length plus 1 when there are fewer.
// NthPos("http://host/", '/', 3) == 12 and NthPos("http://host", '/', 3) == 12.
[[nodiscard]] int NthPos(std::string_view text, char separator, int n);

// Writes the text and CR LF.
void StreamLn(std::ostream& stream, std::string_view text);

}  // namespace pagelathe
