// The converter's text rules on whole texts; HTML to text is the stream's (HtmlTextStream).
#include "tools/converter/HtmlText.h"

#include "tools/converter/HtmlTextStream.h"

namespace pagelathe {

std::string ConvertBaseName(std::string_view name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  return std::string(name.substr(0, dot));
}

std::string JoinedText(std::string_view bytes) {
  std::string joined;
  LineJoiner().Feed(bytes, joined);
  return joined;
}

std::string HtmlToText(std::string_view joined, std::string_view separator) {
  HtmlTextStream stream(separator);
  std::string text;
  text.reserve(joined.size() + joined.size() / 16 + 16);
  stream.FeedJoined(joined, text);
  stream.Finish(text);
  return text;
}

TextList CutToWidth(std::string_view text, int width) {
  if (width <= 0 || text.size() < static_cast<size_t>(width)) return {std::string(text)};
  const size_t step = static_cast<size_t>(width);
  TextList lines;
  lines.reserve(text.size() / step + 1);
  for (size_t at = 0; at < text.size(); at += step)
    lines.emplace_back(text.substr(at, step));
  return lines;
}

}  // namespace pagelathe
