// Masks of the file-type choosers and the folder listing of the file lists.
#include "platform/FolderList.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "support/TempFolder.h"

namespace pagelathe {
namespace {

TEST(FolderList, Masks) {
  struct Case {
    std::string name, masks;
    bool match;
  };
  const std::vector<Case> cases = {
      {"index.htm", "*.htm", true},
      {"INDEX.HTM", "*.htm", true},
      {"index.html", "*.htm", true},  // three-letter extension takes longer ones
      {"index.shtml", "*.htm", false},
      {"index.shtml", "*.htm;*.shtm", true},
      {"index.SHTML", "*.shtm", true},
      {"index.sht", "*.shtm", false},
      {"a.tx", "*.txt", false},
      {"a.txt", "*.txt", true},
      {"a.txt.bak", "*.txt", false},
      {"a.html", "*.html", true},
      {"a.ht", "*.h", false},
      {"a.hx", "*.h", false},      // one letter: no short-name rule
      {"a.htmx", "*.h?m", false},  // wildcards: no short-name rule
      {"noext", "*.*", true},
      {"noext", "*", true},
      {"a.php", "*.htm; *.php", true},
      {"page1.htm", "page?.htm", true},
      {"page12.htm", "page?.htm", false},
      {"ФАЙЛ.TXT", "*.txt", true},
      {"\xD4\xC0\xC9\xCB.Htm", "*.htm", true},  // a name of any bytes
      {"a.htm", "", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MatchesMasks(c.name, c.masks), c.match) << c.name << " ~ " << c.masks;
}

TEST(FolderList, ParsesFilterTexts) {
  const auto entries =
      ParseFilter("HTML files (*.htm, *.html)|*.htm;*.shtm|Text files (*.txt)|*.txt|Odd");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].description, "HTML files (*.htm, *.html)");
  EXPECT_EQ(entries[0].masks, "*.htm;*.shtm");
  EXPECT_EQ(entries[1].masks, "*.txt");
  EXPECT_EQ(entries[2].masks, "*.*");
  EXPECT_TRUE(ParseFilter("").empty());
}

TEST(FolderList, ListsVisibleMatchingFilesSortedWithoutCase) {
  testing::TempFolder dir;
  for (const char* name : {"b.htm", "A.html", "c.txt", ".hidden.htm", "a.htm", "Z.HTM"})
    dir.Write(name, "x");
  dir.MakeFolder("folder.htm");
  ASSERT_EQ(::symlink((dir / "c.txt").c_str(), (dir / "link.htm").c_str()), 0);
  EXPECT_EQ(ListFiles(dir.Path(), "*.htm"),
            (std::vector<std::string>{"a.htm", "A.html", "b.htm", "link.htm", "Z.HTM"}));
  EXPECT_EQ(ListFiles(dir.Path(), "*.*").size(), 6u);
  EXPECT_TRUE(ListFiles(dir / "missing", "*.*").empty());
}

}  // namespace
}  // namespace pagelathe
