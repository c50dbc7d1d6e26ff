// The settings table: every key's default, how each key reads (a missing one, a bad number,
// letter case), and the exact bytes a write gives, in the table's order.
#include "settings/AppSettings.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/IniFile.h"

namespace pagelathe {
namespace {

const std::string kFolder = "/opt/pagelathe/";

// The fields as one text, so that a case names the one field it expects changed.
std::string Describe(const AppSettings& s) {
  std::string text;
  const auto add = [&text](const char* name, const std::string& value) {
    text.append(name).append("=").append(value).append("\n");
  };
  add("LanguageName", s.LanguageName);
  add("FirstStart", s.FirstStart ? "true" : "false");
  add("LinksFolder", s.LinksFolder);
  add("SourceFolder", s.SourceFolder);
  add("ResultFolder", s.ResultFolder);
  add("KeywordsFolder", s.KeywordsFolder);
  add("CharsPerLine", std::to_string(s.CharsPerLine));
  add("RememberedUrl", s.RememberedUrl);
  add("SearchType", std::to_string(s.SearchType));
  add("LinkType", std::to_string(s.LinkType));
  add("ViewOption", std::to_string(s.ViewOption));
  add("SubDirs", std::to_string(s.SubDirs));
  add("SortLinks", std::to_string(s.SortLinks));
  add("NoHttp", std::to_string(s.NoHttp));
  add("UpdateServer", s.UpdateServer);
  return text;
}

AppSettings Expected() {
  AppSettings s;
  s.LanguageName = "English";
  s.FirstStart = true;
  s.LinksFolder = kFolder;
  s.SourceFolder = kFolder;
  s.ResultFolder = kFolder;
  s.KeywordsFolder = kFolder + "keywords";
  s.CharsPerLine = 75;
  s.SearchType = 3;
  s.LinkType = 1;
  s.ViewOption = 0;
  s.SubDirs = 1;
  s.SortLinks = 1;
  s.NoHttp = 0;
  return s;
}

TEST(AppSettings, TheDefaultsAreTheTablesAndAnEmptyFileReadsAsThem) {
  EXPECT_EQ(Describe(DefaultAppSettings(kFolder)), Describe(Expected()));
  EXPECT_EQ(Describe(ReadAppSettings(IniFile::FromBytes(""), kFolder)), Describe(Expected()));
  // Another section, or keys without "=", give the defaults too.
  EXPECT_EQ(
      Describe(ReadAppSettings(
          IniFile::FromBytes("[Other]\r\nLanguage=Russian\r\n[Options]\r\nLink\r\n"), kFolder)),
      Describe(Expected()));
}

TEST(AppSettings, EachKeyReadsIntoItsField) {
  struct Case {
    const char* line;
    std::function<void(AppSettings&)> change;
  };
  const Case cases[] = {
      {"Language=Russian", [](AppSettings& s) { s.LanguageName = "Russian"; }},
      {"firstStart=0", [](AppSettings& s) { s.FirstStart = false; }},
      {"Folder=/home/u/site/", [](AppSettings& s) { s.LinksFolder = "/home/u/site/"; }},
      {"Source Folder=/in/", [](AppSettings& s) { s.SourceFolder = "/in/"; }},
      {"Result Folder=/out/", [](AppSettings& s) { s.ResultFolder = "/out/"; }},
      {"DirKW=/kw", [](AppSettings& s) { s.KeywordsFolder = "/kw"; }},
      {"Chars Per Line=$10", [](AppSettings& s) { s.CharsPerLine = 16; }},
      {"Link=http://host/", [](AppSettings& s) { s.RememberedUrl = "http://host/"; }},
      {"Search Type=-1", [](AppSettings& s) { s.SearchType = -1; }},
      {"Link Type=2", [](AppSettings& s) { s.LinkType = 2; }},
      {"View Option=1", [](AppSettings& s) { s.ViewOption = 1; }},
      {"Sub Dirs=0", [](AppSettings& s) { s.SubDirs = 0; }},
      {"Sort Links=7", [](AppSettings& s) { s.SortLinks = 7; }},
      {"No Http=1", [](AppSettings& s) { s.NoHttp = 1; }},
      {"Update Server=http://mirror", [](AppSettings& s) { s.UpdateServer = "http://mirror"; }},
      // Names match without regard to letter case.
      {"CHARS PER LINE=80", [](AppSettings& s) { s.CharsPerLine = 80; }},
      // "Link=" is the empty text, not the default; a folder key too.
      {"Folder=", [](AppSettings& s) { s.LinksFolder = ""; }},
      // A number that is not one, as a whole, gives the default.
      {"Chars Per Line=12abc", [](AppSettings&) {}},
      {"Search Type=", [](AppSettings&) {}},
      {"firstStart=yes", [](AppSettings&) {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    AppSettings expected = Expected();
    c.change(expected);
    std::string file = "[Options]\r\n";
    file.append(c.line).append("\r\n");
    EXPECT_EQ(Describe(ReadAppSettings(IniFile::FromBytes(file), kFolder)), Describe(expected));
  }
}

TEST(AppSettings, AWriteGivesEveryKeyButTheUpdateServerInTheTablesOrder) {
  AppSettings settings = Expected();
  settings.FirstStart = false;
  settings.SearchType = -1;  // a list with nothing selected
  settings.RememberedUrl = "http://host/page";
  settings.UpdateServer = "http://mirror";
  IniFile ini = IniFile::FromBytes("");
  WriteAppSettings(ini, settings);
  EXPECT_EQ(ini.Text(),
            "[Options]\r\n"
            "Language=English\r\n"
            "firstStart=0\r\n"
            "Folder=/opt/pagelathe/\r\n"
            "Source Folder=/opt/pagelathe/\r\n"
            "Result Folder=/opt/pagelathe/\r\n"
            "DirKW=/opt/pagelathe/keywords\r\n"
            "Chars Per Line=75\r\n"
            "Link=http://host/page\r\n"
            "Search Type=-1\r\n"
            "Link Type=1\r\n"
            "View Option=0\r\n"
            "Sub Dirs=1\r\n"
            "Sort Links=1\r\n"
            "No Http=0\r\n");
  // What was written reads back as it was, the update server aside.
  settings.UpdateServer.clear();
  EXPECT_EQ(Describe(ReadAppSettings(IniFile::FromBytes(ini.Text()), kFolder)), Describe(settings));
}

TEST(AppSettings, AFolderOfAnyBytesIsWrittenSoThatItReadsBackExactly) {
  const struct {
    const char* what;
    std::string folder;
    std::string line;
  } cases[] = {
      {"UTF-8 as it is", "/home/u/Проекты/Größe/", "Folder=/home/u/Проекты/Größe/"},
      {"a Windows-1251 name as a file URL", "/srv/\xCF\xF0\xE8 x/",
       "Folder=file:///srv/%CF%F0%E8%20x/"},
      {"blanks at an end in quotes", " /tmp/end ", "Folder=\" /tmp/end \""},
      {"quotes of its own in quotes", "'q'", "Folder=\"'q'\""},
      {"a folder that looks like a file URL", "file://x%41", "Folder=file://file%3A//x%2541"},
      {"a line break in a name", "/a\nb", "Folder=file:///a%0Ab"},
      {"empty", "", "Folder="},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    AppSettings settings = Expected();
    settings.LinksFolder = c.folder;
    IniFile ini = IniFile::FromBytes("");
    WriteAppSettings(ini, settings);
    EXPECT_NE(ini.Text().find("\r\n" + c.line + "\r\n"), std::string::npos) << ini.Text();
    EXPECT_EQ(ReadAppSettings(IniFile::FromBytes(ini.Text()), kFolder).LinksFolder, c.folder);
  }
  // A "%" of no code in a hand-written URL stands for itself.
  EXPECT_EQ(ReadAppSettings(IniFile::FromBytes("[Options]\r\nDirKW=file:///a%zz%4\r\n"), kFolder)
                .KeywordsFolder,
            "/a%zz%4");
}

TEST(AppSettings, AWriteKeepsTheUsersOtherLinesAndTheUpdateServer) {
  IniFile ini = IniFile::FromBytes(
      "; my settings\r\n[Options]\r\nUpdate Server=http://mirror\r\nLanguage=Russian\r\n");
  WriteAppSettings(ini, Expected());
  const std::string text = ini.Text();
  EXPECT_EQ(text.rfind("; my settings\r\n[Options]\r\nUpdate Server=http://mirror\r\n"
                       "Language=English\r\nfirstStart=1\r\n",
                       0),
            0u)
      << text;
  EXPECT_EQ(ReadAppSettings(IniFile::FromBytes(text), kFolder).UpdateServer, "http://mirror");
}

}  // namespace
}  // namespace pagelathe
