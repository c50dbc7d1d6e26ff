// The update check's answer: any body the service sends is split into lines and judged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/TextList.h"
#include "update/UpdateCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  const pagelathe::TextList lines = pagelathe::SplitLines(body);
  const pagelathe::UpdateTexts texts = {"last", "new ", "none"};
  const pagelathe::UpdateResult result =
      pagelathe::JudgeAnswer(true, lines, texts, "1.51", "http://page.example/");
  if (result.outcome != pagelathe::UpdateOutcome::kNewVersion &&
      result.outcome != pagelathe::UpdateOutcome::kLastVersion) {
    std::abort();
  }
  // The order is strict: a version is never newer than itself, and never both ways.
  if (!lines.empty()) {
    const std::string& first = lines.front();
    if (pagelathe::IsNewerVersion(first, first)) std::abort();
    if (pagelathe::IsNewerVersion(first, "1.51") && pagelathe::IsNewerVersion("1.51", first)) {
      std::abort();
    }
    if (result.Newer() != pagelathe::IsNewerVersion(first, "1.51")) std::abort();
  } else if (result.Newer()) {
    std::abort();
  }
  return 0;
}
