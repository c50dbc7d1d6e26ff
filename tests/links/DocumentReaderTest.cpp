// Reading the documents of a search: which files are documents, the read of one file, and the
// reader's steps through folders and documents, from its own listings or from a walk's.
#include "tools/links/DocumentReader.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "support/TempFolder.h"
#include "support/UnreadableFiles.h"

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
    const std::string name = std::string("f").append(std::to_string(size)).append(".htm");
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

struct Step {
  bool folder_start;
  size_t folder;
  std::string name;
  int percent;
  std::string bytes;
  bool failed = false;  // a document that could not be read
  bool operator==(const Step&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Step& step) {
  return out << step.folder_start << " " << step.folder << " " << step.name << " " << step.percent
             << " (" << step.bytes.size() << " bytes)" << (step.failed ? " failed" : "");
}

// Compares step by step, so that a difference is named with its place.
void ExpectSteps(const std::vector<Step>& actual, const std::vector<Step>& expected,
                 const std::string& what) {
  EXPECT_EQ(actual.size(), expected.size()) << what;
  for (size_t i = 0; i < std::min(actual.size(), expected.size()); ++i)
    EXPECT_EQ(actual[i], expected[i]) << what << ", step " << i;
}

// Every step of a reader. Every third document is kept by swapping its buffer out, as the
// page keeps the last document; kept bytes must stay as they were while reading goes on.
std::vector<Step> ReadAll(const TextList& folders, const std::string& masks,
                          std::vector<std::vector<FolderEntry>> listings = {}) {
  FolderTree tree = FoldersByPath(folders);
  tree.listings = std::move(listings);
  DocumentReader reader(folders, std::move(tree), masks, nullptr);
  std::vector<Step> steps;
  DocumentReader::Item item;
  DocumentBuffer kept;
  std::string kept_bytes;
  while (reader.Next(item)) {
    steps.push_back({item.folder_start, item.folder, item.name, item.percent,
                     std::string(item.document.View()), !item.failure.empty()});
    if (!item.folder_start && steps.size() % 3 == 0) {
      EXPECT_EQ(kept.View(), kept_bytes);
      kept.swap(item.document);
      kept_bytes = std::string(kept.View());
    }
  }
  EXPECT_EQ(kept.View(), kept_bytes);
  EXPECT_FALSE(reader.Next(item));  // the end stays the end
  return steps;
}

TEST(DocumentReader, ReadsFoldersThenTheirDocumentsInListOrder) {
  testing::TempFolder dir;
  std::vector<Step> expected;
  expected.push_back({true, 0, "", 0, ""});
  // Sizes that fit the first buffer, fill it, and grow it several times.
  std::vector<std::string> names;
  for (int i = 0; i < 30; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "d%02d.htm", i);
    names.push_back(name);
  }
  names.push_back("z.gif");  // listed, not a document
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == "z.gif") {
      dir.Write("root/" + names[i], "GIF");
      continue;
    }
    const size_t size = i % 10 == 7 ? 65536 * (i + 1) + i : i * 97;
    std::string bytes(size, static_cast<char>('a' + i % 26));
    dir.Write("root/" + names[i], bytes);
    expected.push_back({false, 0, names[i], static_cast<int>(100 * i / names.size()), bytes});
  }
  // A dangling link is not listed at all.
  ASSERT_EQ(::symlink((dir / "gone").c_str(), (dir / "root/d99.htm").c_str()), 0);
  dir.MakeFolder("empty");
  expected.push_back({true, 1, "", 0, ""});
  expected.push_back({true, 2, "", 0, ""});  // a folder that is gone by now
  dir.Write("sub/Index.HTML", "http://a.org");
  dir.Write("sub/notes.txt", "");
  expected.push_back({true, 3, "", 0, ""});
  expected.push_back({false, 3, "Index.HTML", 0, "http://a.org"});
  expected.push_back({false, 3, "notes.txt", 50, ""});

  const TextList folders = {dir / "root", dir / "empty", dir / "missing", dir / "sub/"};
  // The same from listings a walk read before, where the folder gone has nothing to read.
  std::vector<std::vector<FolderEntry>> listings;
  for (const std::string& folder : folders)
    listings.push_back(ReadFolderEntries(folder));
  ExpectSteps(ReadAll(folders, "*.*", listings), expected, "listed before");
  // Listed by the reader, the folder gone is named as failed.
  expected.insert(expected.begin() + 33, {false, 2, dir / "missing", 0, "", true});
  ExpectSteps(ReadAll(folders, "*.*"), expected, "listed by the reader");
  // The masks of the file list narrow the documents.
  EXPECT_EQ(ReadAll({dir / "sub"}, "*.txt"),
            (std::vector<Step>{{true, 0, "", 0, ""}, {false, 0, "notes.txt", 0, ""}}));
}

TEST(DocumentReader, ListingsReadBeforeMayBeOutOfDate) {
  testing::TempFolder dir;
  dir.Write("a.htm", "a");
  dir.Write("b.htm", "b");
  const TextList folders = {dir.Path()};
  const std::vector<std::vector<FolderEntry>> listings = {ReadFolderEntries(dir.Path())};
  ASSERT_EQ(::unlink((dir / "a.htm").c_str()), 0);  // gone since: named as failed
  dir.Write("c.htm", "c");                          // new since: not in the listing
  EXPECT_EQ(ReadAll(folders, "*.*", listings), (std::vector<Step>{{true, 0, "", 0, ""},
                                                                  {false, 0, "a.htm", 0, "", true},
                                                                  {false, 0, "b.htm", 50, "b"}}));
}

// What was put in the place of a listed document since the listing (a pipe, a link to an
// endless device, a huge sparse file), and the documents of a folder gone since, are named
// with the reason at once; the documents around them are read.
TEST(DocumentReader, WhatCannotBeReadIsNamedWithTheReason) {
  testing::TempFolder dir;
  for (const char* name : {"a.htm", "fifo.htm", "sparse.htm", "z.htm", "zero.htm"})
    dir.Write(std::string("docs/") + name, name);
  dir.Write("gone/g.htm", "g");
  const TextList folders = {dir / "docs/", dir / "gone/"};
  std::vector<std::vector<FolderEntry>> listings;
  for (const std::string& folder : folders)
    listings.push_back(ReadFolderEntries(folder));
  for (const char* name : {"docs/fifo.htm", "docs/sparse.htm", "docs/zero.htm", "gone/g.htm"})
    ASSERT_EQ(::unlink((dir / name).c_str()), 0);
  ASSERT_EQ(::rmdir((dir / "gone").c_str()), 0);
  testing::MakeUnreadableFiles(dir / "docs/", ".htm");
  const testing::FifoWatchdog watchdog(dir / "docs/fifo.htm");

  FolderTree tree = FoldersByPath(folders);
  tree.listings = std::move(listings);
  DocumentReader reader(folders, std::move(tree), "*.*", nullptr);
  DocumentReader::Item item;
  std::vector<std::pair<std::string, std::string>> read;  // name, bytes or failure
  while (reader.Next(item)) {
    if (item.folder_start) continue;
    EXPECT_TRUE(item.failure.empty() || item.document.View().empty()) << item.name;
    read.emplace_back(item.name,
                      item.failure.empty() ? std::string(item.document.View()) : item.failure);
  }
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"a.htm", "a.htm"},
      {"fifo.htm",
       "Cannot read file \"" + dir.Path() + "docs/fifo.htm\". It is not a regular file."},
      {"sparse.htm",
       "Cannot read file \"" + dir.Path() + "docs/sparse.htm\". It is larger than 1024 MB."},
      {"z.htm", "z.htm"},
      {"zero.htm",
       "Cannot read file \"" + dir.Path() + "docs/zero.htm\". It is not a regular file."},
      {dir / "gone/", "Cannot open folder \"" + dir.Path() + "gone/\". No such file or directory"},
  };
  EXPECT_EQ(read, expected);
}

TEST(DocumentReader, StopsBetweenDocuments) {
  testing::TempFolder dir;
  for (int i = 0; i < 10; ++i)
    dir.Write(std::string("f").append(std::to_string(i)).append(".htm"), "x");
  const TextList folders = {dir.Path(), dir.Path()};
  std::atomic<bool> stop{false};
  DocumentReader reader(folders, FoldersByPath(folders), "*.*", &stop);
  DocumentReader::Item item;
  int steps = 0;
  while (reader.Next(item)) {
    if (++steps == 4) stop = true;
  }
  EXPECT_EQ(steps, 4);             // the folder and three documents
  stop = false;                    // a stopped reader is not restarted by clearing the flag ...
  EXPECT_TRUE(reader.Next(item));  // ... it goes on where it was
  EXPECT_EQ(item.name, "f3.htm");
}

}  // namespace
}  // namespace pagelathe
