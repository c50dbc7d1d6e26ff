// HtmlToText against the plain nine passes it stands for, and CutToWidth against its own
// promises: the lines put back together are the text, and every line but the last is full.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "textlib/Dizerezez.h"
#include "tools/converter/HtmlText.h"

namespace {

std::string ReplaceAll(const std::string& text, std::string_view found, std::string_view by) {
  std::string out;
  size_t at = 0;
  for (size_t hit; (hit = text.find(found, at)) != std::string::npos; at = hit + found.size()) {
    out.append(text, at, hit - at);
    out += by;
  }
  out.append(text, at, std::string::npos);
  return out;
}

std::string NinePasses(std::string text, std::string_view separator) {
  text = ReplaceAll(text, "<p>", "\r\n\r\n");
  text = ReplaceAll(text, "<P>", "\r\n\r\n");
  text = ReplaceAll(text, "<br>", "\r\n");
  text = ReplaceAll(text, "<BR>", "\r\n");
  text = ReplaceAll(text, "<ol>", "\r\n");
  text = ReplaceAll(text, "<ul>", "\r\n");
  text = ReplaceAll(text, "<li>", "\r\n * ");
  text = ReplaceAll(text, "&nbsp;", "");
  text = ReplaceAll(text, "<hr>", "\r\n\r\n" + std::string(separator) + "\r\n");
  return pagelathe::DelDoubBlank(pagelathe::DeleteTag(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the width and the separator; the rest is the text.
  const int width = static_cast<int8_t>(data[0]);
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string_view separator = (data[0] & 1) ? "----------" : "<hr>";

  if (pagelathe::HtmlToText(text, separator) != NinePasses(text, separator)) std::abort();

  const pagelathe::TextList lines = pagelathe::CutToWidth(text, width);
  std::string joined;
  for (const auto& line : lines)
    joined += line;
  if (joined != text || lines.empty()) std::abort();
  if (width > 0) {
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
      if (lines[i].size() != static_cast<size_t>(width)) std::abort();
    }
    if (lines.back().size() > static_cast<size_t>(width)) std::abort();
  } else if (lines.size() != 1) {
    std::abort();
  }
  return 0;
}
