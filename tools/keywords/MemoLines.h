// Memos as the Keywords tabs read and fill them: a list of Windows-1251 lines, or one text
// whose lines are separated by CR LF.
#pragma once

#include <string>

#include "platform/TextList.h"

class QPlainTextEdit;

namespace pagelathe {

// The memo's lines; a final line break starts no empty line, an empty memo has none.
[[nodiscard]] TextList MemoLines(const QPlainTextEdit* memo);

// Replaces the memo's text by `lines`, one per line.
void SetMemoLines(QPlainTextEdit* memo, const TextList& lines);

// The memo's whole text with CR LF between lines (nothing added after the last).
[[nodiscard]] std::string MemoText(const QPlainTextEdit* memo);

}  // namespace pagelathe
