// The page template, line by line.
#include "tools/converter/HtmlPage.h"

namespace pagelathe {

TextList BuildHtmlPage(const std::string& title, const std::string& keywords,
                       const std::string& description, const std::string& generator,
                       const std::string& heading, const TextList& body_lines) {
  TextList page;
  page.reserve(21 + body_lines.size());
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
  for (const auto& line : body_lines)
    page.push_back("<br>" + line);
  page.push_back("");
  page.push_back("</BODY>");
  page.push_back("</HTML>");
  return page;
}

}  // namespace pagelathe
