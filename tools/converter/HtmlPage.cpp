// The page template, line by line.
#include "tools/converter/HtmlPage.h"

namespace pagelathe {

TextList HtmlPageHead(const std::string& title, const std::string& keywords,
                      const std::string& description, const std::string& generator,
                      const std::string& heading) {
  TextList page;
  page.reserve(24);
  page.push_back("<HTML>");
  page.push_back("<HEAD>");
  page.push_back("<meta http-equiv='Content-Type' content='text/html; charset=windows-1251'>");
  page.push_back("<TITLE>" + title + "</TITLE>");
  page.push_back("<META name=\"keywords\" content=\"" + keywords + "\">");
  page.push_back("<META name=\"description\" content=\"About " + description + "\">");
  page.push_back("<META HTTP-EQUIV='pragma' CONTENT='no-cache'>");
  page.push_back("<META HTTP-EQUIV='cache-control' CONTENT='no-cache'>");
  page.push_back("<META HTTP-EQUIV='expires' CONTENT='0'>");
  page.push_back("<META NAME='robots' CONTENT='ALL,INDEX,FOLLOW'>");
  page.push_back("<META NAME='resource-type' CONTENT='document'>");
  page.push_back("<META NAME='revisit-after' CONTENT='7 days'>");
  page.push_back("<META name=\"generator\" content=\"" + generator + "\">");
  page.push_back("</HEAD>");
  page.push_back("<BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\" LINK=\"#0000FF\" VLINK=\"#800080\">");
  page.push_back("");
  page.push_back("<h2 align=center>" + heading + "</h2>");
  page.push_back("");
  return page;
}

TextList HtmlPageTail() {
  return {"", "</BODY>", "</HTML>"};
}

TextList BuildHtmlPage(const std::string& title, const std::string& keywords,
                       const std::string& description, const std::string& generator,
                       const std::string& heading, const TextList& body_lines) {
  TextList page = HtmlPageHead(title, keywords, description, generator, heading);
  page.reserve(page.size() + body_lines.size() + 3);
  for (const auto& line : body_lines)
    page.push_back("<br>" + line);
  for (std::string& line : HtmlPageTail())
    page.push_back(std::move(line));
  return page;
}

}  // namespace pagelathe
