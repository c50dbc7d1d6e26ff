// The folder search: which files are documents, the order they are read in, the masks, sub
// folders, unreadable files and the stop flag.
#include "tools/links/FolderSearch.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/TempFolder.h"

namespace pagelathe {
namespace {

TEST(IsDocumentFile, ComparesTheLastExtensionInLowerCase) {
  struct Case {
    const char* name;
    bool document;
  };
  const Case cases[] = {
      {"a.txt", true},      {"a.htm", true},   {"a.html", true},  {"a.shtm", true},
      {"a.shtml", true},    {"a.php", true},   {"A.HTML", true},  {"a.PhP", true},
      {"a.txt.bak", false}, {"a.htmx", false}, {"README", false}, {"a.ht", false},
      {".txt", true},       {"a.", false},     {"a.xml", false},  {"a.tx", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsDocumentFile(c.name), c.document) << c.name;
}

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

// The read of one document: sizes around the first buffer's capacity (one read, a full
// buffer, growth), and what is not a regular file, which must neither be read as a document
// nor block the search.
TEST(DocumentBuffer, ReadsWholeFilesAndRefusesTheRest) {
  testing::TempFolder dir;
  const size_t sizes[] = {0, 1, 65535, 65536, 65537, 300000};
  std::string expected_last;
  DocumentBuffer buffer;
  const int folder = ::open(dir.Path().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(folder, 0);
  for (const size_t size : sizes) {
    std::string bytes(size, 'x');
    for (size_t i = 0; i < size; i += 997)
      bytes[i] = static_cast<char>('a' + i % 26);
    const std::string name = "f" + std::to_string(size) + ".htm";
    dir.Write(name, bytes);
    ASSERT_TRUE(buffer.ReadFileAt(folder, name)) << size;
    EXPECT_EQ(buffer.View(), bytes) << size;  // reused storage: no bytes of the larger file before
  }
  dir.MakeFolder("folder.htm");
  ASSERT_EQ(::mkfifo((dir / "pipe.htm").c_str(), 0600), 0);
  ASSERT_EQ(::symlink("/dev/zero", (dir / "zero.htm").c_str()), 0);
  ASSERT_EQ(::symlink((dir / "gone").c_str(), (dir / "dangling.htm").c_str()), 0);
  for (const char* name : {"folder.htm", "zero.htm", "dangling.htm", "missing.htm"}) {
    EXPECT_FALSE(buffer.ReadFileAt(folder, name)) << name;
    EXPECT_TRUE(buffer.View().empty()) << name;
  }
  // A pipe without a writer reads as nothing at once instead of waiting for one.
  buffer.ReadFileAt(folder, "pipe.htm");
  EXPECT_TRUE(buffer.View().empty());
  ::close(folder);

  // Swapping hands the bytes over whole.
  DocumentBuffer other;
  const int again = ::open(dir.Path().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_TRUE(buffer.ReadFileAt(again, "f1.htm"));
  ::close(again);
  other.swap(buffer);
  EXPECT_EQ(other.View(), "a");
  EXPECT_TRUE(buffer.View().empty());
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
