// Word splitting, counting and the column sort of the keyword search.
#include "tools/keywords/KeywordSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/Errors.h"
#include "platform/IntParse.h"
#include "platform/Letters.h"

namespace pagelathe {
namespace {

struct SplitCase {
  const char* name;
  std::string line;
  int min_length;
  TextList words;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
  *os << c.name;
}

class SplitWordsTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitWordsTest, GivesTheKeptPiecesInOrder) {
  const SplitCase& c = GetParam();
  EXPECT_EQ(SplitWords(c.line, c.min_length), c.words);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SplitWordsTest,
    ::testing::Values(
        SplitCase{
            "Punctuation", "Apple apple, APPLE. pear", 4, {"Apple", "apple", "APPLE", "pear"}},
        SplitCase{"HyphenJoins", "e-mail email", 1, {"email", "email"}},
        SplitCase{"AllSixMarksGo", "a.b,c?d!e*f-g", 1, {"abcdefg"}},
        SplitCase{"SemicolonStays", "word; word", 1, {"word;", "word"}},
        SplitCase{"ColonStays", "re: x", 1, {"re:", "x"}},
        SplitCase{"OtherCharactersStay", "(1) #2 \"q\" [z]", 1, {"(1)", "#2", "\"q\"", "[z]"}},
        SplitCase{"TabIsPartOfAWord", "tab\tword here", 1, {"tab\tword", "here"}},
        SplitCase{"DoubleBlankGivesEmptyPiece", "a  b", 0, {"a", "", "b"}},
        SplitCase{"EmptyPieceDroppedAtLengthOne", "a  b", 1, {"a", "b"}},
        SplitCase{"LeadingBlank", " lead", 0, {"", "lead"}},
        SplitCase{"TrailingBlank", "a b ", 0, {"a", "b", ""}},
        SplitCase{"EmptyLineIsOneEmptyPiece", "", 0, {""}},
        SplitCase{"NegativeLengthKeepsAll", "", -5, {""}},
        SplitCase{"EmptyLineAtLengthOne", "", 1, {}}, SplitCase{"OnlyMarks", "...--", 0, {""}},
        SplitCase{"LengthCountsBytes", "ab abc abcd", 3, {"abc", "abcd"}},
        SplitCase{"HugeLengthKeepsNothing", "abc", 2147483647, {}},
        SplitCase{"CyrillicHyphen", "при-вет я", 1, {"привет", "я"}},
        SplitCase{
            "NulByteIsAnOrdinaryByte", std::string("a\0b c", 5), 1, {std::string("a\0b", 3), "c"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct Row {
  std::string word;
  std::string count;
};

TextList Words(const std::vector<KeywordEntry>& rows) {
  TextList words;
  for (const auto& row : rows)
    words.push_back(row.Word);
  return words;
}

struct FindCase {
  const char* name;
  TextList lines;
  int min_length;
  int min_frequency;
  bool case_sensitive;
  std::vector<Row> rows;
};

void PrintTo(const FindCase& c, std::ostream* os) {
  *os << c.name;
}

class FindKeywordsTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindKeywordsTest, GivesTheRowsOfTheSortedRuns) {
  const FindCase& c = GetParam();
  const auto rows = FindKeywords(c.lines, c.min_length, c.min_frequency, c.case_sensitive);
  std::vector<KeywordEntry> expected;
  for (const auto& row : c.rows)
    expected.push_back({row.word, row.count, true});
  EXPECT_EQ(rows, expected);
}

const std::string kApples = "Apple apple, APPLE. pear";

INSTANTIATE_TEST_SUITE_P(
    Table, FindKeywordsTest,
    ::testing::Values(
        FindCase{"ApplesIgnoringCase", {kApples}, 4, 2, false, {{"APPLE", "3"}}},
        FindCase{"ApplesWithCaseAreThreeWords", {kApples}, 4, 2, true, {}},
        FindCase{"ApplesWithCaseAllShown",
                 {kApples},
                 4,
                 1,
                 true,
                 {{"Apple", "1"}, {"apple", "1"}, {"APPLE", "1"}, {"pear", "1"}}},
        FindCase{"ThreeLetters", {"a b c"}, 1, 1, false, {{"a", "1"}, {"b", "1"}, {"c", "1"}}},
        FindCase{"LastFormOfTheRunIsShown", {"b a B A b"}, 1, 1, false, {{"A", "2"}, {"b", "3"}}},
        FindCase{"CaseSensitiveRunsFollowTheText",
                 {"b a B A b"},
                 1,
                 1,
                 true,
                 {{"a", "1"}, {"A", "1"}, {"b", "1"}, {"B", "1"}, {"b", "1"}}},
        FindCase{"CaseSensitiveNeighboursJoin", {"x X X x"}, 1, 2, true, {{"X", "2"}}},
        FindCase{"EmailAndEMailAreOne", {"e-mail email E-Mail"}, 4, 3, false, {{"EMail", "3"}}},
        FindCase{"SemicolonMakesAnotherWord",
                 {"word; word"},
                 1,
                 1,
                 false,
                 {{"word", "1"}, {"word;", "1"}}},
        FindCase{"EmptyWordsSortFirst", {"a  a"}, 0, 1, false, {{"", "1"}, {"a", "2"}}},
        FindCase{"EmptyLinesCountAsEmptyWords", {"", "x", ""}, 0, 2, false, {{"", "2"}}},
        FindCase{"WordsNeverSpanLines",
                 {"al", "pha alpha"},
                 1,
                 1,
                 false,
                 {{"al", "1"}, {"alpha", "1"}, {"pha", "1"}}},
        FindCase{"CountsOverLines", {"alpha beta", "Alpha"}, 1, 2, false, {{"Alpha", "2"}}},
        FindCase{"OrderSymbolsDigitsLatinCyrillic",
                 {"б zeta Alpha 10 _x а"},
                 1,
                 1,
                 false,
                 {{"_x", "1"}, {"10", "1"}, {"Alpha", "1"}, {"zeta", "1"}, {"а", "1"}, {"б", "1"}}},
        FindCase{"YoAfterYe", {"ж ё е"}, 1, 1, false, {{"е", "1"}, {"ё", "1"}, {"ж", "1"}}},
        FindCase{"CyrillicCaseFolds", {"Аб аБ Ё ё"}, 1, 2, false, {{"аБ", "2"}, {"ё", "2"}}},
        FindCase{"ComposedAndDecomposedCafeAreOneWord",
                 {"caf\u00E9 cafe\u0301 CAFE\u0301"},
                 4,
                 1,
                 false,
                 {{"CAF\u00C9", "3"}}},
        FindCase{"DecomposedCafeIsTheSameSpellingWithCase",
                 {"caf\u00E9 cafe\u0301"},
                 4,
                 2,
                 true,
                 {{"caf\u00E9", "2"}}},
        FindCase{"SigmaInEveryFormIsOneLetter", {"ΟΔΟΣ οδος Οδος"}, 4, 3, false, {{"Οδος", "3"}}},
        FindCase{"SharpSIsNotDoubleS",
                 {"Straße STRASSE straße"},
                 6,
                 1,
                 false,
                 {{"STRASSE", "1"}, {"straße", "2"}}},
        FindCase{"LengthCountsCharacters",
                 {"日本語 日本 Größe über"},
                 3,
                 1,
                 false,
                 {{"Größe", "1"}, {"über", "1"}, {"日本語", "1"}}},
        FindCase{"UmlautRightAfterItsBaseLetter",
                 {"b über ua"},
                 1,
                 1,
                 false,
                 {{"b", "1"}, {"ua", "1"}, {"über", "1"}}},
        FindCase{"ZeroFrequencyKeepsAll", {"q q"}, 1, 0, false, {{"q", "2"}}},
        FindCase{"NegativeFrequencyKeepsAll", {"q"}, 1, -3, true, {{"q", "1"}}},
        FindCase{"NoLines", {}, 0, 0, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FindKeywords, CountsBeyondOneThousand) {
  TextList lines(1500, "lorem ipsum");
  lines.push_back("ipsum");
  const auto rows = FindKeywords(lines, 1, 1501, false);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Word, "ipsum");
  EXPECT_EQ(rows[0].Count, "1501");
}

// The rows as sorting every word and walking the runs gives them, done the slow way.
std::vector<KeywordEntry> SlowFind(const TextList& lines, int min_length, int min_frequency,
                                   bool case_sensitive) {
  TextList words;
  for (const auto& line : lines)
    for (auto& w : SplitWords(line, min_length))
      words.push_back(w);
  std::stable_sort(words.begin(), words.end(), TextLess());
  std::vector<KeywordEntry> rows;
  int run = 0;
  for (size_t p = 0; p < words.size(); ++p) {
    if (p + 1 < words.size()) {
      const bool same = case_sensitive ? Nfc(words[p]) == Nfc(words[p + 1])
                                       : FoldCase(words[p]) == FoldCase(words[p + 1]);
      if (same) {
        ++run;
        continue;
      }
    }
    ++run;
    if (run >= min_frequency) rows.push_back({Nfc(words[p]), std::to_string(run), true});
    run = 0;
  }
  return rows;
}

TEST(FindKeywords, AgreesWithSortingEveryWordOnRandomTexts) {
  const char* pieces[] = {"a",  "A", "b", "B", "ab", "Ab", "-", ".",  " ", " ",
                          "  ", "а", "А", "ё", "Ё",  "1",  ";", "\t", "яЯ"};
  std::mt19937 random(12345);
  for (int round = 0; round < 400; ++round) {
    TextList lines(1 + random() % 4);
    for (auto& line : lines) {
      const int n = static_cast<int>(random() % 30);
      for (int i = 0; i < n; ++i)
        line += pieces[random() % std::size(pieces)];
    }
    for (int min_length : {0, 1, 2}) {
      for (int min_frequency : {0, 1, 2, 3}) {
        for (bool case_sensitive : {false, true}) {
          ASSERT_EQ(FindKeywords(lines, min_length, min_frequency, case_sensitive),
                    SlowFind(lines, min_length, min_frequency, case_sensitive))
              << "round " << round << " length " << min_length << " frequency " << min_frequency
              << " case " << case_sensitive;
        }
      }
    }
  }
}

std::vector<KeywordEntry> Rows(const std::vector<Row>& rows) {
  std::vector<KeywordEntry> result;
  for (const auto& row : rows)
    result.push_back({row.word, row.count, true});
  return result;
}

struct Click {
  int column;
  TextList order;
  KeywordSortState state_after;
};

TEST(SortKeywordList, ClicksFlipTheDirectionOfTheSameColumn) {
  auto rows = Rows({{"beta", "2"}, {"Alpha", "5"}, {"gamma", "2"}, {"alpha2", "1"}});
  KeywordSortState state;
  const std::vector<Click> clicks = {
      {1, {"Alpha", "beta", "gamma", "alpha2"}, {1, 1}},
      {0, {"gamma", "beta", "alpha2", "Alpha"}, {0, 1}},
      {0, {"Alpha", "alpha2", "beta", "gamma"}, {0, -1}},
      {1, {"Alpha", "beta", "gamma", "alpha2"}, {1, 1}},
      {1, {"alpha2", "beta", "gamma", "Alpha"}, {1, -1}},
      {0, {"gamma", "beta", "alpha2", "Alpha"}, {0, 1}},
  };
  for (size_t i = 0; i < clicks.size(); ++i) {
    SortKeywordList(rows, clicks[i].column, state);
    EXPECT_EQ(Words(rows), clicks[i].order) << "click " << i;
    EXPECT_EQ(state, clicks[i].state_after) << "click " << i;
  }
}

struct OrderCase {
  const char* name;
  std::vector<Row> rows;
  int column;
  KeywordSortState state;
  TextList order;
};

void PrintTo(const OrderCase& c, std::ostream* os) {
  *os << c.name;
}

class SortOrderTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(SortOrderTest, OrdersTheRows) {
  const OrderCase& c = GetParam();
  auto rows = Rows(c.rows);
  KeywordSortState state = c.state;
  SortKeywordList(rows, c.column, state);
  EXPECT_EQ(Words(rows), c.order);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SortOrderTest,
    ::testing::Values(
        // Ascending runs happen on the second click of a column: state {column, 1}.
        OrderCase{"AsciiLettersFoldUnderscoreAfter",
                  {{"_x", "1"}, {"apple", "1"}},
                  0,
                  {0, 1},
                  {"apple", "_x"}},
        OrderCase{"CyrillicByCodeNotFolded",
                  {{"а", "1"}, {"А", "1"}, {"z", "1"}},
                  0,
                  {0, 1},
                  {"z", "А", "а"}},
        OrderCase{"PrefixFirst",
                  {{"abc", "1"}, {"ab", "1"}, {"ABD", "1"}},
                  0,
                  {0, 1},
                  {"ab", "abc", "ABD"}},
        OrderCase{"EqualWordsKeepTheirOrderUp",
                  {{"Apple", "1"}, {"x", "1"}, {"apple", "2"}},
                  0,
                  {0, 1},
                  {"Apple", "apple", "x"}},
        OrderCase{"EqualWordsKeepTheirOrderDown",
                  {{"Apple", "1"}, {"x", "1"}, {"apple", "2"}},
                  0,
                  {-1, -1},
                  {"x", "Apple", "apple"}},
        OrderCase{"CountsAsNumbersNotTexts",
                  {{"a", "10"}, {"b", "9"}, {"c", "100"}},
                  1,
                  {1, 1},
                  {"b", "a", "c"}},
        OrderCase{"BlanksInCountsIgnored", {{"a", " 1 2"}, {"b", "3"}}, 1, {1, 1}, {"b", "a"}},
        OrderCase{"NegativeCounts", {{"a", "1"}, {"b", "-4"}}, 1, {1, 1}, {"b", "a"}},
        OrderCase{"OtherColumnKeepsOrder", {{"b", "1"}, {"a", "2"}}, 2, {-1, -1}, {"b", "a"}},
        OrderCase{"NoRows", {}, 1, {-1, -1}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SortKeywordList, BadCountRaisesAndChangesNothing) {
  auto rows = Rows({{"b", "1"}, {"a", "2"}, {"c", "x"}});
  const auto before = rows;
  KeywordSortState state{0, 1};
  EXPECT_THROW(SortKeywordList(rows, 1, state), EConvertError);
  EXPECT_EQ(rows, before);
  EXPECT_EQ(state, (KeywordSortState{0, 1}));
}

TEST(SortKeywordList, KeepsEachRowsCheckMarkWithIt) {
  std::vector<KeywordEntry> rows = {{"a", "1", false}, {"b", "2", true}};
  KeywordSortState state;
  SortKeywordList(rows, 1, state);
  EXPECT_EQ(rows, (std::vector<KeywordEntry>{{"b", "2", true}, {"a", "1", false}}));
}

struct CleanCase {
  const char* name;
  TextList lines;
  TextList cleaned;
};

void PrintTo(const CleanCase& c, std::ostream* os) {
  *os << c.name;
}

class CleanOpenedTextTest : public ::testing::TestWithParam<CleanCase> {};

TEST_P(CleanOpenedTextTest, CleansEachLine) {
  TextList lines = GetParam().lines;
  CleanOpenedText(lines);
  EXPECT_EQ(lines, GetParam().cleaned);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CleanOpenedTextTest,
    ::testing::Values(CleanCase{"TagsGoBlanksCollapse",
                                {"<p><b>Hello</b>   big  world</p>"},
                                {"Hello big world"}},
                      CleanCase{"BlanksLeftByTagsCollapse", {"a <br> <br> b"}, {"a b"}},
                      CleanCase{"TagOverTwoLinesStays", {"a <b", "c> d"}, {"a ", "c> d"}},
                      CleanCase{"TabsStay", {"x\t\ty"}, {"x\t\ty"}},
                      CleanCase{"EmptyLinesStay", {"", "  ", ""}, {"", " ", ""}},
                      CleanCase{"NoLines", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pagelathe
