// The gradient text generator.
#include "tools/colour/GradientText.h"

#include "platform/IntParse.h"
#include "platform/Letters.h"

namespace pagelathe {
namespace {

// 64-bit steps give the same values as 32-bit ones for every text that fits in 32 bits, and
// cannot overflow for longer ones.
long long Step(long long from, long long to, long long t, long long span) {
  return from - ((from - to) * t) / span;  // C++ division truncates toward zero
}

}  // namespace

RgbColor GradientColorAt(const RgbColor& start, const RgbColor& end, long long length,
                         long long index) {
  if (length < 2) return start;
  const long long t = index - 1;
  const long long span = length - 1;
  return {static_cast<int>(Step(start.Red, end.Red, t, span)),
          static_cast<int>(Step(start.Green, end.Green, t, span)),
          static_cast<int>(Step(start.Blue, end.Blue, t, span))};
}

GradientResult BuildGradientText(const std::string& text, const RgbColor& start,
                                 const RgbColor& end, const std::string& face, int size) {
  GradientResult result;
  std::vector<std::string> characters = Characters(text);
  const auto n = static_cast<long long>(characters.size());
  if (n == 1) return result;
  result.PreviewPointSize = 2 * size;
  result.Lines.reserve(characters.size() + 2);
  result.Glyphs.reserve(characters.size());
  result.Lines.push_back("<p align=center><font face=\"" + face + "\" size=\"" + IntToStr(size) +
                         "\">");
  for (long long i = 1; i <= n; ++i) {
    std::string& character = characters[static_cast<size_t>(i - 1)];
    const RgbColor color = GradientColorAt(start, end, n, i);
    if (character == " ") {
      result.Lines.push_back("&nbsp;");
    } else {
      std::string line;
      line.reserve(32);  // the whole line in one allocation
      line += "<font color=\"";
      line += WebColorCode(color);
      line += "\">";
      line += character;
      line += "</font>";
      result.Lines.push_back(std::move(line));
    }
    result.Glyphs.push_back({std::move(character), 2LL * size * i + 10, 10, color});
  }
  result.Lines.push_back("</font>");
  return result;
}

}  // namespace pagelathe
