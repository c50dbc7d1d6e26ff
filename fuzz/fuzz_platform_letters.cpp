// The text model on any bytes: the edge rule (valid UTF-8 as it is, else Windows-1251, and
// back), the validator fed in two pieces, NFC, lengths, case folding and the sorted lists'
// order. The input is cut in two at its first byte's value; the halves are compared too.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Letters.h"
#include "platform/Utf8.h"
#include "platform/Win1251.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

int Sign(int value) {
  return (value > 0) - (value < 0);
}

// The checks on one text of the program (valid UTF-8).
void CheckText(const std::string& text) {
  const std::string normal = pagelathe::Nfc(text);
  Check(pagelathe::IsValidUtf8(normal));
  Check(pagelathe::IsNfc(normal));
  Check(pagelathe::Nfc(normal) == normal);
  Check(pagelathe::IsNfc(text) == (normal == text));
  Check(pagelathe::CharLength(text) == pagelathe::CodePointCount(normal));
  Check(pagelathe::Characters(text).size() == pagelathe::CharLength(text));
  const std::string folded = pagelathe::FoldCase(text);
  Check(pagelathe::IsValidUtf8(folded));
  Check(pagelathe::SameText(text, folded));
  Check(pagelathe::CompareText(text, normal) == 0);
  Check(pagelathe::SortKey(text) == pagelathe::SortKey(normal));
  Check(pagelathe::CodePointCount(pagelathe::UpperCase(text)) == pagelathe::CodePointCount(text));
  Check(pagelathe::CodePointCount(pagelathe::LowerCase(text)) == pagelathe::CodePointCount(text));
  std::string bytes;
  if (pagelathe::Utf8ToWin1251(text, bytes)) {
    Check(pagelathe::FitsWin1251(text));
    Check(pagelathe::Win1251ToUtf8(bytes) == text);
  } else {
    Check(!pagelathe::FitsWin1251(text));
  }
  pagelathe::TextEncoding encoding = pagelathe::TextEncoding::kWin1251;
  const std::string written = pagelathe::EncodeText(text, encoding);
  Check(pagelathe::DecodeText(written) == text);  // a file reads back as the text written
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t cut = size == 0 ? 0 : std::min<size_t>(data[0], size);

  pagelathe::Utf8Validator validator;
  validator.Feed(input.substr(0, cut));
  validator.Feed(input.substr(cut));
  const bool valid = pagelathe::IsValidUtf8(input);
  Check(validator.Complete() == valid);

  const std::string text = pagelathe::DecodeText(std::string(input));
  Check(pagelathe::IsValidUtf8(text));
  if (valid) {
    Check(text == input);
  } else {
    std::string back;
    Check(pagelathe::Utf8ToWin1251(text, back) && back == input);  // every byte has a character
  }
  size_t count = 0;
  for (size_t at = 0; at < input.size(); ++count)
    (void)pagelathe::NextCodePoint(input, at);
  Check(count == pagelathe::CodePointCount(input));
  CheckText(text);

  // The order of two texts: antisymmetric, the order of their keys, and equal exactly when
  // their folds are.
  const std::string a = pagelathe::DecodeText(std::string(input.substr(0, cut)));
  const std::string b = pagelathe::DecodeText(std::string(input.substr(cut)));
  const int order = pagelathe::CompareText(a, b);
  Check(order == -pagelathe::CompareText(b, a));
  Check(order == Sign(pagelathe::SortKey(a).compare(pagelathe::SortKey(b))));
  Check((order == 0) == pagelathe::SameText(a, b));
  Check(pagelathe::SameText(a, b) == (pagelathe::FoldCase(a) == pagelathe::FoldCase(b)));
  std::vector<std::string> sorted = {b, a, b};
  pagelathe::SortTexts(sorted);
  Check(pagelathe::CompareText(sorted[0], sorted[1]) <= 0 &&
        pagelathe::CompareText(sorted[1], sorted[2]) <= 0);
  return 0;
}
