// pagelathe convert, keywords, page, color and gradient print what their pages show: the same
// bytes as the engines, the same files as the converter's batch, and UTF-8 back for UTF-8 in.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "cli/ProcessRunner.h"
#include "platform/TextList.h"
#include "platform/Utf8.h"
#include "platform/Win1251.h"
#include "support/TempFolder.h"
#include "textlib/Dizerezez.h"
#include "tools/colour/GradientText.h"
#include "tools/converter/ConvertBatch.h"
#include "tools/converter/HtmlPage.h"
#include "tools/keywords/KeywordSearch.h"

namespace pagelathe {
namespace {

using testing::RunPagelathe;

const char* const kCaption = "Brevanoth Pagelathe 1.51";

// Every file below `folder`, by relative path, with its bytes.
std::map<std::string, std::string> FilesBelow(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[std::filesystem::relative(entry.path(), folder).string()] =
        std::string(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

TEST(ConvertCommand, WritesTheFilesOfTheBatch) {
  testing::TempFolder dir;
  dir.Write("src/index.htm", "<p>one<br>two</p>\r\n<ul><li>x<li>y</ul>&nbsp;<hr>end");
  dir.Write("src/about.html", "<b>About</b>   us");
  dir.Write("src/notes.txt", "plain\r\ntext");
  dir.Write("src/empty.shtml", "<br><p>");
  dir.Write("src/sub/inner.htm", "<i>inner</i> page");
  struct Case {
    std::vector<std::string> options;
    ConvertOptions engine;
  };
  std::vector<Case> cases;
  ConvertOptions base;
  base.Generator = kCaption;
  cases.push_back({{}, base});
  ConvertOptions limited = base;
  limited.LimitLines = true;
  limited.CharsPerLine = 5;
  cases.push_back({{"--limit", "5"}, limited});
  ConvertOptions deep = base;
  deep.ScanSubfolders = true;
  cases.push_back({{"--subfolders"}, deep});
  ConvertOptions html = base;
  html.Direction = kTextToHtml;
  html.Mask = "*.txt";
  cases.push_back({{"--to-html"}, html});
  ConvertOptions masked = base;
  masked.Mask = "*.*";
  cases.push_back({{"--mask", "*.*"}, masked});
  int round = 0;
  for (Case& c : cases) {
    const std::string ours = dir / ("ours" + std::to_string(round));
    const std::string theirs = dir / ("engine" + std::to_string(++round));
    std::vector<std::string> arguments = {"convert"};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    arguments.push_back(dir / "src");
    arguments.push_back(ours);  // missing: the program makes it
    const testing::ProcessResult run = RunPagelathe(arguments);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out + run.err, "");
    c.engine.SourceFolder = dir / "src";
    c.engine.ResultFolder = theirs;
    std::filesystem::create_directories(theirs);
    TextList folders = {c.engine.SourceFolder};
    FolderCounters counters;
    ConvertFiles(c.engine, ListFiles(c.engine.SourceFolder, c.engine.Mask), folders, counters,
                 nullptr, {});
    const auto expected = FilesBelow(theirs);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(FilesBelow(ours), expected) << ::testing::PrintToString(arguments);
  }
}

TEST(ConvertCommand, NamesTheFilesItCouldNotConvertAndConvertsTheOthers) {
  testing::TempFolder dir;
  dir.Write("src/good.htm", "<b>fine</b>");
  dir.Write("src/bad.htm", "unreadable");
  dir.MakeFolder("out/bad.txt");  // the output's place is taken by a folder
  const testing::ProcessResult run = RunPagelathe({"convert", dir / "src", dir / "out"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("bad.txt"), std::string::npos) << run.err;
  EXPECT_EQ(dir.Read("out/good.txt"), "fine\r\n");
}

TEST(ConvertCommand, PrintsOneDocumentAsTheConverterWritesIt) {
  testing::TempFolder dir;
  const std::string page =
      "<html><body><p>One&nbsp;two</p>\r\n<h&nbsp;r>  three\r\n<ul><li>a<li>b</ul>"
      "<BR>\xC0\xE1\xE2 \xD0\x9F\xD1\x80\xD0\xB8</body>";
  dir.Write("page.old.htm", page);
  ConvertOptions text;
  ConvertOptions limited;
  limited.LimitLines = true;
  limited.CharsPerLine = 7;
  ConvertOptions html;
  html.Direction = kTextToHtml;
  html.Generator = kCaption;
  struct Case {
    std::vector<std::string> arguments;
    std::string input;
    std::string out;
  };
  const Case cases[] = {
      {{"convert", dir / "page.old.htm"}, "", ConvertBytes(text, page, "")},
      {{"convert", "--to-text", "-"}, page, ConvertBytes(text, page, "")},
      {{"convert", "--limit", "7", dir / "page.old.htm"}, "", ConvertBytes(limited, page, "")},
      {{"convert", "--to-html", dir / "page.old.htm"}, "", ConvertBytes(html, page, "page.old")},
      {{"convert", "--to-html", "-"}, "one\r\ntwo", ConvertBytes(html, "onetwo", "")},
      {{"convert", "-"}, "<br><p>", ConvertBytes(text, "<br><p>", "")},
      {{"convert", "-"}, "<b></b>  ", " \r\n"},
      {{"convert", "-"}, "<b></b>", ""},
  };
  for (const Case& c : cases) {
    testing::ProcessOptions options;
    options.input = c.input;
    const testing::ProcessResult run = RunPagelathe(c.arguments, options);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out) << ::testing::PrintToString(c.arguments);
  }
}

// The rows as the program prints them.
std::string Rows(const std::vector<KeywordEntry>& rows) {
  std::string text;
  for (const KeywordEntry& row : rows)
    text += row.Count + "\t" + row.Word + "\n";
  return text;
}

std::vector<KeywordEntry> Searched(const TextList& lines, int length, int frequency,
                                   bool case_sensitive, bool by_word) {
  std::vector<KeywordEntry> rows = FindKeywords(lines, length, frequency, case_sensitive);
  KeywordSortState state;
  state.Direction = -1;
  SortKeywordList(rows, 1, state);
  if (by_word) {
    SortKeywordList(rows, 0, state);  // "Word" clicked: Z to A
    SortKeywordList(rows, 0, state);  // and again: A to Z
  }
  return rows;
}

TEST(KeywordsCommand, PrintsTheRowsOfTheSearch) {
  const std::string text =
      "Apple apple, APPLE. pear pear pear\r\n"
      "<b>bold</b> <b>bold</b>\nzeta zeta alpha alpha alpha alpha e-mail email\r"
      "\xC0\xE1\xE2\xE3 \xE0\xE1\xE2\xE3";  // a Windows-1251 document: read decoded
  const TextList lines = SplitLines(DecodeText(text));
  TextList cleaned = lines;
  CleanOpenedText(cleaned);
  struct Case {
    std::vector<std::string> options;
    std::string out;
  };
  const Case cases[] = {
      {{}, Rows(Searched(lines, 4, 4, false, false))},
      {{"--min-length", "1", "--min-frequency", "2"}, Rows(Searched(lines, 1, 2, false, false))},
      {{"--min-frequency", "1", "--case-sensitive"}, Rows(Searched(lines, 4, 1, true, false))},
      {{"--min-frequency", "1", "--sort", "word"}, Rows(Searched(lines, 4, 1, false, true))},
      {{"--min-frequency", "2", "--clean"}, Rows(Searched(cleaned, 4, 2, false, false))},
      {{"--min-length", "0", "--min-frequency", "0"}, Rows(Searched(lines, 0, 0, false, false))},
  };
  testing::TempFolder dir;
  dir.Write("text.txt", text);
  for (const Case& c : cases) {
    for (const std::string& source : {dir / "text.txt", std::string("-")}) {
      std::vector<std::string> arguments = {"keywords"};
      arguments.insert(arguments.end(), c.options.begin(), c.options.end());
      arguments.push_back(source);
      testing::ProcessOptions options;
      options.input = text;
      const testing::ProcessResult run = RunPagelathe(arguments, options);
      EXPECT_EQ(run.status, 0) << run.err;
      EXPECT_EQ(run.out, c.out) << ::testing::PrintToString(arguments);
    }
  }
}

TEST(KeywordsCommand, PrintsUtf8WhateverTheDocumentsEncoding) {
  const std::string utf8 = "Привет привет мир Größe";
  std::string legacy;  // the same text in Windows-1251 (without the "ö", which it lacks)
  ASSERT_TRUE(Utf8ToWin1251("Привет привет мир", legacy));
  const auto rows_of = [](const std::string& text) {
    std::string out;
    for (const KeywordEntry& row : Searched(SplitLines(text), 1, 1, false, false))
      out += row.Count + "\t" + row.Word + "\n";
    return out;
  };
  // A file is judged as a whole: UTF-8 throughout, or UTF-8 until a byte that is not, which
  // makes the whole file Windows-1251, decoded.
  testing::TempFolder dir;
  dir.Write("utf8.txt", utf8 + "\r\n" + std::string(70000, 'a') + "\n");
  const std::string mixed = utf8 + "\n" + std::string(300000, ' ') + "\xC0\xE1\xE2\n";
  dir.Write("mixed.txt", mixed);
  dir.Write("legacy.txt", std::string(300000, ' ') + "\n" + legacy);
  struct Case {
    std::string operand, input, out;
  };
  const Case cases[] = {
      {"-", utf8, rows_of(utf8)},
      {"-", legacy, rows_of("Привет привет мир")},
      {dir / "utf8.txt", "", rows_of(utf8 + "\n" + std::string(70000, 'a'))},
      {dir / "mixed.txt", "", rows_of(Win1251ToUtf8(mixed))},
      {dir / "legacy.txt", "", rows_of("Привет привет мир")},
  };
  for (const Case& c : cases) {
    testing::ProcessOptions options;
    options.input = c.input;
    const testing::ProcessResult run =
        RunPagelathe({"keywords", "--min-length", "1", "--min-frequency", "1", c.operand}, options);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out) << c.operand;
  }
  EXPECT_NE(rows_of(utf8).find("2\tпривет\n"), std::string::npos);
}

TEST(PageCommand, PrintsThePageOfTheCreator) {
  testing::TempFolder dir;
  dir.Write("text.txt", "one\r\ntwo & <three>\n");
  const std::string title_utf8 = "\xD0\x94\xD0\xBE\xD0\xBC";  // "Дом"
  struct Case {
    std::vector<std::string> arguments;
    std::string out;
  };
  const Case cases[] = {
      {{"page", "--title", "Home", "--description", "my site", "--keywords", "alpha, beta",
        "--text", dir / "text.txt"},
       JoinLines(BuildHtmlPage("Home", "alpha, beta", "my site", kCaption, "Home",
                               {"one", "two & <three>"}))},
      {{"page", "--title", "Home"}, JoinLines(BuildHtmlPage("Home", "", "", kCaption, "Home", {}))},
      // In the charset the page declares: Windows-1251 when every character has a byte.
      {{"page", "--title", title_utf8},
       HtmlPageBytes(BuildHtmlPage(title_utf8, "", "", kCaption, title_utf8, {}))},
      {{"page", "--title", "日本"},
       HtmlPageBytes(BuildHtmlPage("日本", "", "", kCaption, "日本", {}))},
  };
  for (const Case& c : cases) {
    const testing::ProcessResult run = RunPagelathe(c.arguments);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out) << ::testing::PrintToString(c.arguments);
  }
}

TEST(ColourCommands, PrintTheCodeAndTheGradientLines) {
  const std::string privet = "При";
  std::string cyrillic;
  for (const std::string& line :
       BuildGradientText(privet, {0, 255, 0}, {0, 0, 255}, "Arial", 6).Lines)
    cyrillic += line + "\n";
  struct Case {
    std::vector<std::string> arguments;
    std::string out;
  };
  const Case cases[] = {
      {{"color", "0", "192", "255"}, "#00C0FF\n"},
      {{"color", "10", "11", "171"}, "#0A0BAB\n"},
      {{"color", "$FF", "0", "0"}, "#FF0000\n"},
      {{"gradient", "--from", "255,0,0", "--to", "0,0,255", "--face", "Arial", "--size", "3", "AB"},
       "<p align=center><font face=\"Arial\" size=\"3\">\n<font color=\"#FF0000\">A</font>\n"
       "<font color=\"#0000FF\">B</font>\n</font>\n"},
      {{"gradient", "--from", "0,0,0", "--to", "255,255,255", "a b"},
       "<p align=center><font face=\"Arial\" size=\"6\">\n<font color=\"#000000\">a</font>\n"
       "&nbsp;\n<font color=\"#FFFFFF\">b</font>\n</font>\n"},
      {{"gradient", "x"}, ""},
      {{"gradient", ""}, "<p align=center><font face=\"Arial\" size=\"6\">\n</font>\n"},
      {{"gradient", privet}, cyrillic},
      {{"gradient", "\xC0\xE1"},
       "<p align=center><font face=\"Arial\" size=\"6\">\n"
       "<font color=\"#00FF00\">А</font>\n"
       "<font color=\"#0000FF\">б</font>\n</font>\n"},  // Windows-1251
      {{"gradient", "Ä日本ё"},
       "<p align=center><font face=\"Arial\" size=\"6\">\n<font color=\"#00FF00\">Ä</font>\n"
       "<font color=\"#00AA55\">日</font>\n<font color=\"#0055AA\">本</font>\n"
       "<font color=\"#0000FF\">ё</font>\n</font>\n"},
  };
  for (const Case& c : cases) {
    const testing::ProcessResult run = RunPagelathe(c.arguments);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out) << ::testing::PrintToString(c.arguments);
  }
  // The page's defaults: "Gradient Text" from green to blue makes 15 lines.
  const testing::ProcessResult defaults = RunPagelathe({"gradient", "Gradient Text"});
  EXPECT_EQ(SplitLines(defaults.out).size(), 15u);
  EXPECT_NE(defaults.out.find("<font color=\"#00FF00\">G</font>"), std::string::npos);
  EXPECT_NE(defaults.out.find("<font color=\"#0000FF\">t</font>"), std::string::npos);
}

}  // namespace
}  // namespace pagelathe
