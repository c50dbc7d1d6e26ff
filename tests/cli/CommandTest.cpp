// The program as a whole: exit statuses, messages and usage texts, the help of every command,
// the inputs it refuses, and the files it writes (replaced whole, or written straight to what
// is no regular file).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <thread>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ProcessRunner.h"
#include "support/TempFolder.h"

namespace pagelathe {
namespace {

using testing::RunPagelathe;

struct StatusCase {
  std::vector<std::string> arguments;
  int status;
  std::string err_part;  // the message must hold this; empty: standard error stays empty
};

TEST(Command, ExitStatusesAndMessages) {
  const StatusCase cases[] = {
      {{"--version"}, 0, ""},
      {{"--help"}, 0, ""},
      {{"color", "--help"}, 0, ""},
      {{}, 2, "no command given"},
      {{"shout"}, 2, "unknown command 'shout'"},
      {{"--frobnicate"}, 2, "unknown option '--frobnicate'"},
      {{"links", "--frobnicate", "x"}, 2, "unknown option '--frobnicate'"},
      {{"links"}, 2, "no PATH given"},
      {{"links", "-p"}, 2, "option '-p' needs a value"},
      {{"links", "-p", "mailto:", "x"}, 2, "'mailto:' is not one of"},
      {{"links", "--type=short", "x"}, 2, "'short' is not one of full domain name"},
      {{"links", "--view", "pdf", "x"}, 2, "'pdf' is not one of link html bb"},
      {{"links", "--raw=yes", "x"}, 2, "option '--raw' takes no value"},
      {{"links", "--url", "http://a/", "x"}, 2, "either --url or PATH"},
      {{"links", "/no/such/folder"}, 1, "\"/no/such/folder\". No such file or directory"},
      {{"convert"}, 2, "no FILE given"},
      {{"convert", "--to-text", "--to-html", "a"}, 2, "either --to-text or --to-html"},
      {{"convert", "--limit", "7x", "a"}, 2, "'7x' is not a valid integer value"},
      {{"convert", "--subfolders", "a"}, 2, "need SOURCE and RESULT"},
      {{"convert", "/no/such/file.htm"}, 1, "Cannot open file \"/no/such/file.htm\""},
      {{"convert", "/no/such/folder", "/tmp"}, 1, "Cannot open folder \"/no/such/folder\""},
      {{"keywords", "--min-length", "four", "-"}, 2, "'four' is not a valid integer value"},
      {{"keywords", "--sort", "length", "-"}, 2, "'length' is not one of count word"},
      {{"keywords", "a", "b"}, 2, "one FILE only"},
      {{"keywords", "/"}, 1, "Cannot read file \"/\". It is not a regular file."},
      {{"page"}, 2, "no --title given"},
      {{"page", "--title", "T", "extra"}, 2, "unexpected operand 'extra'"},
      {{"page", "--title", "T", "--text", "/no/such/text"}, 1, "No such file or directory"},
      {{"color", "1", "2"}, 2, "give R G B"},
      {{"color", "1", "2", "256"}, 2, "blue: 256 is not from 0 to 255"},
      {{"color", "1", "x", "3"}, 2, "green: 'x' is not a valid integer value"},
      {{"gradient"}, 2, "no TEXT given"},
      {{"gradient", "--from", "1,2", "ab"}, 2, "'1,2' is not R,G,B"},
      {{"gradient", "--size", "big", "ab"}, 2, "'big' is not a valid integer value"},
      {{"fetch"}, 2, "no URL given"},
      {{"fetch", ""}, 1, "Empty URL"},
      {{"fetch", "--cacert", "/no/such.pem", "https://127.0.0.1:1/"},
       1,
       "Cannot read the certificate authority file /no/such.pem: No such file or directory"},
      {{"links", "--url", "HTTPS://127.0.0.1:1/"}, 1, "Connection Failed"},
      {{"fetch", "http://127.0.0.1:0x/"}, 1, "'0x' is not a valid integer value"},
  };
  for (const StatusCase& c : cases) {
    const testing::ProcessResult result = RunPagelathe(c.arguments);
    const std::string shown = ::testing::PrintToString(c.arguments);
    EXPECT_EQ(result.status, c.status) << shown << "\n" << result.err;
    if (c.err_part.empty()) {
      EXPECT_EQ(result.err, "") << shown;
      EXPECT_NE(result.out, "") << shown;
    } else {
      EXPECT_NE(result.err.find(c.err_part), std::string::npos) << shown << "\n" << result.err;
      EXPECT_EQ(result.out, "") << shown;
    }
    // A usage error shows the usage and where to find more; a failure only its message.
    EXPECT_EQ(result.err.find("Usage: ") != std::string::npos, c.status == 2) << shown << "\n"
                                                                              << result.err;
  }
}

TEST(Command, EachHelpListsEveryOptionWithItsDefault) {
  for (const cli::Command& command : cli::AllCommands()) {
    const testing::ProcessResult result = RunPagelathe({command.name, "--help"});
    ASSERT_EQ(result.status, 0) << command.name;
    EXPECT_TRUE(result.out.starts_with("Usage: pagelathe " + command.name)) << result.out;
    for (const cli::OptionSpec& option : command.options) {
      EXPECT_NE(result.out.find("--" + option.long_name), std::string::npos)
          << command.name << " --" << option.long_name;
      if (!option.fallback.empty()) {
        EXPECT_NE(result.out.find("(default: " + option.fallback + ")"), std::string::npos)
            << command.name << " --" << option.long_name;
      }
    }
    EXPECT_NE(RunPagelathe({"--help"}).out.find("  " + command.name + " "), std::string::npos);
  }
}

TEST(Command, RefusesInputsThatAreNoDocumentsAndReadsAFifoAsAStream) {
  testing::TempFolder dir;
  // A sparse file of a terabyte costs no disk and must be refused before it is read.
  const std::string huge = dir / "huge.htm";
  {
    const int fd = ::open(huge.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t{1} << 40), 0);
    ::close(fd);
  }
  for (const std::vector<std::string>& arguments :
       std::vector<std::vector<std::string>>{{"convert", huge},
                                             {"convert", "--to-html", huge},
                                             {"keywords", huge},
                                             {"links", huge},
                                             {"page", "--title", "t", "--text", huge}}) {
    const testing::ProcessResult result = RunPagelathe(arguments);
    EXPECT_EQ(result.status, 1) << arguments[0];
    EXPECT_NE(result.err.find("\"" + huge + "\". It is larger than 1024 MB."), std::string::npos)
        << result.err;
  }
  // Inside a folder the same file is named and skipped; the other documents are done, and
  // the exit status says that one was left out.
  dir.Write("good.htm", "<a href=\"http://good.example/a\">a</a>");
  const std::string results = dir.MakeFolder("results");
  for (const std::vector<std::string>& arguments :
       std::vector<std::vector<std::string>>{{"links", "--no-subdirs", dir.Path()},
                                             {"convert", "--mask", "*.htm", dir.Path(), results}}) {
    const testing::ProcessResult result = RunPagelathe(arguments);
    EXPECT_EQ(result.status, 1) << arguments[0];
    EXPECT_NE(result.err.find("\"" + huge + "\". It is larger than 1024 MB."), std::string::npos)
        << result.err;
    if (arguments[0] == "links") {
      EXPECT_EQ(result.out, "http://good.example\n");
    }
  }
  EXPECT_EQ(dir.Read("results/good.txt"), "a\r\n");

  const testing::ProcessResult device = RunPagelathe({"keywords", "/dev/zero"});
  EXPECT_EQ(device.status, 1);
  EXPECT_NE(device.err.find("It is not a regular file."), std::string::npos) << device.err;

  // A FIFO named as input is read to its end, whoever comes first, writer or reader.
  const std::string fifo = dir / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const char* command : {"keywords", "links", "convert"}) {
    std::thread writer([&] {
      FILE* out = std::fopen(fifo.c_str(), "w");
      std::fputs("word word word word <a href=\"http://host.example/page.html\">x</a>\n", out);
      std::fclose(out);
    });
    const testing::ProcessResult result = RunPagelathe({command, fifo});
    writer.join();
    EXPECT_EQ(result.status, 0) << command << result.err;
    const std::map<std::string, std::string> expected = {{"keywords", "4\tword\n"},
                                                         {"links", "http://host.example\n"},
                                                         {"convert", "word word word word x\r\n"}};
    EXPECT_EQ(result.out, expected.at(command)) << command;
  }
}

TEST(Command, OutputFilesAreReplacedWholeOrWrittenStraight) {
  testing::TempFolder dir;
  const std::string page = dir.Write("page.htm", "<a href=\"http://a.example/x\">x</a>");
  const std::string list = dir.Write("links.txt", "old list\r\n");
  // A run that fails leaves the old file as it was, and no temporary file beside it.
  testing::ProcessResult result = RunPagelathe({"links", "-o", list, page, dir / "missing"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(dir.Read("links.txt"), "old list\r\n");
  result = RunPagelathe({"links", "-o", list, page});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(dir.Read("links.txt"), "http://a.example\r\n");
  // Not a regular file: written as it is, never renamed over.
  result = RunPagelathe({"links", "-o", "/dev/null", page});
  EXPECT_EQ(result.status, 0) << result.err;
  struct stat null_info {};
  ASSERT_EQ(::stat("/dev/null", &null_info), 0);
  EXPECT_TRUE(S_ISCHR(null_info.st_mode));
  const std::string fifo = dir / "out.fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string through_fifo;
  std::thread reader([&] {
    FILE* in = std::fopen(fifo.c_str(), "r");
    char buffer[256];
    while (const size_t n = std::fread(buffer, 1, sizeof buffer, in))
      through_fifo.append(buffer, n);
    std::fclose(in);
  });
  // The reader may not be there yet when the program opens the FIFO; it then fails at once
  // ("No such device or address") instead of waiting, so it is run until the reader is.
  ASSERT_TRUE(testing::WaitFor([&] {
    result = RunPagelathe({"links", "-o", fifo, page});
    return result.status == 0;
  }));
  reader.join();
  EXPECT_EQ(through_fifo, "http://a.example\r\n");
  struct stat fifo_info {};
  ASSERT_EQ(::stat(fifo.c_str(), &fifo_info), 0);
  EXPECT_TRUE(S_ISFIFO(fifo_info.st_mode));
  // A folder cannot be an output.
  result = RunPagelathe({"links", "-o", dir.Path(), page});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("It is a folder."), std::string::npos) << result.err;
  // Nothing but the files the test made is left in the folder.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"links.txt", "out.fifo", "page.htm"}));
}

}  // namespace
}  // namespace pagelathe
