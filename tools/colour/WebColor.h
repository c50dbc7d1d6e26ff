// Colours as the web writes them, and the rule that turns a typed colour part into a value.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pagelathe {

// A colour of three parts, each from 0 to 255.
struct RgbColor {
  int Red = 0;
  int Green = 0;
  int Blue = 0;
  friend bool operator==(const RgbColor&, const RgbColor&) = default;
};

// "#" and two capital hexadecimal digits for each part, red first.
// Example: WebColorCode(10, 11, 171) is "#0A0BAB". Parts outside 0..255 are clamped, so the
// code always has seven characters.
[[nodiscard]] std::string WebColorCode(int red, int green, int blue);
[[nodiscard]] std::string WebColorCode(const RgbColor& color);

// The value that a colour edit's text asks for. An empty text asks for nothing, and so does an
// integer outside 0..255 (the colour keeps its last valid value); any other text that is not
// an integer raises EConvertError. Examples: "25" -> 25, "007" -> 7, "$FF" -> 255,
// "300" -> nothing, "" -> nothing, "-" -> EConvertError.
[[nodiscard]] std::optional<int> ColorPartFromText(std::string_view text);

}  // namespace pagelathe
