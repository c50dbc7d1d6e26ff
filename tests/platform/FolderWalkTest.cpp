// The folder walk: depth-first order, counters, links not followed, the listings it hands
// on, deep trees.
#include "platform/FolderWalk.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>

#include "support/TempFolder.h"

namespace pagelathe {
namespace {

TEST(FolderWalk, DepthFirstWithCounters) {
  testing::TempFolder dir;
  dir.Write("root/a.txt", "");
  dir.Write("root/.hidden", "");
  dir.Write("root/x/y/deep.htm", "");
  dir.MakeFolder("root/z");
  TextList folders = {"first"};
  FolderCounters counters;
  CollectFolders(dir / "root", folders, counters);
  ASSERT_EQ(folders.size(), 4u);
  EXPECT_EQ(folders[0], "first");  // appended, never cleared
  // x must come right before x/y, whatever order the file system gives x and z in.
  const auto x = std::find(folders.begin(), folders.end(), dir / "root/x");
  ASSERT_NE(x, folders.end());
  EXPECT_EQ(*(x + 1), dir / "root/x/y");
  EXPECT_NE(std::find(folders.begin(), folders.end(), dir / "root/z"), folders.end());
  EXPECT_EQ(counters.FolderCount, 3);
  EXPECT_EQ(counters.FileCount, 3);
}

TEST(FolderWalk, LinksAreCountedNotFollowedAndMissingFoldersAddNothing) {
  testing::TempFolder dir;
  dir.MakeFolder("root/sub");
  ASSERT_EQ(::symlink((dir / "root").c_str(), (dir / "root/sub/loop").c_str()), 0);
  TextList folders;
  FolderCounters counters;
  CollectFolders(dir / "root/", folders, counters);
  EXPECT_EQ(folders, TextList{dir / "root/sub"});
  EXPECT_EQ(counters.FolderCount, 1);
  EXPECT_EQ(counters.FileCount, 1);

  TextList none;
  FolderCounters zero;
  CollectFolders(dir / "missing", none, zero);
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(zero.FolderCount + zero.FileCount, 0);
}

// The listings the walk hands on line up with the folder list (the start folder first), hold
// the entries that are not folders (links to folders among them), and an unreadable folder
// still gets its (empty) place.
TEST(FolderWalk, HandsOnEachFolderListingInListOrder) {
  testing::TempFolder dir;
  dir.Write("root/top.htm", "");
  dir.Write("root/a/one.htm", "");
  dir.Write("root/a/two.txt", "");
  dir.Write("root/a/inner/three.htm", "");
  dir.MakeFolder("root/b");
  ASSERT_EQ(::symlink((dir / "root/a").c_str(), (dir / "root/b/to-a").c_str()), 0);
  dir.MakeFolder("root/locked");
  dir.Write("root/locked/hidden.htm", "");
  ASSERT_EQ(::chmod((dir / "root/locked").c_str(), 0), 0);
  const bool can_read_locked = ::access((dir / "root/locked").c_str(), R_OK) == 0;  // root can

  TextList folders = {dir / "root"};
  FolderCounters counters;
  const FolderTree tree = WalkFolders(dir / "root", folders, counters, nullptr, true);
  std::vector<std::vector<std::string>> listed;
  for (const std::vector<FolderEntry>& entries : tree.listings) {
    std::vector<std::string> names;
    for (const FolderEntry& entry : entries)
      names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    listed.push_back(names);
  }
  ::chmod((dir / "root/locked").c_str(), 0700);
  ASSERT_EQ(listed.size(), folders.size());
  const std::map<std::string, std::vector<std::string>> expected = {
      {dir / "root", {"top.htm"}},
      {dir / "root/a", {"one.htm", "two.txt"}},
      {dir / "root/a/inner", {"three.htm"}},
      {dir / "root/b", {"to-a"}},
      {dir / "root/locked",
       can_read_locked ? std::vector<std::string>{"hidden.htm"} : std::vector<std::string>{}},
  };
  for (size_t i = 0; i < folders.size(); ++i) {
    ASSERT_TRUE(expected.count(folders[i])) << folders[i];
    EXPECT_EQ(listed[i], expected.at(folders[i])) << folders[i];
  }
}

TEST(FolderWalk, DeepTreeNeedsNoRecursion) {
  testing::TempFolder dir;
  std::string path = "d";
  for (int i = 0; i < 300; ++i)
    path += "/d";
  dir.MakeFolder(path);
  TextList folders;
  FolderCounters counters;
  CollectFolders(dir.Path(), folders, counters);
  EXPECT_EQ(counters.FolderCount, 301);
  EXPECT_EQ(folders.back(), dir / path);
}

TEST(FolderWalk, StopFlagEndsTheWalk) {
  testing::TempFolder dir;
  dir.MakeFolder("a/b/c");
  std::atomic<bool> stop{true};
  TextList folders;
  FolderCounters counters;
  CollectFolders(dir.Path(), folders, counters, &stop);
  EXPECT_TRUE(folders.empty());
}

}  // namespace
}  // namespace pagelathe
