// Fuzz target: the HTML attribute scanner of the link check on any bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/check/HtmlScan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view html(reinterpret_cast<const char*>(data), size);
  int last_line = 1;
  pagelathe::ScanHtmlAttributes(html, [&](const pagelathe::HtmlAttribute& attribute) {
    // Lines only go forward and never pass the document's end.
    if (attribute.line < last_line) __builtin_trap();
    last_line = attribute.line;
  });
  static_cast<void>(pagelathe::ScanHtmlLinks(html));
  static_cast<void>(pagelathe::ScanHtmlAnchors(html));
  return 0;
}
