// The temporary-file writer: the old file whole until Commit, permissions kept, links
// followed, no temporary file left by a failure, an abandoned writer or a killed process.
#include "platform/AtomicFile.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <set>

#include "platform/Errors.h"
#include "platform/FileRead.h"
#include "support/TempFolder.h"

namespace pagelathe {
namespace {

std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name != "." && name != "..") names.insert(name);
  }
  ::closedir(dir);
  return names;
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

TEST(AtomicFile, ReplacesOnlyAtCommitAndKeepsPermissions) {
  testing::TempFolder dir;
  const std::string path = dir.Write("f.txt", "old");
  ::chmod(path.c_str(), 0604);
  {
    AtomicFile file(path);
    file.Write("new ");
    file.Write(std::string("\0bytes", 6));
    EXPECT_EQ(dir.Read("f.txt"), "old");  // not yet
    file.Commit();
  }
  EXPECT_EQ(dir.Read("f.txt"), std::string("new \0bytes", 10));
  EXPECT_EQ(ModeOf(path), 0604u);
  EXPECT_EQ(Entries(dir.Path()), std::set<std::string>{"f.txt"});

  WriteFileAtomic(dir / "fresh.txt", "x");
  EXPECT_EQ(ModeOf(dir / "fresh.txt"), 0666u & ~testing::CurrentUmask());
}

TEST(AtomicFile, AnAbandonedOrFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  testing::TempFolder dir;
  const std::string path = dir.Write("f.txt", "old");
  {
    AtomicFile file(path);
    file.Write("half");
  }  // never committed: as if an exception had left the writing code
  EXPECT_EQ(dir.Read("f.txt"), "old");
  EXPECT_EQ(Entries(dir.Path()), std::set<std::string>{"f.txt"});
  {
    const testing::ScopedFileSizeLimit limit(4);
    EXPECT_THROW(WriteFileAtomic(path, "too long for the limit"), EFileError);
  }
  EXPECT_EQ(dir.Read("f.txt"), "old");
  EXPECT_EQ(Entries(dir.Path()), std::set<std::string>{"f.txt"});
}

TEST(AtomicFile, RefusesTargetsThatAreNotRegularFiles) {
  testing::TempFolder dir;
  dir.MakeFolder("sub");
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  ASSERT_EQ(::symlink("fifo", (dir / "to-fifo").c_str()), 0);
  struct Case {
    std::string path;
    std::string message;
  };
  const Case cases[] = {
      {dir / "sub", "Cannot create file \"" + dir / "sub" + "\". It is a folder."},
      {dir / "fifo", "Cannot create file \"" + dir / "fifo" + "\". It is not a regular file."},
      {dir / "to-fifo",
       "Cannot create file \"" + dir / "to-fifo" + "\". It is not a regular file."},
      {dir / "missing/f.txt",
       "Cannot create file \"" + dir / "missing/f.txt" + "\". No such file or directory"},
      {"", "Cannot create file \"\". No file name."},
  };
  for (const Case& c : cases) {
    try {
      AtomicFile file(c.path);
      ADD_FAILURE() << c.path << " was opened";
    } catch (const EFileError& e) {
      EXPECT_EQ(e.what(), c.message);
    }
  }
  struct stat info {};
  ASSERT_EQ(::lstat((dir / "fifo").c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  EXPECT_EQ(Entries(dir.Path()), (std::set<std::string>{"fifo", "sub", "to-fifo"}));
}

TEST(AtomicFile, WritesThroughSymbolicLinks) {
  testing::TempFolder dir;
  dir.MakeFolder("real");
  dir.Write("real/target.txt", "old");
  ::chmod((dir / "real/target.txt").c_str(), 0640);
  ASSERT_EQ(::symlink("real/target.txt", (dir / "link.txt").c_str()), 0);  // relative
  ASSERT_EQ(::symlink((dir / "link.txt").c_str(), (dir / "chain.txt").c_str()), 0);
  ASSERT_EQ(::symlink("real/new.txt", (dir / "dangling.txt").c_str()), 0);
  ASSERT_EQ(::symlink("loop2", (dir / "loop1").c_str()), 0);
  ASSERT_EQ(::symlink("loop1", (dir / "loop2").c_str()), 0);

  WriteFileAtomic(dir / "chain.txt", "via chain");
  EXPECT_EQ(dir.Read("real/target.txt"), "via chain");
  EXPECT_EQ(ModeOf(dir / "real/target.txt"), 0640u);
  WriteFileAtomic(dir / "dangling.txt", "created");
  EXPECT_EQ(dir.Read("real/new.txt"), "created");
  for (const char* link : {"link.txt", "chain.txt", "dangling.txt"}) {
    struct stat info {};
    ASSERT_EQ(::lstat((dir / link).c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << link;
  }
  EXPECT_THROW(WriteFileAtomic(dir / "loop1", "x"), EFileError);
  EXPECT_EQ(Entries(dir / "real"), (std::set<std::string>{"new.txt", "target.txt"}));
}

TEST(AtomicFile, TwoWritersOfOneFileUseTheirOwnTemporaryFiles) {
  testing::TempFolder dir;
  const std::string path = dir.Write("f.txt", "old");
  AtomicFile first(path);
  AtomicFile second(path);
  first.Write("first");
  second.Write("second");
  second.Commit();
  EXPECT_EQ(dir.Read("f.txt"), "second");
  first.Commit();
  EXPECT_EQ(dir.Read("f.txt"), "first");
  EXPECT_EQ(Entries(dir.Path()), std::set<std::string>{"f.txt"});
}

// Leftovers of killed writers (the same hidden names, nobody holding their locks) are gone after
// the next write; one still held by a live writer is left alone.
TEST(AtomicFile, LeftoversOfAKilledWriterAreRemovedByTheNextWrite) {
  testing::TempFolder dir;
  const std::string path = dir.Write("f.txt", "old");
  dir.Write(".f.txt.pagelathe~0", "left by a killed run");
  dir.Write(".f.txt.pagelathe~1", "left by another");
  dir.Write(".f.txt.pagelathe~2", "and a third");
  WriteFileAtomic(path, "new");
  EXPECT_EQ(dir.Read("f.txt"), "new");
  EXPECT_EQ(Entries(dir.Path()), std::set<std::string>{"f.txt"});
  dir.Write(".f.txt.pagelathe~1", "left by another");

  // Held under its lock by a writer that is alive: not touched, the next name is used.
  const int held = ::open((dir / ".f.txt.pagelathe~1").c_str(), O_RDWR);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  {
    AtomicFile a(path);  // ~0
    AtomicFile b(path);  // ~1 is held: ~2
    b.Write("b");
    b.Commit();
    a.Write("a");
    a.Commit();
  }
  EXPECT_EQ(dir.Read(".f.txt.pagelathe~1"), "left by another");
  ::close(held);
  WriteFileAtomic(path, "last");
  EXPECT_EQ(dir.Read("f.txt"), "last");
  EXPECT_EQ(Entries(dir.Path()), std::set<std::string>{"f.txt"});  // its writer has gone
}

// A leftover bears the mode of the file it was to replace: for a read-only file it can be
// locked but not opened for writing. Run as an ordinary user (root ignores the modes).
TEST(AtomicFile, ALeftoverOfAReadOnlyFileIsRemovedByTheNextWrite) {
  testing::TempFolder dir;
  const std::string path = dir.Write("ro.txt", "old");
  const std::string leftover = dir.Write(".ro.txt.pagelathe~0", "left by a killed run");
  const uid_t nobody = 65534;
  for (const std::string& file : {path, leftover}) {
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    if (::geteuid() == 0) {
      ASSERT_EQ(::chown(file.c_str(), nobody, nobody), 0);
    }
  }
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(dir.Path().c_str(), nobody, nobody), 0);
  }
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(nobody) != 0 || ::setuid(nobody) != 0)) ::_exit(2);
    try {
      WriteFileAtomic(path, "new");
    } catch (...) {
      ::_exit(1);
    }
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(dir.Read("ro.txt"), "new");
  EXPECT_EQ(ModeOf(path), 0444u);
  EXPECT_EQ(Entries(dir.Path()), std::set<std::string>{"ro.txt"});
}

// Writers killed at any moment leave the file old or new, never partial, and temporary
// files never pile up. The children are killed after varying amounts of work, not times.
TEST(AtomicFile, KilledWritersLeaveTheOldOrTheNewFile) {
  testing::TempFolder dir;
  const std::string old_bytes(300000, 'o');
  const std::string new_bytes(500000, 'n');
  const std::string path = dir / "settings.ini";
  WriteFileAtomic(path, old_bytes);
  for (int run = 0; run < 20; ++run) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(ready[0]);
      for (int round = 0;; ++round) {
        AtomicFile file(path);
        for (size_t at = 0; at < new_bytes.size(); at += 4096) {
          file.Write(std::string_view(new_bytes).substr(at, 4096));
          if (round == 0 && at == 4096 * static_cast<size_t>(run)) {
            const char byte = 'r';
            (void)!::write(ready[1], &byte, 1);  // the parent kills us from here on
          }
        }
        file.Commit();
        WriteFileAtomic(path, old_bytes);
      }
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string now = ReadUserFile(path);
    EXPECT_TRUE(now == old_bytes || now == new_bytes) << "run " << run << ": " << now.size();
    EXPECT_LE(Entries(dir.Path()).size(), 2u) << run;  // the file and at most one leftover
  }
  WriteFileAtomic(path, "done");
  EXPECT_EQ(Entries(dir.Path()), std::set<std::string>{"settings.ini"});
}

}  // namespace
}  // namespace pagelathe
