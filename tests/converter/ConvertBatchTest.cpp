// The batch over folders: output names and places, sub-folder passes, progress, stop, and
// the files that are skipped instead of ending the batch.
#include "tools/converter/ConvertBatch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "platform/FileIO.h"
#include "platform/FileRead.h"
#include "platform/FolderList.h"
#include "platform/Utf8.h"
#include "support/TempFolder.h"
#include "support/UnreadableFiles.h"
#include "tools/converter/HtmlPage.h"

namespace pagelathe {
namespace {

using testing::TempFolder;

const char* const kHtmlMask = "*.htm;*.shtm";

ConvertOptions Options(const TempFolder& dir, int direction = kHtmlToText) {
  ConvertOptions options;
  options.SourceFolder = dir / "src/";
  options.ResultFolder = dir / "res/";
  options.Direction = direction;
  options.Generator = "Brevanoth Pagelathe 1.51";
  return options;
}

struct BatchRun {
  ConvertResult result;
  TextList folders;
  FolderCounters counters;
  std::vector<std::pair<std::string, int>> progress;
  std::vector<std::string> skipped;
};

BatchRun Convert(const ConvertOptions& options, const std::atomic<bool>* stop = nullptr,
                 int stop_after = -1, std::atomic<bool>* stop_flag = nullptr) {
  BatchRun run;
  run.folders = {options.SourceFolder};
  ConvertObserver observer;
  observer.Progress = [&](const std::string& name, int position) {
    run.progress.emplace_back(name, position);
    if (stop_flag && static_cast<int>(run.progress.size()) == stop_after) stop_flag->store(true);
  };
  observer.Skipped = [&](const std::string& message) { run.skipped.push_back(message); };
  const std::vector<std::string> names = ListFiles(options.SourceFolder, options.Mask);
  run.result = ConvertFiles(options, names, run.folders, run.counters, stop, observer);
  return run;
}

// The bytes of an output file, as the converter wrote them before it streamed: each row's
// output was made by that converter. Text to HTML is shown from the heading on.
TEST(ConvertBytes, WritesTheFileAsTheWholeDocumentConverterDid) {
  ConvertOptions text;
  ConvertOptions limit10;
  limit10.LimitLines = true;
  limit10.CharsPerLine = 10;
  ConvertOptions limit4 = limit10;
  limit4.CharsPerLine = 4;
  ConvertOptions unlimited = limit10;
  unlimited.CharsPerLine = 0;
  ConvertOptions html;
  html.Direction = kTextToHtml;
  html.LimitLines = true;  // plays no part in this direction
  struct Case {
    const ConvertOptions& options;
    std::string input;
    std::string output;
  };
  const Case cases[] = {
      {text, "one<br>\r\ntwo", "one\r\ntwo\r\n"},
      {text, "<ul><li>x<li>y</ul><P>z&nbsp;&nbsp;w", "\r\n\r\n * x\r\n * y\r\n\r\nzw\r\n"},
      {text, "a<h&nbsp;r>b<hr>c", "a\r\n\r\n----------\r\nb\r\n\r\n----------\r\nc\r\n"},
      {text, "  a  <b> </b>  b\r\n  ", " a b \r\n"},
      {text, "<html><body></body></html>", ""},
      {text, std::string("before\0<br>after", 16), "before\r\n"},
      {text, "\xC0\xFF<p align=center>x</p>", "\xC0\xFFx\r\n"},
      {limit10, "<i>abcdefghij</i>klmnopqrstuvw  <b>xy", "abcdefghij\r\nklmnopqrst\r\nuvw xy\r\n"},
      {limit10, "<p>x&nbsp;y<br>", "x&nbsp;y\r\n"},
      {limit4, "abcd<b>efgh</b>", "abcd\r\nefgh\r\n"},
      {limit10, "<hr>", "\r\n"},
      {unlimited, "a  b\r\nc", "a bc\r\n"},
      {html, "one\r\ntwo\r\n", "</h2>\r\n\r\n<br>onetwo\r\n\r\n</BODY>\r\n</HTML>\r\n"},
      {html, "", "</h2>\r\n\r\n<br>\r\n\r\n</BODY>\r\n</HTML>\r\n"},
      {html, std::string("<b>&amp;</b>\0rest", 17),
       "</h2>\r\n\r\n<br><b>&amp;</b>\r\n\r\n</BODY>\r\n</HTML>\r\n"},
  };
  for (const Case& c : cases) {
    std::string output = ConvertBytes(c.options, c.input, "x");
    if (c.options.Direction == kTextToHtml) output.erase(0, output.find("</h2>"));
    EXPECT_EQ(output, c.output) << c.input;
  }
}

// A page of the batch is written in the charset it declares, judged on the whole text however
// the file is cut into pieces: the page made of the whole decoded text is the model.
TEST(ConvertFiles, TextToHtmlPagesSayTheirCharset) {
  std::string euros(300001, 'a');  // three-byte characters, cut between the pieces
  for (size_t i = 1; i + 3 <= euros.size(); i += 3)
    euros.replace(i, 3, "€");
  const struct {
    std::string name, text, charset;
  } cases[] = {
      {"ru.txt", "Привет\r\nи ёж №5 €", "windows-1251"},
      {"de.txt", "Größe\r\nund Привет", "utf-8"},
      {"ja.txt", "日本語 und Größe", "utf-8"},
      {"legacy.txt", "\xCF\xF0\xE8\xE2\xE5\xF2", "windows-1251"},
      {"euros.txt", euros, "windows-1251"},
      {"euros-ja.txt", euros + "日", "utf-8"},
      {"日本.txt", "\xCF\xF0\xE8", "utf-8"},
      {"cut.txt", "\xD0\r\n\x9F", "windows-1251"},  // "П" once the lines are joined
  };
  TempFolder dir;
  dir.MakeFolder("res");
  for (const auto& c : cases)
    dir.Write("src/" + c.name, c.text);
  ConvertOptions options = Options(dir, kTextToHtml);
  options.Mask = "*.txt";
  ASSERT_EQ(Convert(options).result.Converted, static_cast<int>(std::size(cases)));
  for (const auto& c : cases) {
    const std::string title = DecodeText(ConvertBaseName(c.name));
    const std::string page =
        ReadUserFile(dir / ("res/" + ConvertBaseName(c.name) + ".html"), kDocumentLimit);
    EXPECT_EQ(page, HtmlPageBytes(BuildHtmlPage(title, title, title, options.Generator, title,
                                                {DecodeText(JoinedText(c.text))})))
        << c.name;
    EXPECT_NE(page.find("charset=" + c.charset), std::string::npos) << c.name;
  }
}

TEST(OutputName, BaseNameWithTheDirectionsExtension) {
  ConvertOptions text;
  ConvertOptions html;
  html.Direction = kTextToHtml;
  EXPECT_EQ(OutputName(text, "index.htm"), "index.txt");
  EXPECT_EQ(OutputName(html, "index.htm"), "index.html");
  EXPECT_EQ(OutputName(text, "notes"), ".txt");
  EXPECT_EQ(OutputName(html, "notes"), ".html");
  EXPECT_EQ(OutputName(html, "a.b.txt"), "a.b.html");
  EXPECT_EQ(OutputFolder("/r"), "/r/");
  EXPECT_EQ(OutputFolder("/r/"), "/r/");
  EXPECT_EQ(OutputFolder(""), "/");
}

TEST(ConvertFiles, TreeWithTwoSubfolders) {
  TempFolder dir;
  dir.Write("src/a.htm", "one<br>\r\ntwo");
  dir.Write("src/b.HTML", "<p>b");
  dir.Write("src/notes.txt", "not listed");
  dir.Write("src/sub1/c.htm", "c<hr>d");
  dir.Write("src/sub1/d.txt", "not matching");
  dir.Write("src/sub2/deep/e.shtml", "e&nbsp;e");
  dir.MakeFolder("res");
  ConvertOptions options = Options(dir);
  options.ScanSubfolders = true;
  options.Mask = kHtmlMask;
  const BatchRun run = Convert(options);

  EXPECT_EQ(run.result.Converted, 4);
  EXPECT_EQ(run.result.Skipped, 0);
  EXPECT_FALSE(run.result.Stopped);
  EXPECT_EQ(dir.Read("res/a.txt"), "one\r\ntwo\r\n");
  EXPECT_EQ(dir.Read("res/b.txt"), "\r\n\r\nb\r\n");
  EXPECT_EQ(dir.Read("res/sub1/c.txt"), "c\r\n\r\n----------\r\nd\r\n");
  EXPECT_EQ(dir.Read("res/sub2/deep/e.txt"), "ee\r\n");
  EXPECT_FALSE(FileExists(dir / "res/sub1/d.txt"));
  EXPECT_FALSE(FileExists(dir / "res/notes.txt"));
  EXPECT_FALSE(DirectoryExists(dir / "res/sub2/deep/sub"));

  ASSERT_EQ(run.folders.size(), 4u);  // the source folder first, then the walk's
  EXPECT_EQ(run.folders[0], dir / "src/");
  EXPECT_EQ(run.counters.FolderCount, 3);
  EXPECT_EQ(run.counters.FileCount, 6);
  // Progress per pass: 100 * index / count, names as listed. The sub-folders come in the
  // order the file system gives them.
  std::vector<std::pair<std::string, int>> progress = run.progress;
  ASSERT_EQ(progress.size(), 4u);
  std::sort(progress.begin() + 2, progress.end());
  const std::vector<std::pair<std::string, int>> expected = {
      {"a.htm", 0}, {"b.HTML", 50}, {"c.htm", 0}, {"e.shtml", 0}};
  EXPECT_EQ(progress, expected);
}

// A tree deeper than a path can be is converted into a result tree as deep; a folder that
// cannot be opened is named and the batch goes on.
TEST(ConvertFiles, TreesOfAnyDepthAndFoldersThatCannotBeOpened) {
  TempFolder dir;
  dir.Write("src/a.htm", "a");
  const std::string deep =
      dir.MakeDeepFolder("src", std::string(20, 'f'), 300, "deep.htm", "x<br>y");
  dir.Write("src/locked/no.htm", "no");
  ASSERT_EQ(::chmod((dir / "src/locked").c_str(), 0), 0);
  dir.MakeFolder("res");
  ConvertOptions options = Options(dir);
  options.ScanSubfolders = true;
  const testing::WithoutReadOverride as_any_user;
  const BatchRun run = Convert(options);
  EXPECT_EQ(run.result.Converted, 2);
  EXPECT_EQ(run.skipped, std::vector<std::string>{"Cannot open folder \"" +
                                                  dir / "src/locked\". Permission denied"});
  EXPECT_EQ(ReadUserFile(dir / "res/" + deep.substr((dir / "src/").size()) + "deep.txt"),
            "x\r\ny\r\n");
  EXPECT_FALSE(DirectoryExists(dir / "res/locked"));
}

TEST(ConvertFiles, WithoutSubfoldersOnlyTheListedFilesAndNoProgress) {
  TempFolder dir;
  dir.Write("src/a.htm", "a");
  dir.Write("src/sub/c.htm", "c");
  dir.MakeFolder("res");
  ConvertOptions options = Options(dir);
  options.Mask = kHtmlMask;
  const BatchRun run = Convert(options);
  EXPECT_EQ(run.result.Converted, 1);
  EXPECT_EQ(dir.Read("res/a.txt"), "a\r\n");
  EXPECT_FALSE(DirectoryExists(dir / "res/sub"));
  EXPECT_EQ(run.folders, TextList{dir / "src/"});
  EXPECT_EQ(run.counters.FolderCount + run.counters.FileCount, 0);
  EXPECT_TRUE(run.progress.empty());
}

TEST(ConvertFiles, TextToHtmlJoinsTheLinesAndNamesThePage) {
  TempFolder dir;
  dir.Write("src/index.txt", "one\r\ntwo\r\n");
  dir.Write("src/README", "x");
  dir.MakeFolder("res");
  ConvertOptions options = Options(dir, kTextToHtml);
  options.Mask = "*.*";
  const BatchRun run = Convert(options);
  EXPECT_EQ(run.result.Converted, 2);
  const TextList page = SplitLines(dir.Read("res/index.html"));
  ASSERT_EQ(page.size(), 22u);
  EXPECT_EQ(page[3], "<TITLE>index</TITLE>");
  EXPECT_EQ(page[18], "<br>onetwo");
  EXPECT_TRUE(FileExists(dir / "res/.html"));  // a name without a dot
}

TEST(ConvertFiles, AnEmptyTextWritesAnEmptyFileAndOldOutputsAreReplaced) {
  TempFolder dir;
  dir.Write("src/empty.htm", "<html></html>");
  dir.Write("src/a.htm", "new");
  dir.Write("res/a.txt", "old text that is longer");
  ConvertOptions options = Options(dir);
  options.Mask = kHtmlMask;
  Convert(options);
  EXPECT_TRUE(FileExists(dir / "res/empty.txt"));
  EXPECT_EQ(dir.Read("res/empty.txt"), "");
  EXPECT_EQ(dir.Read("res/a.txt"), "new\r\n");
}

TEST(ConvertFiles, AStopBetweenFilesEndsTheBatch) {
  TempFolder dir;
  for (char c = 'a'; c <= 'f'; ++c)
    dir.Write(std::string("src/") + c + ".htm", "text");
  dir.Write("src/sub/z.htm", "z");
  dir.MakeFolder("res");
  ConvertOptions options = Options(dir);
  options.ScanSubfolders = true;
  options.Mask = kHtmlMask;
  std::atomic<bool> stop{false};
  const BatchRun run = Convert(options, &stop, 2, &stop);
  EXPECT_TRUE(run.result.Stopped);
  EXPECT_EQ(run.result.Converted, 2);
  EXPECT_TRUE(FileExists(dir / "res/a.txt"));
  EXPECT_TRUE(FileExists(dir / "res/b.txt"));
  EXPECT_FALSE(FileExists(dir / "res/c.txt"));
  EXPECT_FALSE(DirectoryExists(dir / "res/sub"));

  // Stopped before it starts: nothing at all.
  TempFolder other;
  other.Write("src/a.htm", "a");
  other.MakeFolder("res");
  std::atomic<bool> stopped{true};
  const BatchRun none = Convert(Options(other), &stopped);
  EXPECT_TRUE(none.result.Stopped);
  EXPECT_FALSE(FileExists(other / "res/a.txt"));
}

TEST(ConvertFiles, UnreadableAndUnwritableFilesAreSkippedAndNamed) {
  TempFolder dir;
  dir.Write("src/a.htm", "a");
  dir.Write("src/big.htm", std::string(300, 'x'));
  dir.Write("src/c.htm", "c");
  dir.Write("res/big.txt", "old");
  dir.MakeFolder("res/a.txt");  // a folder where the output file should go
  ConvertOptions options = Options(dir);
  options.Mask = kHtmlMask;
  const std::vector<std::string> names = {"a.htm", "big.htm", "gone.htm", "c.htm"};
  std::vector<std::string> skipped;
  ConvertObserver observer;
  observer.Skipped = [&](const std::string& message) { skipped.push_back(message); };
  TextList folders = {options.SourceFolder};
  FolderCounters counters;
  ConvertResult result;
  {
    testing::ScopedFileSizeLimit limit(100);  // the 300-byte output cannot be written
    result = ConvertFiles(options, names, folders, counters, nullptr, observer);
  }
  EXPECT_EQ(result.Converted, 1);
  EXPECT_EQ(result.Skipped, 3);
  ASSERT_EQ(skipped.size(), 3u);
  EXPECT_NE(skipped[0].find(dir / "res/a.txt"), std::string::npos) << skipped[0];
  EXPECT_NE(skipped[1].find(dir / "res/big.txt"), std::string::npos) << skipped[1];
  EXPECT_NE(skipped[2].find(dir / "src/gone.htm"), std::string::npos) << skipped[2];
  EXPECT_EQ(dir.Read("res/big.txt"), "old");  // the old file is whole
  EXPECT_EQ(dir.Read("res/c.txt"), "c\r\n");  // the batch went on
  for (const auto& entry : std::filesystem::directory_iterator(dir / "res")) {
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos)
        << "temporary file left: " << entry.path();
  }
}

// A pipe, a link to an endless device and a huge sparse file among the listed names (put there
// after the listing) are skipped at once and named; the files around them are converted.
TEST(ConvertFiles, UnreadableFilesAreSkippedAtOnceAndNamed) {
  TempFolder dir;
  dir.Write("src/a.htm", "a<br>b");
  dir.Write("src/z.htm", "z");
  dir.MakeFolder("res");
  const std::vector<testing::UnreadableFile> special =
      testing::MakeUnreadableFiles(dir / "src/", ".htm");
  const testing::FifoWatchdog watchdog(dir / "src/" + special[0].name);
  std::vector<std::string> names = {"a.htm"};
  for (const auto& file : special)
    names.push_back(file.name);
  names.push_back("z.htm");
  const ConvertOptions options = Options(dir);
  std::vector<std::string> skipped;
  ConvertObserver observer;
  observer.Skipped = [&](const std::string& message) { skipped.push_back(message); };
  TextList folders = {options.SourceFolder};
  FolderCounters counters;
  const ConvertResult result = ConvertFiles(options, names, folders, counters, nullptr, observer);
  EXPECT_EQ(result.Converted, 2);
  EXPECT_EQ(result.Skipped, 3);
  ASSERT_EQ(skipped.size(), special.size());
  for (size_t i = 0; i < special.size(); ++i) {
    EXPECT_NE(skipped[i].find(dir / "src/" + special[i].name), std::string::npos)
        << special[i].kind << ": " << skipped[i];
    EXPECT_FALSE(FileExists(dir / "res/" + ConvertBaseName(special[i].name) + ".txt"))
        << special[i].kind;
  }
  EXPECT_EQ(dir.Read("res/a.txt"), "a\r\nb\r\n");
  EXPECT_EQ(dir.Read("res/z.txt"), "z\r\n");
}

TEST(ConvertFiles, NeverWritesOverTheFileItReads) {
  TempFolder dir;
  dir.Write("src/a.txt", "keep<br>me");
  dir.Write("src/b.htm", "b");
  ASSERT_EQ(::symlink((dir / "src").c_str(), (dir / "alias").c_str()), 0);
  struct Case {
    const char* name;
    std::string result_folder;
  };
  const Case cases[] = {
      {"same spelling", dir / "src/"},
      {"no final slash", dir / "src"},
      {"through a link", dir / "alias/"},
      {"doubled slashes", dir / "src//"},
  };
  for (const Case& c : cases) {
    ConvertOptions options = Options(dir);
    options.ResultFolder = c.result_folder;
    options.Mask = "*.*";
    const BatchRun run = Convert(options);
    EXPECT_EQ(run.result.Converted, 1) << c.name;  // b.htm -> b.txt
    ASSERT_EQ(run.skipped.size(), 1u) << c.name;
    EXPECT_NE(run.skipped[0].find("a.txt"), std::string::npos) << run.skipped[0];
    EXPECT_EQ(dir.Read("src/a.txt"), "keep<br>me") << c.name;
    ::unlink((dir / "src/b.txt").c_str());
  }
}

TEST(SkippedFilesMessage, NamesTheFilesUpToALimit) {
  EXPECT_EQ(SkippedFilesMessage({"one", "two"}), "These files were not converted:\none\ntwo");
  std::vector<std::string> many;
  for (int i = 0; i < 25; ++i)
    many.push_back(std::string("f").append(std::to_string(i)));
  const std::string message = SkippedFilesMessage(many, 20);
  EXPECT_NE(message.find("\nf19\n"), std::string::npos);
  EXPECT_EQ(message.find("f20"), std::string::npos);
  EXPECT_TRUE(message.ends_with("\n... and 5 more.")) << message;
}

}  // namespace
}  // namespace pagelathe
