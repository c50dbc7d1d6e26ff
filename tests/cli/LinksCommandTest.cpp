// pagelathe links: the same lines as the page's engine on the same tree, for every protocol,
// link type, view, sort and "No http://"; a file, standard input, an exclusion list, the raw
// list and the two saved forms.
#include <gtest/gtest.h>

#include "cli/ProcessRunner.h"
#include "platform/TextList.h"
#include "support/TempFolder.h"
#include "tools/links/FolderSearch.h"
#include "tools/links/LinkExtract.h"
#include "tools/links/LinkView.h"

namespace pagelathe {
namespace {

using testing::RunPagelathe;

// Lines as the program prints them: each ended by LF.
std::string Printed(const TextList& lines) {
  std::string text;
  for (const std::string& line : lines)
    text.append(line).append("\n");
  return text;
}

// A tree with links of every protocol, repeats, links that contain each other, names, an
// excluded host, a "..", a document that is no document by its extension, and sub-folders.
void MakeTree(const testing::TempFolder& dir) {
  dir.Write("tree/index.html",
            "<a href=\"http://www.host.example/dir/page.html\">Page</a> "
            "<a href=\"http://www.host.example/dir/page.html?q=1\">Q</a>\r\n"
            "http://other.example/ ftp://files.example/pub/file.tar.gz, news://news.example/g\r\n"
            "see https://secure.example/a/b/ and HTTP://caps.example/x and "
            "http://up.example/../x\n"
            "file://C:\\docs\\a.txt gopher://gopher.example telnet://bbs.example:23/\r"
            "http://ads.example/banner http://www.host.example/\n");
  dir.Write("tree/sub/notes.txt",
            "http://host.example/dir/ http://z.example/Zed.HTM http://a.example/alpha\r\n"
            "http://\r\nhttp://other.example/\r\n");
  dir.Write("tree/sub/deeper/page.php", "ftp://files.example/pub/ https://secure.example/a/c");
  dir.Write("tree/sub/skipped.dat", "http://never.example/");
  dir.Write("exclusions.dat", "http://www.ads.example\r\n\r\nbanner-free.example\r\n");
}

TEST(LinksCommand, PrintsTheLinesOfThePagesSearchForEveryOption) {
  testing::TempFolder dir;
  MakeTree(dir);
  const TextList exclusions = SplitLines(dir.Read("exclusions.dat"));
  const char* const types[] = {"full", "domain", "name"};
  const char* const views[] = {"link", "html", "bb"};
  int protocol_index = 0;
  for (const char* protocol : kSearchProtocols) {
    ++protocol_index;
    for (int type = 0; type < 3; ++type) {
      // What the page's search finds in this tree.
      const LinkExtractor extractor(protocol, LinkShapeAt(type), exclusions);
      LinkStore found;
      FolderSearchCallbacks callbacks;
      callbacks.document_searched = [&](int, const std::string&, const LinkStore& links,
                                        DocumentBuffer&) { found.AppendAll(links); };
      FolderSearchResult result;
      RunFolderSearch(dir / "tree", true, "*.*", extractor, callbacks, result);
      for (int view = 0; view < 3; ++view) {
        // Sort and "No http://" take their four pairs in turn: each protocol, link type and
        // view meets every pair, with a program run per view rather than per pair.
        const int pair = (protocol_index + type + view) % 4;
        const bool sort = pair < 2;
        const bool no_http = pair % 2 == 1;
        LinkViewOptions options;
        options.sort = sort;
        options.no_http = no_http;
        options.link_type = LinkShapeAt(type);
        options.view = view;
        options.protocol = protocol;
        std::vector<std::string> arguments = {"links",     "-p",        protocol,
                                              "-t",        types[type], "-v",
                                              views[view], "-x",        dir / "exclusions.dat"};
        if (!sort) arguments.push_back("--no-sort");
        if (no_http) arguments.push_back("--no-http");
        arguments.push_back(dir / "tree");
        const testing::ProcessResult run = RunPagelathe(arguments);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, Printed(BuildLinkView(found, options)))
            << ::testing::PrintToString(arguments);
      }
    }
  }
}

TEST(LinksCommand, SearchesFilesStandardInputAndOnlyTheRootWithoutSubDirs) {
  testing::TempFolder dir;
  MakeTree(dir);
  struct Case {
    std::vector<std::string> arguments;
    std::string input;
    std::string out;
  };
  const Case cases[] = {
      // A file is searched whatever its extension; the folder search skips it.
      {{"links", "-t", "full", dir / "tree/sub/skipped.dat"}, "", "http://never.example/\n"},
      {{"links", "--no-subdirs", "-p", "ftp://", dir / "tree"}, "", "ftp://files.example\n"},
      {{"links", "-p", "ftp://", dir / "tree"}, "", "ftp://files.example\n"},
      {{"links", "-p", "ftp://", "--raw", "-t", "full", dir / "tree"},
       "",
       "ftp://files.example/pub/file.tar.gz,\nftp://files.example/pub/\n"},
      // Standard input, and several paths one after the other into one list.
      {{"links", "-t", "name", "--no-sort", "-", dir / "tree/sub/notes.txt"},
       "http://b.example/two.html http://b.example/one.html\n",
       "two.html\none.html\nZed.HTM\nalpha\n"},
      {{"links", "--raw", "-"},
       "http://x.example/a http://x.example/a\n",
       "http://x.example\nhttp://x.example\n"},
      // One found link is shown as found, even in a view.
      {{"links", "-v", "bb", "-"}, "http://one.example/\n", "http://one.example\n"},
      {{"links", "-"}, "", ""},
      // Links are printed in UTF-8 whatever the document's encoding; --raw keeps its bytes.
      {{"links", "-"}, "http://\xEF\xF0\xE8.example/\n", "http://при.example\n"},
      {{"links", "--raw", "-"}, "http://\xEF\xF0\xE8.example/\n", "http://\xEF\xF0\xE8.example\n"},
      {{"links", "-"}, "http://日本.example/\n", "http://日本.example\n"},
  };
  for (const Case& c : cases) {
    testing::ProcessOptions options;
    options.input = c.input;
    const testing::ProcessResult run = RunPagelathe(c.arguments, options);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out) << ::testing::PrintToString(c.arguments);
  }
  // A message names a file as the window shows it: decoded, in UTF-8.
  const testing::ProcessResult missing = RunPagelathe({"links", dir / "\xCF\xF0"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("/Пр\""), std::string::npos) << missing.err;
}

TEST(LinksCommand, SavesTheListAsTheSaveButtonDoes) {
  testing::TempFolder dir;
  MakeTree(dir);
  const std::string input = "http://b.example/ http://a.example/\n";
  const TextList lines = {"http://a.example", "http://b.example"};
  struct Case {
    std::string name;
    std::string bytes;
  };
  const Case cases[] = {
      {"links.txt", JoinLines(lines)},
      {"links.list", JoinLines(lines)},
      {"links.htm", JoinLines(LinkListHtmlPage(lines, "Links"))},
      {"Links.HTML", JoinLines(LinkListHtmlPage(lines, "Links"))},
  };
  for (const Case& c : cases) {
    testing::ProcessOptions options;
    options.input = input;
    const testing::ProcessResult run = RunPagelathe({"links", "-o", dir / c.name, "-"}, options);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(dir.Read(c.name), c.bytes) << c.name;
  }
}

}  // namespace
}  // namespace pagelathe
