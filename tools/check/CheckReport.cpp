// The report formats of a link check.
#include "tools/check/CheckReport.h"

#include <stdexcept>
#include <string_view>

namespace pagelathe {
namespace {

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (byte < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string XmlText(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        // XML 1.0 has no place for other control characters.
        out += static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' ? ' ' : c;
    }
  }
  return out;
}

// The Markdown table cell: bars and line breaks would end the cell.
std::string MarkdownCell(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '|')
      out += "\\|";
    else if (c == '\r' || c == '\n')
      out += ' ';
    else
      out += c;
  }
  return out;
}

bool Failed(const CheckedLink& link) {
  return link.state == LinkState::kBroken || link.state == LinkState::kTimeout;
}

}  // namespace

ReportFormat ReportFormatFromName(const std::string& name) {
  if (name == "text") return ReportFormat::kText;
  if (name == "csv") return ReportFormat::kCsv;
  if (name == "json") return ReportFormat::kJson;
  if (name == "junit") return ReportFormat::kJunit;
  if (name == "markdown") return ReportFormat::kMarkdown;
  if (name == "html") return ReportFormat::kHtml;
  throw std::invalid_argument("'" + name + "' is not one of text, csv, json, junit, markdown");
}

std::string OutcomeText(const CheckedLink& link) {
  if (!link.final_url.empty() && link.state == LinkState::kRedirected) return link.final_url;
  return link.message.empty() && !link.final_url.empty() ? link.final_url : link.message;
}

std::string PlacesText(const CheckedLink& link) {
  std::string text;
  for (const LinkPlace& place : link.places) {
    if (!text.empty()) text += ", ";
    text.append(place.document.str()).append(":").append(std::to_string(place.line));
  }
  return text;
}

std::string TextLine(const CheckedLink& link) {
  std::string line = StateName(link.state);
  line.resize(11, ' ');
  line += link.code > 0 ? std::to_string(link.code) : std::string("-");
  line.resize(15, ' ');
  line += link.url;
  const std::string outcome = OutcomeText(link);
  if (!outcome.empty())
    line.append("  ").append(link.state == LinkState::kRedirected ? "-> " : "").append(outcome);
  line.append("  [").append(PlacesText(link)).append("]");
  return line;
}

std::string FormatReport(const LinkSet& links, ReportFormat format,
                         const std::vector<size_t>& order) {
  std::string report;
  WriteReport(links, format, order, [&report](std::string_view piece) { report.append(piece); });
  return report;
}

void WriteReport(const LinkSet& links, ReportFormat format, const std::vector<size_t>& order,
                 const std::function<void(std::string_view)>& write) {
  std::vector<size_t> all;
  const std::vector<size_t>* indexes = &order;
  if (order.empty()) {
    for (size_t i = 0; i < links.size(); ++i)
      if (links[i].checked) all.push_back(i);
    indexes = &all;
  }
  std::string out;
  // The report leaves in pieces of some 64 KiB: a million links need no string of its size.
  const auto flush = [&out, &write](size_t least) {
    if (out.size() < least) return;
    write(out);
    out.clear();
  };
  constexpr size_t kPiece = size_t{64} << 10;
  switch (format) {
    case ReportFormat::kText:
      for (const size_t i : *indexes) {
        out.append(TextLine(links[i])).append("\n");
        flush(kPiece);
      }
      break;
    case ReportFormat::kCsv:
      out = "url,state,code,final_url,message,places\r\n";
      for (const size_t i : *indexes) {
        const CheckedLink& link = links[i];
        out.append(CsvField(link.url)).append(",").append(StateName(link.state)).append(",");
        out.append(std::to_string(link.code)).append(",").append(CsvField(link.final_url));
        out.append(",").append(CsvField(link.message)).append(",");
        out.append(CsvField(PlacesText(link))).append("\r\n");
        flush(kPiece);
      }
      break;
    case ReportFormat::kJson:
      out = "[";
      for (size_t n = 0; n < indexes->size(); ++n) {
        const CheckedLink& link = links[(*indexes)[n]];
        out.append(n == 0 ? "\n" : ",\n");
        out.append("  {\"url\": ").append(JsonString(link.url));
        out.append(", \"state\": \"").append(StateName(link.state)).append("\"");
        out.append(", \"code\": ").append(std::to_string(link.code));
        out.append(", \"final_url\": ").append(JsonString(link.final_url));
        out.append(", \"message\": ").append(JsonString(link.message));
        out.append(", \"places\": [");
        for (size_t p = 0; p < link.places.size(); ++p) {
          if (p > 0) out.append(", ");
          out.append("{\"document\": ").append(JsonString(link.places[p].document.str()));
          out.append(", \"line\": ").append(std::to_string(link.places[p].line)).append("}");
        }
        out.append("]}");
        flush(kPiece);
      }
      out.append(indexes->empty() ? "]\n" : "\n]\n");
      break;
    case ReportFormat::kJunit: {
      size_t failures = 0;
      for (const size_t i : *indexes)
        failures += Failed(links[i]) ? 1 : 0;
      out =
          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites>\n<testsuite name=\"links\" "
          "tests=\"" +
          std::to_string(indexes->size()) + "\" failures=\"" + std::to_string(failures) + "\">\n";
      for (const size_t i : *indexes) {
        const CheckedLink& link = links[i];
        out += "  <testcase classname=\"" + XmlText(PlacesText(link)) + "\" name=\"" +
               XmlText(link.url) + "\"";
        if (Failed(link)) {
          out += ">\n    <failure message=\"" +
                 XmlText(std::string(StateName(link.state)) + ": " + link.message) +
                 "\"/>\n  </testcase>\n";
        } else if (link.state == LinkState::kExcluded) {
          out += ">\n    <skipped/>\n  </testcase>\n";
        } else {
          out += "/>\n";
        }
        flush(kPiece);
      }
      out += "</testsuite>\n</testsuites>\n";
      break;
    }
    case ReportFormat::kMarkdown:
      out = "| State | Code | Link | Result | Found in |\n|---|---|---|---|---|\n";
      for (const size_t i : *indexes) {
        const CheckedLink& link = links[i];
        out += "| " + std::string(StateName(link.state)) + " | " +
               (link.code > 0 ? std::to_string(link.code) : "") + " | " + MarkdownCell(link.url) +
               " | " + MarkdownCell(OutcomeText(link)) + " | " + MarkdownCell(PlacesText(link)) +
               " |\n";
        flush(kPiece);
      }
      break;
    case ReportFormat::kHtml:
      out =
          "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>Link check</title>\n"
          "<style>td,th{padding:2px 8px;text-align:left}.broken,.timeout{color:#b00000}"
          ".blocked{color:#a06000}.redirected{color:#0050a0}.excluded{color:#707070}</style>\n"
          "</head>\n<body>\n<table>\n<tr><th>Link</th><th>State</th><th>Code</th>"
          "<th>Result</th><th>Found in</th></tr>\n";
      for (const size_t i : *indexes) {
        const CheckedLink& link = links[i];
        const std::string state = StateName(link.state);
        out += "<tr class=\"" + state + "\"><td>" + XmlText(link.url) + "</td><td>" + state +
               "</td><td>" + (link.code > 0 ? std::to_string(link.code) : "") + "</td><td>" +
               XmlText(OutcomeText(link)) + "</td><td>" + XmlText(PlacesText(link)) +
               "</td></tr>\n";
        flush(kPiece);
      }
      out += "</table>\n</body>\n</html>\n";
      break;
  }
  flush(1);
}

}  // namespace pagelathe
