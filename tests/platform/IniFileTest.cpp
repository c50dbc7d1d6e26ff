// The Windows profile rules of the settings and language files.
#include "platform/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Errors.h"
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
      {"Options", "\xEA\xCB\xDE\xD7", "cyr"},  // Cyrillic key, other case
      {"\xF0\xC0\xC7\xE4\xE5\xEB", "K", "in cyrillic section"},
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

}  // namespace
}  // namespace pagelathe
