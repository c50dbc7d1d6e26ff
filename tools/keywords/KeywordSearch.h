// Word frequency analysis for the Keywords page: cutting lines into words, counting the words
// of a text, ordering the result rows by a column, and cleaning an opened file's lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/TextList.h"

namespace pagelathe {

// One row of the result list: a word, how often it occurs (decimal text, as shown), and
// whether it is ticked for the keyword list.
struct KeywordEntry {
  std::string Word;
  std::string Count;
  bool Checked = true;

  bool operator==(const KeywordEntry&) const = default;
};

// The column the rows were last sorted by (-1: none yet) and the direction the next sort of
// that column takes (-1 descending, 1 ascending).
struct KeywordSortState {
  int LastColumn = -1;
  int Direction = -1;

  bool operator==(const KeywordSortState&) const = default;
};

// The words of one line (UTF-8), in order. ".", ",", "?", "!", "*" and "-" are deleted first
// (so "e-mail" is "email"); then the line is cut at every blank (not at tabs), and a piece is
// kept when it has at least `min_length` characters (code points after NFC: "日本語" has 3).
// Every other character stays in its word.
// Example: SplitWords("re: a,b  c", 0) == {"re:", "ab", "", "c"}.
[[nodiscard]] TextList SplitWords(std::string_view line, int min_length);

// Counts the words of `lines`. The words are ordered without regard to letter case by the
// order of platform/Letters.h (forms of one word keep the order of the text); each run of equal
// neighbours (compared after NFC, exactly when `case_sensitive`, else after Unicode simple
// case folding: "ΟΔΟΣ", "οδος" and "Οδος" are one word, "Straße" and "STRASSE" two) gives a
// row when its length is at least `min_frequency`. A row shows the last word of its run (in
// NFC), is checked, and rows come in the order of the sorted words.
// Example: {"Apple apple, APPLE. pear"}, 4, 2, false gives one row {"APPLE", "3"}.
// Linear in the text apart from sorting the distinct words.
[[nodiscard]] std::vector<KeywordEntry> FindKeywords(const TextList& lines, int min_length,
                                                     int min_frequency, bool case_sensitive);

// A click on the header of `column`: a column other than the last sorted one starts
// descending; column 0 orders by word (ASCII letters without regard to case, other characters
// by code point), column 1 by count (blanks ignored, read as integers); then the direction flips
// for the next click on the same column. Rows that compare equal keep their order. Any other column
// leaves the rows as they are. A count that is not an integer raises EConvertError before anything
// moves.
void SortKeywordList(std::vector<KeywordEntry>& rows, int column, KeywordSortState& state);

// The lines of an opened file made ready for counting: tags removed and runs of blanks
// collapsed, line by line (a tag spread over two lines stays).
void CleanOpenedText(TextList& lines);

}  // namespace pagelathe
