// Gradient text: HTML in which every character has its own colour, running in even steps from
// a start colour to an end colour, and where the preview draws each character.
#pragma once

#include <string>
#include <vector>

#include "platform/TextList.h"
#include "tools/colour/WebColor.h"

namespace pagelathe {

// The colour of character `index` (1..length) of a text of `length` characters: each part is
// start - ((start - end) * (index - 1)) / (length - 1), the division truncating toward zero,
// so the steps between round toward the start. From 255 to 0 over three characters the middle
// part is 128, from 0 to 255 it is 127. A length below 2 has no step: the start colour.
[[nodiscard]] RgbColor GradientColorAt(const RgbColor& start, const RgbColor& end, long long length,
                                       long long index);

// One character of the preview: its UTF-8 bytes, its left edge and top in pixels, and its
// colour.
struct GradientGlyph {
  std::string Character = " ";
  long long Left = 0;
  long long Top = 0;
  RgbColor Color;
};

struct GradientResult {
  TextList Lines;                     // the HTML, one line per character between two fixed lines
  std::vector<GradientGlyph> Glyphs;  // every character of the text, blanks included
  int PreviewPointSize = 0;           // the preview draws at twice the font size
};

// The HTML lines and the preview of `text` (UTF-8), one per character of any script (a code
// point after NFC: "Ä日本ё" has four):
//   <p align=center><font face="FACE" size="SIZE">
//   <font color="#RRGGBB">c</font>          one per character; a blank gives "&nbsp;"
//   </font>
// Character i (from 1) is drawn with its left edge at 2 * size * i + 10 and its top at 10.
// Nothing is escaped. An empty text gives the two fixed lines only. A text of one character
// has no colour step and gives nothing at all (no lines, no glyphs): the caller clears its
// output instead.
[[nodiscard]] GradientResult BuildGradientText(const std::string& text, const RgbColor& start,
                                               const RgbColor& end, const std::string& face,
                                               int size);

}  // namespace pagelathe
