// Integer parsing with the original's rules and its conversion error.
#include "platform/IntParse.h"

#include <cstdint>

#include "platform/Errors.h"

namespace pagelathe {

std::optional<int> ParseInteger(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < text.size() && text[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= text.size()) return std::nullopt;
  uint64_t value = 0;
  const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
    if (value > limit) return std::nullopt;
  }
  // Hexadecimal fills all 32 bits, so "$FFFFFFFF" is -1 as in the original.
  int64_t signed_value =
      hex ? static_cast<int32_t>(static_cast<uint32_t>(value)) : static_cast<int64_t>(value);
  if (negative) signed_value = -signed_value;
  return static_cast<int>(static_cast<int32_t>(signed_value));
}

int StrToInt(std::string_view text) {
  if (auto value = ParseInteger(text)) return *value;
  throw EConvertError(InvalidIntegerMessage(std::string(text)));
}

int StrToIntDef(std::string_view text, int fallback) {
  return ParseInteger(text).value_or(fallback);
}

std::string IntToStr(long long value) {
  return std::to_string(value);
}

}  // namespace pagelathe
