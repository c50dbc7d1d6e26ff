// Safe replacement of files and path joining.
#include "platform/FileIO.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/Errors.h"
#include "platform/FileRead.h"
#include "platform/Paths.h"
#include "support/TempFolder.h"

namespace pagelathe {
namespace {

int CountEntries(const std::string& folder) {
  int n = 0;
  DIR* dir = ::opendir(folder.c_str());
  while (const dirent* e = ::readdir(dir))
    n += e->d_name[0] != '.';
  ::closedir(dir);
  return n;
}

TEST(FileIO, ReplacesAFileAndKeepsItsPermissions) {
  testing::TempFolder dir;
  const std::string path = dir.Write("f.txt", "old");
  ::chmod(path.c_str(), 0640);
  WriteFileAtomic(path, std::string("new\0bytes", 9));
  EXPECT_EQ(ReadUserFile(path), std::string("new\0bytes", 9));
  struct stat info {};
  ::stat(path.c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(CountEntries(dir.Path()), 1);  // no temporary file left
}

TEST(FileIO, FailedWriteLeavesNothingBehind) {
  testing::TempFolder dir;
  dir.MakeFolder("sub");
  EXPECT_THROW(WriteFileAtomic(dir / "sub", "x"), EFileError);  // a folder is not replaced
  EXPECT_THROW(WriteFileAtomic(dir / "missing/f.txt", "x"), EFileError);
  EXPECT_EQ(CountEntries(dir.Path()), 1);
}

TEST(FileIO, Paths) {
  struct Case {
    std::string a, b, joined;
  };
  for (const auto& c : std::vector<Case>{{"/a", "b", "/a/b"}, {"/a/", "b", "/a/b"}, {"", "b", "b"}})
    EXPECT_EQ(JoinPath(c.a, c.b), c.joined);
  EXPECT_EQ(WithFinalSlash("/a/b"), "/a/b/");
  EXPECT_EQ(WithFinalSlash("/a/b//"), "/a/b/");
  EXPECT_EQ(WithFinalSlash("/"), "/");
  EXPECT_EQ(SettingsFileFor("/opt/bp/brevanoth-pagelathe"), "/opt/bp/brevanoth-pagelathe.ini");
  EXPECT_EQ(SettingsFileFor("/opt/b.p/prog.exe"), "/opt/b.p/prog.ini");
  EXPECT_EQ(SettingsFileFor("/opt/b.p/prog"), "/opt/b.p/prog.ini");
  EXPECT_EQ(FolderOf("/opt/bp/prog"), "/opt/bp/");
}

}  // namespace
}  // namespace pagelathe
