// Integer texts as the original reads them: an optional "+" or "-", then decimal digits, or
// hexadecimal digits after "$" or "0x". Nothing else: no blanks, no trailing letters.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pagelathe {

// The value of `text`, or nothing when it is not an integer of 32 bits.
// Examples: "42" -> 42, "-7" -> -7, "$1F" -> 31, "0x10" -> 16, "12abc" -> nothing, "" -> nothing.
[[nodiscard]] std::optional<int> ParseInteger(std::string_view text);

// As ParseInteger, but a bad text raises EConvertError "'<text>' is not a valid integer value".
[[nodiscard]] int StrToInt(std::string_view text);

// As ParseInteger, with a default for bad texts.
[[nodiscard]] int StrToIntDef(std::string_view text, int fallback);

// Decimal text of a number.
[[nodiscard]] std::string IntToStr(long long value);

}  // namespace pagelathe
