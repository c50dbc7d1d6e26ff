// The text rules of the converter: the base name of a listed file, the joined text of a file,
// HTML to plain text, and the cut of a text into lines of a fixed width.
#pragma once

#include <string>
#include <string_view>

#include "platform/TextList.h"

namespace pagelathe {

// The ten "-" that stand for a "<hr>" in converted text.
inline constexpr std::string_view kSeparatorText = "----------";

// The listed name up to, not including, its last "."; no "." gives the empty name.
// Example: "page.old.htm" -> "page.old", "README" -> "".
[[nodiscard]] std::string ConvertBaseName(std::string_view name);

// The lines of a file's bytes joined with nothing between them: every CR and LF dropped, and
// a NUL byte ends the text. Example: "one\r\ntwo\n" -> "onetwo".
[[nodiscard]] std::string JoinedText(std::string_view bytes);

// HTML to text. In this order, each over the whole text, case-sensitive, left to right without
// overlap: "<p>" and "<P>" become CR LF CR LF; "<br>", "<BR>", "<ol>" and "<ul>" CR LF; "<li>"
// CR LF " * "; "&nbsp;" is deleted; "<hr>" becomes CR LF CR LF, the separator, CR LF. Then
// every other tag is removed (DeleteTag) and runs of blanks are collapsed (DelDoubBlank).
// Because "&nbsp;" goes before "<hr>", "<h&nbsp;r>" is a rule too. It runs HtmlTextStream
// over the whole text. Example: "a<br>b" -> "a\r\nb"; "a&nbsp;&nbsp;b" -> "ab".
[[nodiscard]] std::string HtmlToText(std::string_view joined, std::string_view separator);

// The text cut into consecutive lines of exactly `width` characters, the last one shorter when
// the length is no multiple of it, without regard to words. A text shorter than `width`, and
// any text when `width` is 0 or less, is one line (an empty text gives one empty line).
// Example: 25 characters at width 10 give lines of 10, 10 and 5.
[[nodiscard]] TextList CutToWidth(std::string_view text, int width);

}  // namespace pagelathe
