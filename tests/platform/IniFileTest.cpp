// The Windows profile rules of the settings and language files.
#include "platform/IniFile.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <random>

#include "platform/Errors.h"
#include "platform/FileRead.h"
#include "support/TempFolder.h"

namespace pagelathe {
namespace {

TEST(IniFile, ReadsWithTheProfileRules) {
  testing::TempFolder dir;
  const std::string path = dir.Write("a.ini",
                                     "top=ignored\r\n"
                                     "[ Options ]\r\n"
                                     "  Key1 =  value one  \r\n"
                                     "quoted=\"  keep blanks  \"\r\n"
                                     "single=' x '\r\n"
                                     "mixed=\"a'\r\n"
                                     "lonequote=\"\r\n"
                                     "empty=\r\n"
                                     "novalue\r\n"
                                     "; comment=5\r\n"
                                     "#hash=6\r\n"
                                     "note=v ; note\r\n"
                                     "eq=a=b\r\n"
                                     "dup=first\r\n"
                                     "dup=second\r\n"
                                     "num=12abc\r\n"
                                     "hex=$10\r\n"
                                     "\xCA\xEB\xFE\xF7=cyr\r\n"
                                     "[options]\r\n"
                                     "later=from second section\r\n"
                                     "[broken\r\n"
                                     "[\xD0\xE0\xE7\xE4\xE5\xEB]\r\n"
                                     "k=in cyrillic section\r\n");
  const IniFile ini(path);
  struct Case {
    const char* section;
    const char* key;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"Options", "key1", "value one"},
      {"OPTIONS", "KEY1", "value one"},
      {"Options", "quoted", "  keep blanks  "},
      {"Options", "single", " x "},
      {"Options", "mixed", "\"a'"},
      {"Options", "lonequote", "\""},
      {"Options", "empty", ""},
      {"Options", "novalue", "<default>"},
      {"Options", "; comment", "<default>"},
      {"Options", "#hash", "6"},
      {"Options", "note", "v ; note"},
      {"Options", "eq", "a=b"},
      {"Options", "dup", "first"},
      {"Options", "later", "<default>"},  // only the first section of a name is searched
      {"Options", "top", "<default>"},
      {"Options", "кЛЮЧ", "cyr"},  // a Cyrillic key of this Windows-1251 file, other case
      {"рАЗдел", "K", "in cyrillic section"},
      {"Missing", "key1", "<default>"},
      {"broken", "k", "<default>"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ini.ReadString(c.section, c.key, "<default>"), c.expected)
        << c.section << "/" << c.key;
  EXPECT_EQ(ini.ReadInteger("Options", "num", 7), 7);
  EXPECT_EQ(ini.ReadInteger("Options", "hex", 7), 16);
  EXPECT_EQ(ini.ReadInteger("Options", "empty", 7), 7);
  EXPECT_TRUE(ini.ReadBool("Options", "missing", true));
  EXPECT_FALSE(ini.ReadBool("Options", "missing", false));
}

TEST(IniFile, WritesANewFileExactly) {
  testing::TempFolder dir;
  {
    IniFile ini(dir / "new.ini");
    ini.WriteString("App1", "key1", "string1");
    ini.WriteString("App1", "key2", "string2");
    ini.WriteString("App2", "key4", "string4");
    ini.UpdateFile();
  }
  EXPECT_EQ(dir.Read("new.ini"),
            "[App1]\r\nkey1=string1\r\nkey2=string2\r\n[App2]\r\nkey4=string4\r\n");
}

TEST(IniFile, WritingKeepsHandEditedLines) {
  testing::TempFolder dir;
  const std::string path = dir.Write("s.ini",
                                     "; my settings\n"
                                     "[Options]\n"
                                     "  LANGUAGE = Russian\n"
                                     "unknown=stays\n"
                                     "; trailing comment\n"
                                     "\n"
                                     "[Other]\n"
                                     "x=1\n");
  {
    IniFile ini(path);
    ini.WriteString("options", "Language", "English");
    ini.WriteInteger("Options", "Sub Dirs", 0);
    ini.WriteBool("Options", "firstStart", false);
    ini.WriteString("Options", "Folder", "  /home/me/site/");
    ini.WriteString("Options", "Quoted", "\"  kept  \"");
    ini.UpdateFile();
  }
  EXPECT_EQ(dir.Read("s.ini"),
            "; my settings\r\n"
            "[Options]\r\n"
            "LANGUAGE=English\r\n"
            "unknown=stays\r\n"
            "; trailing comment\r\n"
            "Sub Dirs=0\r\n"
            "firstStart=0\r\n"
            "Folder=/home/me/site/\r\n"
            "Quoted=\"  kept  \"\r\n"
            "\r\n"
            "[Other]\r\n"
            "x=1\r\n");
  const IniFile again(path);
  EXPECT_EQ(again.ReadString("Options", "Quoted", ""), "  kept  ");
  EXPECT_EQ(again.ReadInteger("Options", "sub dirs", 5), 0);
}

// A file keeps its encoding, unless a value needs a character that Windows-1251 lacks: then
// the whole file is written in UTF-8, every line decoded.
TEST(IniFile, WritesInTheFilesEncoding) {
  using namespace std::string_literals;
  struct Case {
    std::string file;
    std::string value;
    std::string written;
  };
  const Case cases[] = {
      {"[\xD0\xE0\xE7]\r\n; \xEC\xEE\xE9\r\n"s, "Проекты",
       "[\xD0\xE0\xE7]\r\n; \xEC\xEE\xE9\r\nk=\xCF\xF0\xEE\xE5\xEA\xF2\xFB\r\n"s},
      {"[\xD0\xE0\xE7]\r\n; \xEC\xEE\xE9\r\n"s, "Проекты/Größe",
       "[Раз]\r\n; мой\r\nk=Проекты/Größe\r\n"},
      {"[Раз]\r\n; мой\r\n", "Проекты", "[Раз]\r\n; мой\r\nk=Проекты\r\n"},
      {"", "日本", "[раз]\r\nk=日本\r\n"},
  };
  for (const Case& c : cases) {
    IniFile ini = IniFile::FromBytes(c.file);
    ini.WriteString("раз", "k", c.value);
    EXPECT_EQ(ini.Text(), c.written) << c.value;
    EXPECT_EQ(IniFile::FromBytes(ini.Text()).ReadString("Раз", "K", ""), c.value);
  }
}

TEST(IniFile, MissingFileReadsAsDefaultsAndUnchangedFileIsNotWritten) {
  testing::TempFolder dir;
  {
    const IniFile ini(dir / "none.ini");
    EXPECT_EQ(ini.ReadString("Options", "Language", "English"), "English");
  }
  struct stat info {};
  EXPECT_NE(::stat((dir / "none.ini").c_str(), &info), 0);
}

TEST(IniFile, FailedWriteRaisesAndKeepsTheOldFile) {
  testing::TempFolder dir;
  const std::string path = dir.Write("s.ini", "[Options]\r\nLanguage=Russian\r\n");
  IniFile ini(path);
  ini.WriteString("Options", "Language", "English with a longer value");
  {
    testing::ScopedFileSizeLimit limit(8);
    EXPECT_THROW(ini.UpdateFile(), EFileError);
  }
  EXPECT_EQ(dir.Read("s.ini"), "[Options]\r\nLanguage=Russian\r\n");
}

// Reading stops at a NUL byte, but a write keeps every byte from the NUL on, and puts what it
// adds where the next read will see it.
TEST(IniFile, WritingKeepsEverythingAfterANulByte) {
  using namespace std::string_literals;
  struct Case {
    const char* name;
    std::string file;
    const char* section;
    const char* key;
    const char* read;  // the key's value before the write
    std::string written;
  };
  const Case cases[] = {
      {"a key added before the NUL", "[Options]\r\na=1\r\n\0rest\r\nof=file\xFF\r"s, "Options", "b",
       "", "[Options]\r\na=1\r\nb=v\r\n\0rest\r\nof=file\xFF\r"s},
      {"a key replaced before the NUL", "[Options]\r\nb=1\r\nz=0\r\n\0tail"s, "options", "B", "1",
       "[Options]\r\nb=v\r\nz=0\r\n\0tail"s},
      {"a line cut by the NUL stays joined to it", "[Options]\r\nb=1\r\nlast=x\0tail\n"s, "Options",
       "b", "1", "[Options]\r\nb=v\r\nlast=x\0tail\n"s},
      {"a section added after a cut line", "[Options]\r\na=1\0tail\n"s, "Other", "b", "",
       "[Options]\r\na=1\r\n[Other]\r\nb=v\r\n\0tail\n"s},
      {"the cut line itself rewritten", "[Options]\r\nb=1\0tail"s, "Options", "b", "1",
       "[Options]\r\nb=v\r\n\0tail"s},
      {"a key added after a cut line", "[Options]\r\na=1\0tail"s, "Options", "b", "",
       "[Options]\r\na=1\r\nb=v\r\n\0tail"s},
      {"a NUL first", "\0everything\r\n"s, "Options", "b", "",
       "[Options]\r\nb=v\r\n\0everything\r\n"s},
      {"a key after the NUL is not read", "[Options]\r\n\0\r\nb=old\r\n"s, "Options", "b", "",
       "[Options]\r\nb=v\r\n\0\r\nb=old\r\n"s},
  };
  for (const Case& c : cases) {
    IniFile ini = IniFile::FromBytes(c.file);
    EXPECT_EQ(ini.ReadString(c.section, c.key, ""), c.read) << c.name;
    ini.WriteString(c.section, c.key, "v");
    EXPECT_EQ(ini.Text(), c.written) << c.name;
    EXPECT_EQ(IniFile::FromBytes(ini.Text()).ReadString(c.section, c.key, ""), "v") << c.name;
  }
}

TEST(IniFile, OneKeyWrittenIntoRandomBytesKeepsThemAll) {
  testing::TempFolder dir;
  std::mt19937 random(14);
  std::string bytes(3 << 20, '\0');
  for (char& c : bytes)
    c = static_cast<char>(random());
  bytes[1000] = '\0';  // at least one NUL, and lines before it
  const std::string path = dir.Write("settings.ini", bytes);
  {
    IniFile ini(path);
    EXPECT_EQ(ini.ReadError(), "");
    ini.WriteString("Options", "Language", "English");
    ini.UpdateFile();
  }
  const std::string written = dir.Read("settings.ini");
  const size_t nul = bytes.find('\0');
  EXPECT_GE(written.size(), bytes.size());
  EXPECT_TRUE(written.ends_with(std::string_view(bytes).substr(nul)));
  EXPECT_EQ(IniFile(path).ReadString("Options", "Language", ""), "English");
}

// A settings file that cannot be read reads as defaults at once and is never replaced by a
// file of defaults; a missing one is created.
TEST(IniFile, AFileThatCannotBeReadIsNeverWrittenOver) {
  testing::TempFolder dir;
  struct Case {
    const char* name;
    std::function<std::string()> make;  // gives the path
    uint64_t limit;
    const char* reason;  // in ReadError; "" when the file is readable or missing
  };
  const Case cases[] = {
      {"a pipe",
       [&] {
         const std::string path = dir / "fifo.ini";
         EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
         return path;
       },
       kProfileLimit, "It is not a regular file."},
      {"over the limit", [&] { return dir.Write("big.ini", "[Options]\r\nk=1\r\n"); }, 8,
       "It is larger than"},
      {"a folder", [&] { return dir.MakeFolder("folder.ini"); }, kProfileLimit,
       "It is not a regular file."},
      {"missing", [&] { return dir / "missing.ini"; }, kProfileLimit, ""},
  };
  for (const Case& c : cases) {
    const std::string path = c.make();
    struct stat before {};
    const bool existed = ::stat(path.c_str(), &before) == 0;
    IniFile ini(path, c.limit);
    EXPECT_EQ(ini.ReadString("Options", "k", "<default>"), "<default>") << c.name;
    ini.WriteString("Options", "k", "2");
    if (*c.reason == '\0') {
      EXPECT_EQ(ini.ReadError(), "") << c.name;
      ini.UpdateFile();
      EXPECT_EQ(ReadUserFile(path), "[Options]\r\nk=2\r\n") << c.name;
      continue;
    }
    EXPECT_NE(ini.ReadError().find(path), std::string::npos) << c.name;
    EXPECT_NE(ini.ReadError().find(c.reason), std::string::npos)
        << c.name << ": " << ini.ReadError();
    EXPECT_THROW(ini.UpdateFile(), EFileError) << c.name;
    struct stat after {};
    ASSERT_TRUE(existed) << c.name;
    ASSERT_EQ(::stat(path.c_str(), &after), 0) << c.name;
    EXPECT_EQ(after.st_ino, before.st_ino) << c.name;
    EXPECT_EQ(after.st_mode & S_IFMT, before.st_mode & S_IFMT) << c.name;
    EXPECT_EQ(after.st_size, before.st_size) << c.name;
  }
}

// A settings writer killed at any point of its work leaves the old file or the new one, never
// a part, and temporary files do not pile up. The kill points are set by amount of work, not by
// time: half the children are killed by the system once the new file holds a given number of
// bytes (a file size limit, a different one each run, spread over the whole write), the others
// by the test once a given number of their writes have started (each child writes the two
// versions in turn).
TEST(IniFile, KilledSettingsWritesLeaveTheOldOrTheNewFile) {
  testing::TempFolder dir;
  const std::string path = dir / "brevanoth-pagelathe.ini";
  std::string comments;
  for (int i = 0; i < 2000; ++i)  // 120 KB, cut at every 1/50 of it by the size limits
    comments.append("; a hand-written line that the program keeps, number ")
        .append(std::to_string(i))
        .append("\r\n");
  const auto version = [&comments](const std::string& value) {
    std::string text = comments;
    text.append("[Options]\r\nLanguage=").append(value).append("\r\nLink=").append(value);
    return text.append("\r\n");
  };
  const std::string old_text = version("old");
  const std::string new_text = version("new");
  const auto entries = [&dir] {
    size_t count = 0;
    DIR* folder = ::opendir(dir.Path().c_str());
    while (const dirent* e = ::readdir(folder))
      count += std::string_view(e->d_name) != "." && std::string_view(e->d_name) != "..";
    ::closedir(folder);
    return count;
  };
  dir.Write("brevanoth-pagelathe.ini", old_text);
  constexpr int kRuns = 100;
  int partial_runs = 0;  // runs that died inside a write, leaving a temporary file
  for (int run = 0; run < kRuns; ++run) {
    const bool by_size = run % 2 == 0;
    int starting[2];
    ASSERT_EQ(::pipe(starting), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(starting[0]);
      if (by_size) {
        const rlimit no_core{0, 0};
        ::setrlimit(RLIMIT_CORE, &no_core);
        const rlim_t bytes = static_cast<rlim_t>(run) * old_text.size() / kRuns;
        const rlimit size{bytes, bytes};
        ::setrlimit(RLIMIT_FSIZE, &size);  // SIGXFSZ ends the child at that size
      }
      for (;;) {
        IniFile ini(path);
        const char* value = ini.ReadString("Options", "Language", "") == "old" ? "new" : "old";
        ini.WriteString("Options", "Language", value);
        ini.WriteString("Options", "Link", value);
        const char byte = 'w';
        if (::write(starting[1], &byte, 1) != 1) ::_exit(1);
        ini.UpdateFile();
      }
    }
    ::close(starting[1]);
    if (!by_size) {
      for (int started = 0; started <= run % 8; ++started) {
        char byte = 0;
        ASSERT_EQ(::read(starting[0], &byte, 1), 1);
      }
      ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(starting[0]);
    ASSERT_TRUE(WIFSIGNALED(status)) << "run " << run;
    EXPECT_EQ(WTERMSIG(status), by_size ? SIGXFSZ : SIGKILL) << "run " << run;
    const std::string now = ReadUserFile(path);
    ASSERT_TRUE(now == old_text || now == new_text) << "run " << run << ": " << now.size();
    const size_t count = entries();
    ASSERT_LE(count, 2u) << "run " << run;  // the file and at most one leftover
    partial_runs += count == 2;
  }
  EXPECT_GE(partial_runs, kRuns / 2);  // every run stopped by size died inside a write
  IniFile(path).WriteString("Options", "Link", "last");  // written when it goes
  EXPECT_EQ(entries(), 1u);
  EXPECT_NE(ReadUserFile(path).find("\r\nLink=last\r\n"), std::string::npos);
}

}  // namespace
}  // namespace pagelathe
