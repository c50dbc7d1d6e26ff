// The page template, line by line, and the charset a page is written in.
#include "tools/converter/HtmlPage.h"

#include "platform/Utf8.h"
#include "platform/Win1251.h"

namespace pagelathe {
namespace {

bool FitsAll(const TextList& lines) {
  for (const auto& line : lines)
    if (!FitsWin1251(line)) return false;
  return true;
}

// Points every content-type line of the template at `charset_line`.
void SayCharset(TextList& page, std::string_view charset_line) {
  for (auto& line : page)
    if (line == kCharsetLine1251 || line == kCharsetLineUtf8) line = charset_line;
}

}  // namespace

TextList HtmlPageHead(const std::string& title, const std::string& keywords,
                      const std::string& description, const std::string& generator,
                      const std::string& heading) {
  TextList page;
  page.reserve(24);
  page.push_back("<HTML>");
  page.push_back("<HEAD>");
  page.emplace_back(kCharsetLine1251);
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
  if (!FitsAll(page)) page[2] = kCharsetLineUtf8;
  return page;
}

std::string HtmlPageBytes(TextList page) {
  if (FitsAll(page)) {
    SayCharset(page, kCharsetLine1251);
    std::string bytes;
    if (Utf8ToWin1251(JoinLines(page), bytes)) return bytes;  // it fits: FitsAll said so
  }
  SayCharset(page, kCharsetLineUtf8);
  return JoinLines(page);
}

}  // namespace pagelathe
