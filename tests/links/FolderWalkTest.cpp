// The folder walk: depth-first order, counters, links not followed, deep trees.
#include "tools/links/FolderWalk.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

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
