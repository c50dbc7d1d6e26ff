// Safe reads of a user's file: whole regular files by path and into a reused buffer, and what
// must be refused at once rather than waited on or read for ever.
#include "platform/FileRead.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Errors.h"
#include "support/TempFolder.h"

namespace pagelathe {
namespace {

std::string Pattern(size_t size) {
  std::string bytes(size, 'x');
  for (size_t i = 0; i < size; i += 997)
    bytes[i] = static_cast<char>(i % 251);
  return bytes;
}

// Reads `name` of `dir` both ways and checks that they agree on the outcome.
ReadStatus ReadBothWays(const testing::TempFolder& dir, const std::string& name, uint64_t limit,
                        std::string& bytes) {
  const ReadResult by_path = TryReadUserFile(dir / name, limit, bytes);
  FileBuffer buffer;
  const ReadResult at_folder = buffer.ReadAt(AT_FDCWD, dir / name, limit);
  EXPECT_EQ(by_path.status, at_folder.status) << name;
  if (by_path.ok()) {
    EXPECT_EQ(buffer.View(), bytes) << name;
  } else {
    EXPECT_TRUE(bytes.empty()) << name;
  }
  if (!at_folder.ok()) {
    EXPECT_EQ(buffer.size(), 0u) << name;
  }
  return by_path.status;
}

TEST(FileRead, RegularFilesOfEverySizeAroundTheBufferSteps) {
  testing::TempFolder dir;
  for (const size_t size : {0, 1, 65535, 65536, 65537, 300000, 1 << 20}) {
    const std::string bytes = Pattern(size);
    const std::string name = std::string("f").append(std::to_string(size));
    dir.Write(name, bytes);
    std::string read;
    EXPECT_EQ(ReadBothWays(dir, name, kDocumentLimit, read), ReadStatus::kOk) << size;
    EXPECT_EQ(read, bytes) << size;
  }
}

TEST(FileRead, RefusesWhatIsNotARegularFileOrTooLarge) {
  testing::TempFolder dir;
  dir.MakeFolder("folder");
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  ASSERT_EQ(::symlink("/dev/zero", (dir / "zero").c_str()), 0);
  ASSERT_EQ(::symlink("/dev/urandom", (dir / "random").c_str()), 0);
  dir.Write("limit", std::string(1000, 'a'));
  dir.Write("over", std::string(1001, 'a'));
  {  // a terabyte of holes: refused by its size, never allocated
    const int fd = ::open((dir / "sparse").c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t{1} << 40), 0);
    ::close(fd);
  }
  struct Case {
    const char* name;
    uint64_t limit;
    ReadStatus status;
  };
  const Case cases[] = {
      {"folder", kDocumentLimit, ReadStatus::kNotRegular},
      {"fifo", kDocumentLimit, ReadStatus::kNotRegular},
      {"zero", kDocumentLimit, ReadStatus::kNotRegular},
      {"random", kDocumentLimit, ReadStatus::kNotRegular},
      {"sparse", kDocumentLimit, ReadStatus::kTooLarge},
      {"limit", 1000, ReadStatus::kOk},
      {"over", 1000, ReadStatus::kTooLarge},
      {"missing", kDocumentLimit, ReadStatus::kCannotOpen},
  };
  for (const Case& c : cases) {
    std::string bytes;
    EXPECT_EQ(ReadBothWays(dir, c.name, c.limit, bytes), c.status) << c.name;
  }
}

TEST(FileRead, APipeWithAWriterIsRefusedWithoutWaitingForIt) {
  testing::TempFolder dir;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  // A writer that keeps the pipe open and sends nothing: a blocking read would wait for ever.
  const int reader = ::open((dir / "fifo").c_str(), O_RDONLY | O_NONBLOCK);
  const int writer = ::open((dir / "fifo").c_str(), O_WRONLY | O_NONBLOCK);
  ASSERT_GE(writer, 0);
  std::string bytes;
  EXPECT_EQ(TryReadUserFile(dir / "fifo", kDocumentLimit, bytes).status, ReadStatus::kNotRegular);
  FileBuffer buffer;
  EXPECT_FALSE(buffer.ReadAt(AT_FDCWD, dir / "fifo").ok());
  ::close(writer);
  ::close(reader);
}

TEST(FileRead, MessagesNameTheFileAndTheReason) {
  testing::TempFolder dir;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  dir.Write("big", std::string(3 << 20, 'a'));
  struct Case {
    std::string path;
    uint64_t limit;
    std::string message;
  };
  // Built by appending: GCC 12 misreports "literal" + string + "literal" chains.
  auto message = [](std::string what, const std::string& path, const char* reason) {
    return what.append(" file \"").append(path).append("\". ").append(reason);
  };
  const Case cases[] = {
      {dir / "fifo", kDocumentLimit,
       message("Cannot read", dir / "fifo", "It is not a regular file.")},
      {dir / "big", 2 << 20, message("Cannot read", dir / "big", "It is larger than 2 MB.")},
      {dir / "none", kDocumentLimit,
       message("Cannot open", dir / "none", "No such file or directory")},
  };
  for (const Case& c : cases) {
    try {
      (void)ReadUserFile(c.path, c.limit);
      ADD_FAILURE() << c.path << " was read";
    } catch (const EFileError& e) {
      EXPECT_EQ(e.what(), c.message);
    }
  }
  EXPECT_EQ(ReadFailureMessage("/x", {ReadStatus::kNoMemory, 0}, kDocumentLimit),
            "Cannot read file \"/x\". Not enough memory.");
}

TEST(FileBuffer, ReusedStorageShowsOnlyTheLastFile) {
  testing::TempFolder dir;
  dir.Write("long", Pattern(200000));
  dir.Write("short", "abc");
  FileBuffer buffer;
  ASSERT_TRUE(buffer.ReadAt(AT_FDCWD, dir / "long").ok());
  ASSERT_TRUE(buffer.ReadAt(AT_FDCWD, dir / "short").ok());
  EXPECT_EQ(buffer.View(), "abc");
  FileBuffer other;
  other.swap(buffer);
  EXPECT_EQ(other.View(), "abc");
  EXPECT_TRUE(buffer.View().empty());
}

}  // namespace
}  // namespace pagelathe
