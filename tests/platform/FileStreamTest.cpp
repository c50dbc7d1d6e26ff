// Streamed reads of a user's input: what is read, what is refused, and the limit.
#include "platform/FileStream.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

#include "support/TempFolder.h"

namespace pagelathe {
namespace {

std::string ReadAll(UserFileStream& stream, size_t piece = 7) {
  std::string bytes, buffer(piece, '\0');
  while (const size_t n = stream.Read(buffer.data(), buffer.size()))
    bytes.append(buffer.data(), n);
  return bytes;
}

TEST(UserFileStream, OpensWhatItMayAndRefusesTheRest) {
  testing::TempFolder dir;
  dir.Write("small", "0123456789");
  dir.Write("over", std::string(101, 'x'));
  dir.MakeFolder("folder");
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  struct Case {
    std::string name;
    UserFileStream::Accept accept;
    ReadStatus status;
  };
  const Case cases[] = {
      {"small", UserFileStream::Accept::kRegularOnly, ReadStatus::kOk},
      {"missing", UserFileStream::Accept::kRegularOrFifo, ReadStatus::kCannotOpen},
      {"folder", UserFileStream::Accept::kRegularOrFifo, ReadStatus::kNotRegular},
      {"fifo", UserFileStream::Accept::kRegularOnly, ReadStatus::kNotRegular},
      {"over", UserFileStream::Accept::kRegularOrFifo, ReadStatus::kTooLarge},
  };
  for (const Case& c : cases) {
    UserFileStream stream;
    EXPECT_EQ(stream.Open(dir / c.name, c.accept, 100).status, c.status) << c.name;
  }
  {
    UserFileStream stream;  // /dev/zero would never end: it is no regular file
    EXPECT_EQ(stream.Open("/dev/zero", UserFileStream::Accept::kRegularOrFifo).status,
              ReadStatus::kNotRegular);
  }
}

TEST(UserFileStream, ReadsAFileTwiceAndAFifoToItsEndWithinTheLimit) {
  testing::TempFolder dir;
  dir.Write("file", "first pass, second pass");
  UserFileStream file;
  ASSERT_TRUE(file.Open(dir / "file", UserFileStream::Accept::kRegularOnly).ok());
  EXPECT_FALSE(file.IsStream());
  EXPECT_EQ(ReadAll(file), "first pass, second pass");
  ASSERT_TRUE(file.Rewind());
  EXPECT_EQ(ReadAll(file, 3), "first pass, second pass");

  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  for (const size_t size : {size_t{50}, size_t{51}}) {
    // The writer may come before or after the reader opens, as a user's pipe may; the open
    // waits for it.
    std::thread writer([&] {
      FILE* out = std::fopen((dir / "fifo").c_str(), "w");
      std::fputs(std::string(size, 'y').c_str(), out);
      std::fclose(out);
    });
    UserFileStream fifo;
    ASSERT_TRUE(fifo.Open(dir / "fifo", UserFileStream::Accept::kRegularOrFifo, 50).ok());
    EXPECT_TRUE(fifo.IsStream());
    EXPECT_FALSE(fifo.Rewind());
    const std::string bytes = ReadAll(fifo);
    writer.join();
    if (size <= 50) {
      EXPECT_EQ(bytes, std::string(size, 'y'));
      EXPECT_TRUE(fifo.Status().ok());
    } else {
      EXPECT_EQ(fifo.Status().status, ReadStatus::kTooLarge);
    }
  }
}

}  // namespace
}  // namespace pagelathe
