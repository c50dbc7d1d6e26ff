// The folder search: the order documents are read in, the masks, sub folders, unreadable
// files and the stop flag.
#include "tools/links/FolderSearch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <new>

#include "support/TempFolder.h"
#include "support/UnreadableFiles.h"

namespace pagelathe {
namespace {

struct Searched {
  std::vector<std::string> folders;
  std::vector<std::string> names;
  std::vector<int> percents;
  TextList links;
  std::string last_bytes;
  std::vector<std::string> skipped;  // the messages
};

FolderSearchCallbacks Record(Searched& out) {
  FolderSearchCallbacks callbacks;
  callbacks.folder_started = [&out](const std::string& folder) { out.folders.push_back(folder); };
  callbacks.document_searched = [&out](int percent, const std::string& name, const LinkStore& links,
                                       DocumentBuffer& document) {
    out.percents.push_back(percent);
    out.names.push_back(name);
    for (std::string_view link : links)
      out.links.emplace_back(link);
    out.last_bytes = document.View();
  };
  callbacks.document_skipped = [&out](const std::string&, const std::string& message) {
    out.skipped.push_back(message);
  };
  return callbacks;
}

TEST(SearchFolderFiles, ReadsDocumentsInListOrderThroughTheMask) {
  testing::TempFolder dir;
  dir.Write("b.htm", "http://b.org/x");
  dir.Write("A.txt", "http://a.org/x");
  dir.Write("c.xml", "http://c.org/x");  // listed, not a document
  dir.Write("d.HTML", "http://d.org/x");
  dir.Write(".e.htm", "http://e.org/x");  // hidden: not listed
  const LinkExtractor extractor("http://", LinkShape::Domen, {});
  struct Case {
    const char* masks;
    std::vector<std::string> names;
    std::vector<int> percents;
    TextList links;
  };
  const Case cases[] = {
      {"*.*",
       {"A.txt", "b.htm", "d.HTML"},
       {0, 25, 75},
       {"http://a.org", "http://b.org", "http://d.org"}},
      {"*.htm", {"b.htm", "d.HTML"}, {0, 50}, {"http://b.org", "http://d.org"}},
      {"*.txt", {"A.txt"}, {0}, {"http://a.org"}},
      {"*.gif", {}, {}, {}},
  };
  for (const Case& c : cases) {
    Searched out;
    // Without the final "/": the folder and the name are still joined.
    const std::string folder = dir.Path().substr(0, dir.Path().size() - 1);
    EXPECT_TRUE(SearchFolderFiles(folder, c.masks, extractor, Record(out)));
    EXPECT_EQ(out.names, c.names) << c.masks;
    EXPECT_EQ(out.percents, c.percents) << c.masks;
    EXPECT_EQ(out.links, c.links) << c.masks;
  }
}

// Files that cannot be read, put in place of listed documents between the walk and the read,
// and memory refused while a document is taken in, skip that document and name it; the search
// goes on.
TEST(RunFolderSearch, ADocumentThatCannotBeReadOrHeldIsSkippedAndNamed) {
  testing::TempFolder dir;
  for (const char* name : {"a.htm", "fifo.htm", "huge.htm", "sparse.htm", "z.htm", "zero.htm"})
    dir.Write(std::string("root/sub/") + name, std::string("http://") + name);
  const std::string sub = dir / "root/sub";
  Searched out;
  FolderSearchCallbacks callbacks = Record(out);
  // The walk has listed the folder by now: the reader gets these in place of the files.
  callbacks.folder_started = [&](const std::string& folder) {
    if (folder != sub) return;
    for (const char* name : {"fifo.htm", "sparse.htm", "zero.htm"})
      ::unlink((sub + "/" + name).c_str());
    testing::MakeUnreadableFiles(sub + "/", ".htm");
  };
  const testing::FifoWatchdog watchdog(sub + "/fifo.htm");
  const auto searched = callbacks.document_searched;
  callbacks.document_searched = [&](int percent, const std::string& name, const LinkStore& links,
                                    DocumentBuffer& document) {
    if (name == "huge.htm") throw std::bad_alloc();  // as if its links could not be held
    searched(percent, name, links, document);
  };
  FolderSearchResult result;
  RunFolderSearch(dir / "root", true, "*.*", LinkExtractor("http://", LinkShape::FullLink, {}),
                  callbacks, result);
  EXPECT_FALSE(result.stopped);
  EXPECT_EQ(out.names, (std::vector<std::string>{"a.htm", "z.htm"}));
  EXPECT_EQ(out.links, (TextList{"http://a.htm", "http://z.htm"}));
  const std::vector<std::string> skipped = {
      "Cannot read file \"" + sub + "/fifo.htm\". It is not a regular file.",
      "Cannot search file \"" + sub + "/huge.htm\". Not enough memory.",
      "Cannot read file \"" + sub + "/sparse.htm\". It is larger than 1024 MB.",
      "Cannot read file \"" + sub + "/zero.htm\". It is not a regular file.",
  };
  EXPECT_EQ(out.skipped, skipped);
}

// The root first, then the folders below it, at any depth (a path far longer than the system
// takes); a folder that cannot be opened is named and the others are searched.
TEST(RunFolderSearch, RootFirstThenTheFoldersBelowAtAnyDepth) {
  testing::TempFolder dir;
  dir.Write("root/r.htm", "http://root.org");
  dir.Write("root/sub/s.htm", "http://sub.org");
  dir.Write("root/sub/deeper/d.txt", "http://deep.org");
  dir.Write("root/sub/x.gif", "");
  dir.MakeDeepFolder("tall", std::string(20, 'f'), 300, "page.htm", "<a href=\"http://far.org/\">");
  dir.Write("locked/ok.htm", "http://ok.org");
  dir.Write("locked/in/no.htm", "http://no.org");
  ASSERT_EQ(::chmod((dir / "locked/in").c_str(), 0), 0);
  struct Case {
    std::string root;
    bool sub_dirs;
    TextList links;
    FolderCounters counters;
    std::vector<std::string> skipped;
  };
  const Case cases[] = {
      {dir / "root", true, {"http://root.org", "http://sub.org", "http://deep.org"}, {2, 4}, {}},
      {dir / "root", false, {"http://root.org"}, {0, 0}, {}},
      {dir / "missing",
       true,
       {},
       {0, 0},
       {"Cannot open folder \"" + dir / "missing\". No such file or directory"}},
      {dir / "tall", true, {"http://far.org"}, {300, 1}, {}},
      {dir / "locked",
       true,
       {"http://ok.org"},
       {1, 1},
       {"Cannot open folder \"" + dir / "locked/in\". Permission denied"}},
  };
  const LinkExtractor extractor("http://", LinkShape::Domen, {});
  const testing::WithoutReadOverride as_any_user;
  for (const Case& c : cases) {
    Searched out;
    FolderSearchResult result;
    RunFolderSearch(c.root, c.sub_dirs, "*.*", extractor, Record(out), result);
    EXPECT_EQ(out.links, c.links) << c.root;
    EXPECT_EQ(out.folders, result.folders) << c.root;
    EXPECT_EQ(result.counters.FolderCount, c.counters.FolderCount) << c.root;
    EXPECT_EQ(result.counters.FileCount, c.counters.FileCount) << c.root;
    EXPECT_EQ(out.skipped, c.skipped) << c.root;
    EXPECT_FALSE(result.stopped);
  }
}

TEST(RunFolderSearch, StopsBetweenDocuments) {
  testing::TempFolder dir;
  for (int i = 0; i < 5; ++i)
    dir.Write(std::string("f").append(std::to_string(i)).append(".htm"), "http://a.org");
  std::atomic<bool> stop{false};
  int documents = 0;
  FolderSearchCallbacks callbacks;
  callbacks.document_searched = [&](int, const std::string&, const LinkStore&, DocumentBuffer&) {
    if (++documents == 2) stop = true;
  };
  FolderSearchResult result;
  RunFolderSearch(dir.Path(), true, "*.*", LinkExtractor("http://", LinkShape::Domen, {}),
                  callbacks, result, &stop);
  EXPECT_EQ(documents, 2);
  EXPECT_TRUE(result.stopped);
}

}  // namespace
}  // namespace pagelathe
