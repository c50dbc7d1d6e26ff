// pagelathe page: the page creator of the Keywords page, its page printed as Save writes it.
#include "cli/Commands.h"
#include "cli/Input.h"
#include "cli/Output.h"
#include "cli/TextCodes.h"
#include "tools/converter/HtmlPage.h"

namespace pagelathe::cli {

int RunPage(const ParsedArguments& arguments) {
  if (!arguments.Operands().empty())
    throw UsageError("unexpected operand '" + arguments.Operands()[0] + "'");
  const std::optional<std::string> title_text = arguments.Value("title");
  if (!title_text) throw UsageError("no --title given");
  bool utf8 = false;
  const auto letters = [&utf8](std::string bytes) {
    LetterText text = ToLetterText(std::move(bytes));
    utf8 = utf8 || text.utf8;
    return std::move(text.text);
  };
  const std::string title = letters(*title_text);
  const std::string description = letters(arguments.ValueOr("description", ""));
  const std::string keywords = letters(arguments.ValueOr("keywords", ""));
  TextList body;
  if (const std::optional<std::string> file = arguments.Value("text"))
    body = SplitLines(letters(ReadDocument(*file)));
  const TextList page = BuildHtmlPage(title, keywords, description, ProductCaption(), title, body);
  Output output;
  output.Write(ForOutput(JoinLines(page), utf8));
  output.Commit();
  return 0;
}

}  // namespace pagelathe::cli
