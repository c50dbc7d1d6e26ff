// The HTML page template shared by the converter (text to HTML) and the page creator.
#pragma once

#include <string>

#include "platform/TextList.h"

namespace pagelathe {

// The lines of a complete page: head with the content type, title, keywords, description
// ("About " + description), the fixed META lines and the generator; a body with the heading
// and one "<br>" line per body line. Nothing is escaped: "<" and "&" pass as they are.
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

}  // namespace pagelathe
