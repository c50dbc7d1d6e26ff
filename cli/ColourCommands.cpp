// pagelathe color and pagelathe gradient: the Web Color code and the Gradient Text lines.
#include "cli/Commands.h"
#include "cli/Output.h"
#include "cli/TextCodes.h"
#include "platform/IntParse.h"
#include "tools/colour/GradientText.h"
#include "tools/colour/WebColor.h"

namespace pagelathe::cli {
namespace {

int ColourPart(const std::string& what, const std::string& text) {
  const std::optional<int> value = ParseInteger(text);
  if (!value) throw UsageError(what + ": '" + text + "' is not a valid integer value");
  if (*value < 0 || *value > 255) throw UsageError(what + ": " + text + " is not from 0 to 255");
  return *value;
}

// "R,G,B", each part from 0 to 255.
RgbColor ColourOption(const ParsedArguments& arguments, const std::string& option,
                      RgbColor fallback) {
  const std::optional<std::string> text = arguments.Value(option);
  if (!text) return fallback;
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t comma = text->find(',', start);
    parts.push_back(text->substr(start, comma == std::string::npos ? comma : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  const std::string what = "option --" + option;
  if (parts.size() != 3) throw UsageError(what + ": '" + *text + "' is not R,G,B");
  return {ColourPart(what, parts[0]), ColourPart(what, parts[1]), ColourPart(what, parts[2])};
}

}  // namespace

int RunColor(const ParsedArguments& arguments) {
  const std::vector<std::string>& parts = arguments.Operands();
  if (parts.size() != 3) throw UsageError("give R G B, three numbers from 0 to 255");
  Output output;
  output.Write(WebColorCode(ColourPart("red", parts[0]), ColourPart("green", parts[1]),
                            ColourPart("blue", parts[2])) +
               "\n");
  output.Commit();
  return 0;
}

int RunGradient(const ParsedArguments& arguments) {
  const std::vector<std::string>& operands = arguments.Operands();
  if (operands.size() != 1)
    throw UsageError(operands.empty() ? "no TEXT given" : "one TEXT only (quote it)");
  // The page's start and end colours: green to blue.
  const RgbColor from = ColourOption(arguments, "from", {0, 255, 0});
  const RgbColor to = ColourOption(arguments, "to", {0, 0, 255});
  const std::string face = ArgumentText(arguments.ValueOr("face", "Arial"));
  const int size = arguments.IntValue("size").value_or(6);
  const GradientResult result = BuildGradientText(ArgumentText(operands[0]), from, to, face, size);
  Output output;
  for (const std::string& line : result.Lines)
    output.Write(line + "\n");
  output.Commit();
  return 0;
}

}  // namespace pagelathe::cli
