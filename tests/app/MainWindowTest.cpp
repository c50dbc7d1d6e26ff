// The main window offscreen: creation steps, the settings file, the visual-style marker.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

#include "app/TForm1.h"
#include "platform/FileIO.h"
#include "platform/TextList.h"
#include "settings/AppSettings.h"
#include "support/GuiTest.h"
#include "support/TempFolder.h"
#include "support/UnreadableFiles.h"
#include "tools/links/LinksGrabberPage.h"
#include "ui/Controls.h"
#include "ui/FolderDialog.h"
#include "ui/Messages.h"
#include "ui/PageContext.h"
#include "ui/QtText.h"
#include "ui/TWinXP.h"

namespace pagelathe {
namespace {

const TextList kKeysInOrder = {"Language",      "firstStart", "Folder",         "Source Folder",
                               "Result Folder", "DirKW",      "Chars Per Line", "Link",
                               "Search Type",   "Link Type",  "View Option",    "Sub Dirs",
                               "Sort Links",    "No Http"};

TextList KeysOf(const std::string& ini_text) {
  TextList keys;
  for (const auto& line : SplitLines(ini_text))
    if (line.find('=') != std::string::npos) keys.push_back(line.substr(0, line.find('=')));
  return keys;
}

TEST(MainWindow, CaptionPagesMenusAndProjectsFolder) {
  testing::TempFolder dir;
  dir.Write("brevanoth-pagelathe.ini", "[Options]\r\nfirstStart=0\r\n");
  TForm1 form(dir.Path());
  EXPECT_EQ(form.windowTitle(), "Brevanoth Pagelathe 1.51");
  EXPECT_EQ(ApplicationTitle(), "Brevanoth Pagelathe 1.51");
  // A display name of its own would be appended to the title of every dialog.
  EXPECT_EQ(QApplication::applicationDisplayName(), QApplication::applicationName());
  EXPECT_TRUE(DirectoryExists(dir / "projects"));
  EXPECT_TRUE(FileExists(dir / "exclusions.dat"));
  EXPECT_EQ(form.Context().Product().ProgramFolder, dir.Path());
  EXPECT_EQ(form.Context().Product().VersionFile, dir / "version.txt");
  EXPECT_EQ(form.Context().Product().HelpFileRussian, dir / "Help - RU.chm");
  const QStringList pages = {"TabSheetLinksGrabber", "TabSheetHtmlConverter", "TabSheetKeywords",
                             "TabSheetWebColor", "TabSheetGradientText"};
  ASSERT_EQ(form.PageControl1()->count(), pages.size());
  for (int i = 0; i < pages.size(); ++i)
    EXPECT_EQ(form.PageControl1()->widget(i)->objectName(), pages[i]);
  EXPECT_EQ(testing::Find<QAction>(&form, "MExclusions")->shortcut(), QKeySequence("Ctrl+E"));
  EXPECT_FALSE(testing::Find<QAction>(&form, "MContents")->isVisible());
  EXPECT_EQ(form.statusBar()->height(), 19);
  EXPECT_TRUE(testing::Find<QTimer>(&form, "TimerConnection")->isActive());
  EXPECT_EQ(testing::Find<QTimer>(&form, "TimerConnection")->interval(), 1000);
}

TEST(MainWindow, FirstRunWritesEveryKeyWithItsDefaultInTableOrder) {
  testing::TempFolder dir;
  {
    TForm1 form(dir.Path());
    EXPECT_TRUE(form.Context().Settings().FirstStart);
    testing::CloseNextModal();  // the language choice, when it is modal
    form.FormShow();
    EXPECT_FALSE(form.Context().Settings().FirstStart);
    form.FormClose();
  }
  const std::string written = dir.Read("brevanoth-pagelathe.ini");
  EXPECT_EQ(KeysOf(written), kKeysInOrder);
  const TextList lines = SplitLines(written);
  EXPECT_EQ(lines.front(), "[Options]");
  EXPECT_NE(written.find("\r\nfirstStart=0\r\n"), std::string::npos);
  EXPECT_NE(written.find("\r\nSub Dirs=1\r\nSort Links=1\r\nNo Http=0\r\n"), std::string::npos);
  EXPECT_NE(written.find("\r\nFolder=" + dir.Path() + "\r\n"), std::string::npos);
  EXPECT_NE(written.find("\r\nDirKW=" + dir.Path() + "keywords\r\n"), std::string::npos);
  EXPECT_NE(written.find("\r\nChars Per Line=75\r\nLink=\r\nSearch Type=3\r\nLink Type=1\r\n"
                         "View Option=0\r\n"),
            std::string::npos);

  // A second start reads the file back and writes the same bytes.
  {
    TForm1 form(dir.Path());
    EXPECT_FALSE(form.Context().Settings().FirstStart);
    form.FormShow();
    form.FormClose();
  }
  EXPECT_EQ(dir.Read("brevanoth-pagelathe.ini"), written);
}

TEST(MainWindow, HandEditedSettingsSurviveAndBadNumbersReadAsDefaults) {
  testing::TempFolder dir;
  dir.Write("brevanoth-pagelathe.ini",
            "; kept\r\n[options]\r\nfirststart=0\r\nChars Per Line=abc\r\nLink=\"  x  \"\r\n"
            "Mine=1\r\n[Other]\r\nz=2\r\n");
  {
    TForm1 form(dir.Path());
    EXPECT_EQ(form.Context().Settings().CharsPerLine, 75);
    EXPECT_EQ(form.Context().Settings().RememberedUrl, "  x  ");
    form.FormClose();
  }
  const std::string written = dir.Read("brevanoth-pagelathe.ini");
  EXPECT_EQ(written.rfind("; kept\r\n[options]\r\nfirststart=0\r\nChars Per Line=75\r\n", 0), 0u);
  EXPECT_NE(written.find("Mine=1\r\n"), std::string::npos);
  EXPECT_NE(written.find("[Other]\r\nz=2\r\n"), std::string::npos);
}

// Folders and files of any name: chosen with the folder button, listed in the one order of
// sorted lists, each searched when clicked, written into the settings and shown again at the
// next start with the same bytes. One folder is UTF-8, one a Windows-1251 name inside it.
TEST(MainWindow, FoldersAndFilesOfAnyNameAreListedSearchedSavedAndRestored) {
  const struct {
    std::string folder;
    QString shown;
  } cases[] = {
      {"Проекты/Größe/", QString::fromUtf8("Проекты/Größe/")},
      {"Проекты/\xCF\xF0\xE8/", QString::fromUtf8("Проекты/При/")},
  };
  const QStringList listed = {QString::fromUtf8("Übersicht.htm"), QString::fromUtf8("Список.htm"),
                              QString::fromUtf8("日本.htm")};
  const TextList links = {"http://uebersicht.example", "http://spisok.example",
                          "http://nihon.example"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    testing::TempFolder dir;
    dir.Write("brevanoth-pagelathe.ini", "[Options]\r\nfirstStart=0\r\n");
    dir.Write(c.folder + "Übersicht.htm", "http://uebersicht.example/");
    dir.Write(c.folder + "日本.htm", "http://nihon.example/");
    dir.Write(c.folder + "\xD1\xEF\xE8\xF1\xEE\xEA.htm", "http://spisok.example/");  // Список
    const std::string folder = dir / c.folder;
    TFolderDialog::SetChooser([&](TFolderDialog&) { return std::optional<std::string>(folder); });
    {
      TForm1 form(dir.Path());
      form.FormShow();
      QWidget* links_page = form.PageControl1()->widget(0);
      QWidget* converter = form.PageControl1()->widget(1);
      testing::Find<QPushButton>(links_page, "ButtonFolderLinks")->click();
      testing::Find<QPushButton>(converter, "ButtonSourceFolder")->click();
      for (const char* edit : {"EditFolder", "EditSourceFolder"}) {
        QWidget* page = std::string(edit) == "EditFolder" ? links_page : converter;
        EXPECT_EQ(testing::Find<QLineEdit>(page, edit)->text(), PathToQ(dir.Path()) + c.shown);
      }
      auto* files = testing::Find<TFileListBox>(links_page, "FileListBoxFiles");
      ASSERT_EQ(files->count(), 3);
      for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(files->item(row)->text(), listed[row]);
        emit files->itemClicked(files->item(row));
        EXPECT_EQ(form.Page<LinksGrabberPage>()->ShownLines(), TextList{links[row]});
      }
      form.FormClose();
    }
    TFolderDialog::SetChooser(nullptr);
    TForm1 again(dir.Path());
    EXPECT_EQ(again.Context().Settings().LinksFolder, folder);
    EXPECT_EQ(again.Context().Settings().SourceFolder, folder);
    again.FormShow();
    EXPECT_EQ(
        PathText(testing::Find<QLineEdit>(again.PageControl1()->widget(1), "EditSourceFolder")),
        folder);
    EXPECT_EQ(
        testing::Find<TFileListBox>(again.PageControl1()->widget(0), "FileListBoxFiles")->count(),
        3);
  }
}

bool IsPipe(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}

// A pipe in place of the settings file, of exclusions.dat or of the English language file: the
// window is made and shown at once with the defaults, the reason is shown once the window is
// up (a missing language file is no error), and the pipe is left as it was.
TEST(MainWindow, APipeInPlaceOfAStartUpFileGivesTheDefaults) {
  struct Case {
    const char* name;
    std::string file;
    std::string error;  // empty: none is shown
  };
  const Case cases[] = {
      {"settings", "brevanoth-pagelathe.ini",
       "It is not a regular file. The settings start from their defaults and are not saved."},
      {"exclusion list", "exclusions.dat", "It is not a regular file."},
      {"language file", "language/English.ini", ""},
  };
  for (const Case& c : cases) {
    testing::TempFolder dir;
    const bool settings_pipe = c.file == "brevanoth-pagelathe.ini";
    if (!settings_pipe)
      dir.Write("brevanoth-pagelathe.ini", "[Options]\r\nfirstStart=0\r\nLink=kept\r\n");
    dir.MakeFolder("language");
    ASSERT_EQ(::mkfifo((dir / c.file).c_str(), 0600), 0);
    const testing::FifoWatchdog watchdog(dir / c.file);
    testing::RecordedMessages().clear();
    {
      TForm1 form(dir.Path());
      if (settings_pipe) testing::CloseNextModal();  // the first start's language choice
      form.show();
      EXPECT_TRUE(form.isVisible()) << c.name;
      EXPECT_EQ(form.Context().Settings().RememberedUrl, settings_pipe ? "" : "kept") << c.name;
      EXPECT_EQ(form.Context().Settings().CharsPerLine, 75) << c.name;
      EXPECT_TRUE(form.Context().ExclusionLines().empty()) << c.name;
      EXPECT_EQ(
          testing::Find<QPushButton>(form.Page<LinksGrabberPage>(), "ButtonSearchLinks")->text(),
          "Search")
          << c.name;
      const size_t expected = c.error.empty() ? 0 : 1;
      testing::WaitFor([&] { return testing::RecordedMessages().size() >= expected; });
      QCoreApplication::processEvents();
      ASSERT_EQ(testing::RecordedMessages().size(), expected) << c.name;
      if (expected == 1) {
        const std::string& text = testing::RecordedMessages()[0].text;
        EXPECT_EQ(text, "Cannot read file \"" + dir / c.file + "\". " + c.error) << c.name;
      }
      form.close();
    }
    EXPECT_TRUE(IsPipe(dir / c.file)) << c.name;
    if (!settings_pipe) {
      const std::string written = dir.Read("brevanoth-pagelathe.ini");
      EXPECT_NE(written.find("\r\nLink=kept\r\n"), std::string::npos) << c.name;
      EXPECT_NE(written.find("\r\nNo Http=0\r\n"), std::string::npos) << c.name;
    }
    EXPECT_EQ(testing::RecordedMessages().size(), c.error.empty() ? 0u : 1u)
        << c.name;  // none at close
  }
}

// A settings file over the profile limit (or one the program may not read) is not replaced at
// close by a file of defaults.
TEST(MainWindow, ASettingsFileThatCannotBeReadIsNotWrittenOver) {
  testing::TempFolder dir;
  std::string big = "[Options]\r\nfirstStart=0\r\nLink=mine\r\n";
  big.resize(size_t{65} << 20, ';');
  dir.Write("brevanoth-pagelathe.ini", big);
  testing::RecordedMessages().clear();
  {
    TForm1 form(dir.Path());
    EXPECT_EQ(form.Context().Settings().RememberedUrl, "");
    testing::CloseNextModal();  // the language choice: the first start, as far as it knows
    form.FormShow();
    QCoreApplication::processEvents();
    form.FormClose();
  }
  EXPECT_TRUE(dir.Read("brevanoth-pagelathe.ini") == big);
  ASSERT_EQ(testing::RecordedMessages().size(), 1u);
  EXPECT_EQ(testing::RecordedMessages()[0].text,
            "Cannot read file \"" + dir / "brevanoth-pagelathe.ini" +
                "\". It is larger than 64 MB. The settings start from their defaults and are "
                "not saved.");
}

TEST(MainWindow, UpdateServerKeyIsReadButNeverWritten) {
  testing::TempFolder dir;
  dir.Write("brevanoth-pagelathe.ini",
            "[Options]\r\nfirstStart=0\r\nUpdate Server=http://127.0.0.1:9\r\n");
  {
    TForm1 form(dir.Path());
    EXPECT_EQ(form.Context().Product().UpdateBaseUrl, "http://127.0.0.1:9");
    form.FormClose();
  }
  const TextList keys = KeysOf(dir.Read("brevanoth-pagelathe.ini"));
  EXPECT_EQ(std::count(keys.begin(), keys.end(), "Update Server"), 1);
}

TEST(TWinXP, PlacementChecks) {
  QWidget form;
  QWidget child(&form);
  QObject plain;
  struct Case {
    QObject* owner;
    const char* message;
  };
  for (const Case& c : {Case{&plain, "Control parent must be a form!"},
                        Case{&child, "Control parent must be a form!"}}) {
    try {
      TWinXP marker(c.owner);
      ADD_FAILURE() << "no error";
    } catch (const std::exception& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
  TWinXP first(&form);
  try {
    TWinXP second(&form);
    ADD_FAILURE() << "no error";
  } catch (const std::exception& error) {
    EXPECT_STREQ(error.what(), "Only one instance of TWinXP allowed on form");
  }
  EXPECT_EQ(form.findChildren<TWinXP*>().size(), 1);
}

}  // namespace
}  // namespace pagelathe
