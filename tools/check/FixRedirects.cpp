// Rewriting permanent redirects in the documents where their links stand.
#include "tools/check/FixRedirects.h"

#include <algorithm>
#include <map>

#include "platform/AtomicFile.h"
#include "platform/FileRead.h"

namespace pagelathe {
namespace {

struct Replacement {
  std::string from;
  std::string to;
};

// A link ends where one of these stands (or the line does): the rest of a longer link that
// merely starts with it is no occurrence of it.
bool EndsLink(char c) {
  return c == '"' || c == '\'' || c == '<' || c == '>' || c == ' ' || c == '\t' || c == ')' ||
         c == ']' || c == ',' || c == '\r' || c == '\n';
}

// The lines of `bytes` with their line ends: [start, end of text, end with the line end).
struct LineSpan {
  size_t start, text_end, end;
};
std::vector<LineSpan> LinesOf(std::string_view bytes) {
  std::vector<LineSpan> lines;
  size_t at = 0;
  while (at < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", at);
    if (end == std::string_view::npos) {
      lines.push_back({at, bytes.size(), bytes.size()});
      break;
    }
    size_t next = end + 1;
    if (bytes[end] == '\r' && next < bytes.size() && bytes[next] == '\n') ++next;
    lines.push_back({at, end, next});
    at = next;
  }
  return lines;
}

// `line` with every whole occurrence of each replacement's text replaced; counts them.
std::string Rewrite(std::string_view line, const std::vector<Replacement>& replacements,
                    int& count) {
  std::string out(line);
  for (const Replacement& r : replacements) {
    std::string next;
    size_t at = 0;
    for (;;) {
      const size_t found = out.find(r.from, at);
      if (found == std::string::npos) break;
      const size_t after = found + r.from.size();
      if (after < out.size() && !EndsLink(out[after])) {
        next.append(out, at, after - at);
      } else {
        next.append(out, at, found - at).append(r.to);
        ++count;
      }
      at = after;
    }
    next.append(out, at, std::string::npos);
    out = std::move(next);
  }
  return out;
}

}  // namespace

std::vector<DocumentFix> PlanRedirectFixes(const LinkSet& links) {
  // document -> line -> what to replace there
  std::map<std::string, std::map<int, std::vector<Replacement>>> plan;
  for (const CheckedLink& link : links) {
    if (link.state != LinkState::kRedirected || !link.permanent || link.final_url.empty() ||
        link.local || link.cached)
      continue;
    // Only links written out in full: a relative link stays relative.
    if (!link.url.starts_with("http://") && !link.url.starts_with("https://")) continue;
    std::string to = link.final_url;
    if (!link.fragment.empty() && to.find('#') == std::string::npos) to += "#" + link.fragment;
    if (to == link.url) continue;
    for (const LinkPlace& place : link.places) {
      const std::string& document = place.document;
      if (document == "-" || document.find("://") != std::string::npos) continue;
      plan[document][place.line].push_back({link.url, to});
    }
  }
  std::vector<DocumentFix> fixes;
  for (auto& [document, lines] : plan) {
    DocumentFix fix;
    fix.document = document;
    fix.before = ReadUserFile(document);
    const std::vector<LineSpan> spans = LinesOf(fix.before);
    for (size_t n = 0; n < spans.size(); ++n) {
      const LineSpan& span = spans[n];
      const std::string_view text =
          std::string_view(fix.before).substr(span.start, span.text_end - span.start);
      const auto found = lines.find(static_cast<int>(n) + 1);
      if (found == lines.end()) {
        fix.after.append(text);
      } else {
        // Longer links first, so that one link that begins another is not replaced in it.
        std::vector<Replacement>& list = found->second;
        std::sort(list.begin(), list.end(), [](const Replacement& a, const Replacement& b) {
          return a.from.size() > b.from.size();
        });
        fix.after.append(Rewrite(text, list, fix.replacements));
      }
      fix.after.append(fix.before, span.text_end, span.end - span.text_end);
    }
    if (fix.replacements > 0) fixes.push_back(std::move(fix));
  }
  return fixes;
}

void ApplyFixes(const std::vector<DocumentFix>& fixes) {
  for (const DocumentFix& fix : fixes) {
    AtomicFile file(fix.document);
    file.Write(fix.after);
    file.Commit();
  }
}

std::string UnifiedDiff(const std::vector<DocumentFix>& fixes) {
  constexpr size_t kContext = 3;
  std::string out;
  for (const DocumentFix& fix : fixes) {
    const std::vector<LineSpan> before = LinesOf(fix.before);
    const std::vector<LineSpan> after = LinesOf(fix.after);
    const auto text = [](const std::string& bytes, const LineSpan& span) {
      return std::string_view(bytes).substr(span.start, span.text_end - span.start);
    };
    // A rewrite changes lines in place, so the two documents have the same lines.
    std::vector<size_t> changed;
    for (size_t n = 0; n < before.size() && n < after.size(); ++n)
      if (text(fix.before, before[n]) != text(fix.after, after[n])) changed.push_back(n);
    if (changed.empty()) continue;
    out += "--- a/" + fix.document + "\n+++ b/" + fix.document + "\n";
    size_t c = 0;
    while (c < changed.size()) {
      const size_t first = changed[c] > kContext ? changed[c] - kContext : 0;
      size_t last_change = c;
      while (last_change + 1 < changed.size() &&
             changed[last_change + 1] <= changed[last_change] + 2 * kContext + 1)
        ++last_change;
      const size_t last = std::min(before.size() - 1, changed[last_change] + kContext);
      const size_t count = last - first + 1;
      out += "@@ -" + std::to_string(first + 1) + "," + std::to_string(count) + " +" +
             std::to_string(first + 1) + "," + std::to_string(count) + " @@\n";
      for (size_t n = first; n <= last; ++n) {
        const bool is_changed = std::binary_search(changed.begin(), changed.end(), n);
        if (is_changed) {
          out.append("-").append(text(fix.before, before[n])).append("\n");
          out.append("+").append(text(fix.after, after[n])).append("\n");
        } else {
          out.append(" ").append(text(fix.before, before[n])).append("\n");
        }
      }
      c = last_change + 1;
    }
  }
  return out;
}

}  // namespace pagelathe
