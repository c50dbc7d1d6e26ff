// The program as a process: started in an empty program folder on the offscreen platform and
// ended with SIGTERM or SIGINT, it writes its settings file as a user's close would.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/FileIO.h"
#include "platform/TextList.h"
#include "support/TempFolder.h"

namespace pagelathe {
namespace {

// Copies the program into `folder` and starts it there; returns its process id.
pid_t StartProgram(const testing::TempFolder& folder) {
  const std::string program = folder / "brevanoth-pagelathe";
  std::filesystem::copy_file(PAGELATHE_PROGRAM, program);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 2);
    ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  return pid;
}

// Waits (bounded) until `ready` holds; the program shows it has reached the event loop by
// having written its start-up files.
template <typename Ready>
bool WaitUntil(Ready ready) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!ready()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

int WaitExit(pid_t pid) {
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(QuitSignal, TermAndIntCloseTheWindowAndWriteTheSettings) {
  for (int signal_number : {SIGTERM, SIGINT}) {
    testing::TempFolder dir;
    // firstStart=0 so no language choice waits; the second pass below covers the first start.
    dir.Write("brevanoth-pagelathe.ini", "[Options]\r\nfirstStart=0\r\nLink=kept\r\n");
    const pid_t pid = StartProgram(dir);
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(WaitUntil([&] { return DirectoryExists(dir / "projects"); }));
    ::kill(pid, signal_number);
    EXPECT_EQ(WaitExit(pid), 0) << "signal " << signal_number;
    const std::string ini = dir.Read("brevanoth-pagelathe.ini");
    EXPECT_NE(ini.find("\r\nLink=kept\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("\r\nNo Http=0\r\n"), std::string::npos) << ini;
  }
}

TEST(QuitSignal, FirstStartInAnEmptyFolderClosesTheLanguageChoiceToo) {
  testing::TempFolder dir;
  const pid_t pid = StartProgram(dir);
  ASSERT_GT(pid, 0);
  ASSERT_TRUE(WaitUntil([&] { return DirectoryExists(dir / "projects"); }));
  // Signal until the program has gone: the first one may arrive while a modal dialog is up.
  ::kill(pid, SIGTERM);
  EXPECT_EQ(WaitExit(pid), 0);
  const TextList lines = SplitLines(dir.Read("brevanoth-pagelathe.ini"));
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines[0], "[Options]");
  EXPECT_EQ(lines[1], "Language=English");
  EXPECT_EQ(lines[2], "firstStart=0");
  EXPECT_EQ(lines[14], "No Http=0");
}

// A pipe in place of the settings file, of exclusions.dat or of the English language file does
// not hold the start: the program comes up (with the defaults; an error box about the first
// two) and ends on SIGTERM, leaving the pipe as it was. Had it blocked in open(), the signal
// would not end it.
TEST(QuitSignal, APipeInPlaceOfAStartUpFileDoesNotHoldTheProgram) {
  for (const std::string file :
       {"brevanoth-pagelathe.ini", "exclusions.dat", "language/English.ini"}) {
    testing::TempFolder dir;
    if (file != "brevanoth-pagelathe.ini")
      dir.Write("brevanoth-pagelathe.ini", "[Options]\r\nfirstStart=0\r\nLink=kept\r\n");
    dir.MakeFolder("language");
    ASSERT_EQ(::mkfifo((dir / file).c_str(), 0600), 0);
    const pid_t pid = StartProgram(dir);
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(WaitUntil([&] { return DirectoryExists(dir / "projects"); })) << file;
    ::kill(pid, SIGTERM);
    EXPECT_EQ(WaitExit(pid), 0) << file;
    struct stat info {};
    ASSERT_EQ(::lstat((dir / file).c_str(), &info), 0) << file;
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << file;
    if (file != "brevanoth-pagelathe.ini") {
      EXPECT_NE(dir.Read("brevanoth-pagelathe.ini").find("\r\nNo Http=0\r\n"), std::string::npos)
          << file;
    }
  }
}

}  // namespace
}  // namespace pagelathe
