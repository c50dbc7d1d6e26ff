// Memo texts and lines.
#include "tools/keywords/MemoLines.h"

#include <QPlainTextEdit>

#include "ui/QtText.h"

namespace pagelathe {

TextList MemoLines(const QPlainTextEdit* memo) {
  return SplitLines(FromQ(memo->toPlainText()));
}

void SetMemoLines(QPlainTextEdit* memo, const TextList& lines) {
  size_t length = 0;
  for (const auto& line : lines)
    length += line.size() + 1;
  std::string text;
  text.reserve(length);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    // A line that holds line breaks of its own (keywords typed on several lines) shows as
    // several memo lines, and is saved that way.
    const std::string& line = lines[i];
    for (size_t k = 0; k < line.size(); ++k) {
      if (line[k] != '\r') {
        text += line[k];
      } else if (k + 1 >= line.size() || line[k + 1] != '\n') {
        text += '\n';
      }
    }
  }
  memo->setPlainText(ToQ(text));
}

std::string MemoText(const QPlainTextEdit* memo) {
  const std::string text = FromQ(memo->toPlainText());
  std::string result;
  result.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') result += '\r';
    result += c;
  }
  return result;
}

}  // namespace pagelathe
