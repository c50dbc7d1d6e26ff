// The folder search: the order documents are read in, the masks, sub folders, unreadable
// files and the stop flag.
#include "tools/links/FolderSearch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/TempFolder.h"

namespace pagelathe {
namespace {

struct Searched {
  std::vector<std::string> folders;
  std::vector<std::string> names;
  std::vector<int> percents;
  TextList links;
  std::string last_bytes;
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
  return callbacks;
}

TEST(SearchFolderFiles, ReadsDocumentsInListOrderThroughTheMask) {
  testing::TempFolder dir;
  dir.Write("b.htm", "http://b.org/x");
  dir.Write("A.txt", "http://a.org/x");
  dir.Write("c.xml", "http://c.org/x");  // listed, not a document
  dir.Write("d.HTML", "http://d.org/x");
  dir.Write(".e.htm", "http://e.org/x");  // hidden: not listed
  const LinkExtractor extractor("http://", 1, {});
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

TEST(SearchFolderFiles, SkipsAnUnreadableDocument) {
  testing::TempFolder dir;
  dir.Write("a.htm", "http://a.org");
  dir.MakeFolder("b.htm");  // a folder is not listed; a dangling link is, and cannot be read
  ASSERT_EQ(::symlink((dir / "gone").c_str(), (dir / "c.htm").c_str()), 0);
  dir.Write("d.htm", "http://d.org");
  Searched out;
  SearchFolderFiles(dir.Path(), "*.*", LinkExtractor("http://", 0, {}), Record(out));
  EXPECT_EQ(out.links, (TextList{"http://a.org", "http://d.org"}));
  EXPECT_EQ(out.last_bytes, "http://d.org");
}

TEST(RunFolderSearch, RootFirstThenTheFoldersBelow) {
  testing::TempFolder dir;
  dir.Write("root/r.htm", "http://root.org");
  dir.Write("root/sub/s.htm", "http://sub.org");
  dir.Write("root/sub/deeper/d.txt", "http://deep.org");
  dir.Write("root/sub/x.gif", "");
  const LinkExtractor extractor("http://", 1, {});
  {
    Searched out;
    FolderSearchResult result;
    RunFolderSearch(dir / "root", true, "*.*", extractor, Record(out), result);
    EXPECT_EQ(out.folders,
              (std::vector<std::string>{dir / "root", dir / "root/sub", dir / "root/sub/deeper"}));
    EXPECT_EQ(out.links, (TextList{"http://root.org", "http://sub.org", "http://deep.org"}));
    EXPECT_EQ(result.folders, out.folders);
    EXPECT_EQ(result.counters.FolderCount, 2);
    EXPECT_EQ(result.counters.FileCount, 4);  // r.htm, s.htm, x.gif, d.txt
    EXPECT_FALSE(result.stopped);
  }
  {
    Searched out;
    FolderSearchResult result;
    RunFolderSearch(dir / "root", false, "*.*", extractor, Record(out), result);
    EXPECT_EQ(out.links, TextList{"http://root.org"});
    EXPECT_EQ(result.counters.FolderCount + result.counters.FileCount, 0);
  }
  {
    Searched out;
    FolderSearchResult result;
    RunFolderSearch(dir / "missing", true, "*.*", extractor, Record(out), result);
    EXPECT_TRUE(out.links.empty());
    EXPECT_EQ(result.folders, TextList{dir / "missing"});
  }
}

TEST(RunFolderSearch, StopsBetweenDocuments) {
  testing::TempFolder dir;
  for (int i = 0; i < 5; ++i)
    dir.Write("f" + std::to_string(i) + ".htm", "http://a.org");
  std::atomic<bool> stop{false};
  int documents = 0;
  FolderSearchCallbacks callbacks;
  callbacks.document_searched = [&](int, const std::string&, const LinkStore&, DocumentBuffer&) {
    if (++documents == 2) stop = true;
  };
  FolderSearchResult result;
  RunFolderSearch(dir.Path(), true, "*.*", LinkExtractor("http://", 1, {}), callbacks, result,
                  &stop);
  EXPECT_EQ(documents, 2);
  EXPECT_TRUE(result.stopped);
}

}  // namespace
}  // namespace pagelathe
