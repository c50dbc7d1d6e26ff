// The HTML page template shared by the converter (text to HTML) and the page creator, and the
// rule every page the program writes keeps: it says the charset its bytes are in.
#pragma once

#include <string>
#include <string_view>

#include "platform/TextList.h"

namespace pagelathe {

// The template's content-type line, and its twin for a page written in UTF-8.
inline constexpr std::string_view kCharsetLine1251 =
    "<meta http-equiv='Content-Type' content='text/html; charset=windows-1251'>";
inline constexpr std::string_view kCharsetLineUtf8 =
    "<meta http-equiv='Content-Type' content='text/html; charset=utf-8'>";

// The lines of a complete page: head with the content type, title, keywords, description
// ("About " + description), the fixed META lines and the generator; a body with the heading
// and one "<br>" line per body line. Nothing is escaped: "<" and "&" pass as they are. The
// content type is the template's charset=windows-1251 when every character of the page has a
// Windows-1251 byte, else charset=utf-8 (HtmlPageBytes writes it so).
// Example: BuildHtmlPage("T", "k", "d", "G", "H", {"x"}) has 23 lines, line 19 "<br>x".
[[nodiscard]] TextList BuildHtmlPage(const std::string& title, const std::string& keywords,
                                     const std::string& description, const std::string& generator,
                                     const std::string& heading, const TextList& body_lines);

// The page in three parts, for a body written while it is read: the lines before the body
// lines (through the empty line after the heading) and the lines after them.
[[nodiscard]] TextList HtmlPageHead(const std::string& title, const std::string& keywords,
                                    const std::string& description, const std::string& generator,
                                    const std::string& heading);
[[nodiscard]] TextList HtmlPageTail();

// The bytes of a page (UTF-8 lines, each followed by CR LF): Windows-1251 when every character
// has a byte there, else UTF-8; a content-type line of the template (either twin) is set to
// say which, so a browser decodes the page back to its text.
[[nodiscard]] std::string HtmlPageBytes(TextList page);

}  // namespace pagelathe
