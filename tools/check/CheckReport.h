// The reports of a link check: a line per link for a terminal, CSV, JSON, JUnit XML, Markdown
// and the HTML page the window saves. Every report lists the links in the order given.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/check/LinkSet.h"

namespace pagelathe {

enum class ReportFormat { kText, kCsv, kJson, kJunit, kMarkdown, kHtml };

// "text", "csv", "json", "junit", "markdown" (and "html"); raises std::invalid_argument.
[[nodiscard]] ReportFormat ReportFormatFromName(const std::string& name);

// The report of the checked links of `links` whose indexes are `order` (all, when empty).
// JSON is an array of objects with the keys url, state, code, final_url, message, places
// (an array of {"document", "line"}).
[[nodiscard]] std::string FormatReport(const LinkSet& links, ReportFormat format,
                                       const std::vector<size_t>& order = {});

// The same report handed to `write` in pieces of some 64 KiB, in order: what a report of a
// million links is written with.
void WriteReport(const LinkSet& links, ReportFormat format, const std::vector<size_t>& order,
                 const std::function<void(std::string_view)>& write);

// One line of the text report: state, code, URL, final URL or message, places.
[[nodiscard]] std::string TextLine(const CheckedLink& link);

// What the window and the text report show after the state: the final URL of a redirect,
// else the message.
[[nodiscard]] std::string OutcomeText(const CheckedLink& link);

// "doc.html:12, other.html:3".
[[nodiscard]] std::string PlacesText(const CheckedLink& link);

}  // namespace pagelathe
