// pagelathe page: the page creator of the Keywords page, its page printed as Save writes it:
// in Windows-1251 when every character has a byte there, else in UTF-8, saying which.
#include "cli/Commands.h"
#include "cli/Input.h"
#include "cli/Output.h"
#include "cli/TextCodes.h"
#include "platform/Product.h"
#include "tools/converter/HtmlPage.h"

namespace pagelathe::cli {

int RunPage(const ParsedArguments& arguments) {
  if (!arguments.Operands().empty())
    throw UsageError("unexpected operand '" + arguments.Operands()[0] + "'");
  const std::optional<std::string> title_text = arguments.Value("title");
  if (!title_text) throw UsageError("no --title given");
  const std::string title = ArgumentText(*title_text);
  const std::string description = ArgumentText(arguments.ValueOr("description", ""));
  const std::string keywords = ArgumentText(arguments.ValueOr("keywords", ""));
  TextList body;
  if (const std::optional<std::string> file = arguments.Value("text"))
    body = SplitLines(ArgumentText(ReadDocument(*file)));
  // The page in the charset it declares, as Save writes it.
  Output output;
  output.Write(
      HtmlPageBytes(BuildHtmlPage(title, keywords, description, kProductCaption, title, body)));
  output.Commit();
  return 0;
}

}  // namespace pagelathe::cli
