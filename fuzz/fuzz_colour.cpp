// Fuzzes the colour edits' rule and the gradient text generator with arbitrary bytes: the rule
// answers a value in range, nothing, or the conversion error; the generator gives one line per
// character (code point after NFC) between its two fixed lines and never divides by zero.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Errors.h"
#include "platform/Letters.h"
#include "tools/colour/GradientText.h"
#include "tools/colour/WebColor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pagelathe;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  try {
    const std::optional<int> part = ColorPartFromText(bytes.substr(0, 16));
    if (part && (*part < 0 || *part > 255)) std::abort();
  } catch (const EConvertError&) {
  }
  if (size < 7) return 0;
  const RgbColor start{data[0], data[1], data[2]};
  const RgbColor end{data[3], data[4], data[5]};
  const int font_size = static_cast<int8_t>(data[6]);
  const std::string text = bytes.substr(7);
  const GradientResult result = BuildGradientText(text, start, end, "Face", font_size);
  const size_t characters = Characters(text).size();
  if (characters == 1) {
    if (!result.Lines.empty() || !result.Glyphs.empty()) std::abort();
    return 0;
  }
  if (result.Lines.size() != characters + 2 || result.Glyphs.size() != characters) std::abort();
  for (const GradientGlyph& glyph : result.Glyphs) {
    const RgbColor& c = glyph.Color;
    for (int value : {c.Red, c.Green, c.Blue})
      if (value < 0 || value > 255) std::abort();
  }
  if (!text.empty() && (result.Glyphs.front().Color != start || result.Glyphs.back().Color != end))
    std::abort();
  return 0;
}
