// The line-by-line counter against FindKeywords over the same lines, with the lines cut from
// streamed bytes as SplitLines cuts a file.
#include "tools/keywords/KeywordCounter.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/LineStream.h"
#include "platform/TextList.h"

namespace pagelathe {
namespace {

std::vector<KeywordEntry> CountStreamed(std::string_view bytes, size_t piece, int min_length,
                                        int min_frequency, bool case_sensitive) {
  KeywordCounter counter(min_length, case_sensitive);
  LineStream lines;
  const auto take = [&counter](std::string_view line) { counter.AddLine(line); };
  for (size_t at = 0; at < bytes.size(); at += piece)
    lines.Feed(bytes.substr(at, piece), take);
  lines.Finish(take);
  return counter.Rows(min_frequency);
}

TEST(KeywordCounter, GivesTheRowsOfFindKeywordsWhateverThePieces) {
  struct Case {
    std::string text;
    int min_length, min_frequency;
    bool case_sensitive;
  };
  const Case cases[] = {
      {"Apple apple, APPLE. pear", 4, 2, false},
      {"Apple apple, APPLE. pear", 4, 2, true},
      {"e-mail email\r\nword; word\rre: re:\n", 1, 1, false},
      {"a  b\r\n\r\n  c", 0, 1, false},
      {"\xC0\xE1\xE2 \xE0\xE1\xE2 \xC0\xC1\xC2\n\xA8\xB8 \xB8\xA8", 1, 1, false},
      {"Word word WORD word Word\nword", 1, 1, true},
      {std::string("one two\0three three", 19), 1, 1, false},
  };
  for (const Case& c : cases) {
    const auto expected =
        FindKeywords(SplitLines(c.text), c.min_length, c.min_frequency, c.case_sensitive);
    for (size_t piece = 1; piece <= c.text.size() + 1; ++piece)
      EXPECT_EQ(CountStreamed(c.text, piece, c.min_length, c.min_frequency, c.case_sensitive),
                expected)
          << c.text << " in pieces of " << piece;
  }
}

TEST(KeywordCounter, GivesTheRowsOfFindKeywordsOnRandomTexts) {
  const char* const words[] = {"Apple", "apple",        "APPLE",        "pear", "pear,", "e-mail",
                               "email", "\xC0\xE1\xE2", "\xE0\xE1\xE2", "x",    "",      "re:"};
  const char* const gaps[] = {" ", "  ", "\r\n", "\n", "\r", "\t"};
  std::mt19937 random(5);
  for (int round = 0; round < 200; ++round) {
    std::string text;
    for (int i = static_cast<int>(random() % 300); i > 0; --i)
      text.append(words[random() % std::size(words)]).append(gaps[random() % std::size(gaps)]);
    const int min_length = static_cast<int>(random() % 4);
    const int min_frequency = static_cast<int>(random() % 3);
    const bool case_sensitive = random() % 2;
    ASSERT_EQ(CountStreamed(text, 1 + random() % 50, min_length, min_frequency, case_sensitive),
              FindKeywords(SplitLines(text), min_length, min_frequency, case_sensitive))
        << text;
  }
}

TEST(LineStream, CutsLinesAsSplitLinesWhateverThePieces) {
  const std::string texts[] = {
      "",         "a",      "a\r\nb\r\n", "a\n\nb",     "\r\n",
      "\r\r\n\n", "a\rb\r", "x\r",        "one\r\ntwo", std::string("a\nb\0c\nd", 7)};
  for (const std::string& text : texts) {
    for (size_t piece = 1; piece <= text.size() + 1; ++piece) {
      LineStream stream;
      TextList lines;
      const auto take = [&lines](std::string_view line) { lines.emplace_back(line); };
      for (size_t at = 0; at < text.size(); at += piece)
        stream.Feed(std::string_view(text).substr(at, piece), take);
      stream.Finish(take);
      EXPECT_EQ(lines, SplitLines(text)) << testing::PrintToString(text) << " / " << piece;
    }
  }
}

}  // namespace
}  // namespace pagelathe

namespace pagelathe {
namespace {

// The rule of SplitWords read literally: delete the marks, append a blank, cut at blanks.
TextList SplitWordsLiterally(std::string line, int min_length) {
  std::string clean;
  for (const char c : line)
    if (std::string_view(".,?!*-").find(c) == std::string_view::npos) clean.push_back(c);
  clean.push_back(' ');
  TextList words;
  size_t start = 0;
  for (size_t blank; (blank = clean.find(' ', start)) != std::string::npos; start = blank + 1)
    if (static_cast<long long>(blank - start) >= min_length)
      words.push_back(clean.substr(start, blank - start));
  return words;
}

TEST(SplitWords, FollowsTheRuleOnLongRandomLines) {
  // Lines long enough for the sixteen-byte path, with marks and blanks at every place of a
  // block, runs of blanks across blocks and words made only of marks.
  const char alphabet[] = "ab .,?!*-  xyz\t\xC0";
  std::mt19937 random(11);
  for (int round = 0; round < 2000; ++round) {
    std::string line(random() % 80, ' ');
    for (char& c : line)
      c = alphabet[random() % (sizeof alphabet - 1)];
    const int min_length = static_cast<int>(random() % 4) - 1;
    ASSERT_EQ(SplitWords(line, min_length), SplitWordsLiterally(line, min_length))
        << line << " / " << min_length;
  }
}

}  // namespace
}  // namespace pagelathe
