// Web colour codes and the range rule of the colour edits.
#include "tools/colour/WebColor.h"

#include <algorithm>

#include "platform/IntParse.h"

namespace pagelathe {

std::string WebColorCode(int red, int green, int blue) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string code = "#";
  for (int part : {red, green, blue}) {
    part = std::clamp(part, 0, 255);
    code += kDigits[part / 16];
    code += kDigits[part % 16];
  }
  return code;
}

std::string WebColorCode(const RgbColor& color) {
  return WebColorCode(color.Red, color.Green, color.Blue);
}

std::optional<int> ColorPartFromText(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const int value = StrToInt(text);
  if (value < 0 || value > 255) return std::nullopt;
  return value;
}

}  // namespace pagelathe
