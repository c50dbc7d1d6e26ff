// The Links Grabber page in a whole main window: the folder search on its worker, stop,
// the single-document sources, the list operations, clipboard, saving, the folder button and
// the settings of the page.
#include "tools/links/LinksGrabberPage.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>

#include <unistd.h>
#include <memory>

#include "app/TForm1.h"
#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "support/GuiTest.h"
#include "support/LinksGrabberWindow.h"
#include "support/TempFolder.h"
#include "support/UnreadableFiles.h"
#include "tools/links/LinkExtract.h"
#include "tools/links/LinkView.h"
#include "ui/Controls.h"
#include "ui/FileDialogs.h"
#include "ui/FolderDialog.h"
#include "ui/PageContext.h"
#include "ui/QtText.h"

namespace pagelathe {
namespace {

using testing::Find;
using testing::WaitFor;

class LinksGrabberPageTest : public testing::LinksGrabberWindow {
 protected:
  void Open(const std::string& settings = "") {
    LinksGrabberWindow::Open(settings);
    form->Context().Texts().StringSearch = "Search";
    form->Context().Texts().StringLinks = "Links";
    form->Context().Texts().StringProccessedFiles = "Files: ";
    form->Context().Texts().StringFolders = "Folders: ";
  }
  // A control of the page, by its objectName.
  template <typename T>
  T* Control(const char* name) const {
    return Find<T>(page, name);
  }
  std::string Folder() const { return FromQ(Control<QLineEdit>("EditFolder")->text()); }
  std::string Panel() const { return FromQ(Control<TPanel>("PanelLinks")->text()); }
  void SearchFolder(const std::string& folder) {
    Control<QLineEdit>("EditFolder")->setText(ToQ(folder));
    Control<QPushButton>("ButtonSearchLinks")->click();
    ASSERT_TRUE(WaitFor([this] { return !page->Searching(); }));
  }
};

TEST_F(LinksGrabberPageTest, ControlsStartWithTheirCaptionsAndDefaults) {
  Open();
  struct Caption {
    const char* name;
    const char* text;
  };
  const Caption buttons[] = {{"ButtonFolderLinks", "..."},
                             {"ButtonGetUrl", "Get"},
                             {"ButtonSearchLinks", "Search"},
                             {"ButtonFromClipboard", "From Clipboard"},
                             {"ButtonRemove", "Remove"},
                             {"ButtonClearLinks", "Clear"},
                             {"ButtonToClipboard", "To Clipboard"},
                             {"ButtonSave", "Save"}};
  for (const Caption& c : buttons)
    EXPECT_EQ(Find<QPushButton>(page, c.name)->text(), c.text) << c.name;
  EXPECT_FALSE(Control<QPushButton>("ButtonSave")->isEnabled());
  EXPECT_EQ(Control<QComboBox>("ComboBoxSearch")->count(), 7);
  EXPECT_EQ(Control<QComboBox>("ComboBoxSearch")->currentText(), "http://");
  EXPECT_EQ(Control<TRadioGroup>("RadioGroupLinks")->ItemIndex(), 1);
  EXPECT_EQ(Control<TRadioGroup>("RadioGroupLinks")->ItemText(2), "Name");
  EXPECT_EQ(Control<TRadioGroup>("RadioGroupView")->ItemIndex(), 0);
  EXPECT_EQ(Control<TRadioGroup>("RadioGroupView")->ItemText(2), "BB code");
  EXPECT_TRUE(Control<QCheckBox>("CheckBoxSubDirs")->isChecked());
  EXPECT_TRUE(Control<QCheckBox>("CheckBoxSort")->isChecked());
  EXPECT_FALSE(Control<QCheckBox>("CheckBoxNoHttp")->isChecked());
  EXPECT_EQ(Panel(), "Links");
  EXPECT_EQ(Control<TFilterComboBox>("FilterComboBoxFiles")->count(), 3);
  EXPECT_EQ(Control<QListView>("ListBoxLinks")->selectionMode(),
            QAbstractItemView::ExtendedSelection);
  auto* save = Find<TFileDialog>(page, "SaveDialog1");
  ASSERT_NE(save, nullptr);
  EXPECT_EQ(save->Filter(), "Text files (*.txt)|*.txt|HTML Files (*.htm; *.html)|*.htm;*.html");
  EXPECT_EQ(Folder(), dir.Path());  // "Folder" defaults to the program folder
}

TEST_F(LinksGrabberPageTest, FolderSearchShowsTheLinksOfTheTree) {
  Open();
  dir.Write("docs/a.htm", R"(<a href="http://b.org/x.html">b</a> http://a.org/y)");
  dir.Write("docs/sub/c.txt", "http://c.org/z\r\nhttp://spam.org/q");
  dir.Write("docs/sub/d.gif", "http://gif.org/");
  form->Context().ExclusionLines() = {"www.spam.org"};
  SearchFolder(dir / "docs");
  EXPECT_EQ(page->ShownLines(), (TextList{"http://a.org", "http://b.org", "http://c.org"}));
  EXPECT_EQ(Panel(), "Links:3");
  EXPECT_EQ(form->StatusText(), "Files: 3  Folders: 1");
  EXPECT_EQ(Control<QPushButton>("ButtonSearchLinks")->text(), "Search");
  EXPECT_TRUE(Control<QPushButton>("ButtonSave")->isEnabled());
  EXPECT_EQ(Control<QProgressBar>("pbGrabber")->value(), 0);
  EXPECT_EQ(Folder(), dir / "docs");
  EXPECT_EQ(form->Context().FoundLinks().ToTextList(),
            (TextList{"http://b.org", "http://a.org", "http://c.org"}));
  EXPECT_EQ(form->Context().FolderList(), (TextList{dir / "docs", dir / "docs/sub"}));
  EXPECT_EQ(form->Context().DocumentLines(), (TextList{"http://c.org/z", "http://spam.org/q"}));

  // The link type now searches the last document read, alone.
  Control<TRadioGroup>("RadioGroupLinks")->SetItemIndex(0);
  page->RadioGroupLinksClick();
  EXPECT_EQ(page->ShownLines(), TextList{"http://c.org/z"});
  EXPECT_EQ(Panel(), "Links:1");

  // Without sub folders only the root's documents are read, and the status is left alone.
  Control<QCheckBox>("CheckBoxSubDirs")->setChecked(false);
  form->SetStatusText("before");
  SearchFolder(dir / "docs/");
  EXPECT_EQ(page->ShownLines(), (TextList{"http://a.org/y", "http://b.org/x.html"}));
  EXPECT_EQ(form->StatusText(), "Files: a.htm");
}

TEST_F(LinksGrabberPageTest, OptionsChangedDuringTheSearchAreHonouredAtTheEnd) {
  Open();
  dir.Write("docs/a.htm", "http://a.org http://b.org");
  Control<QLineEdit>("EditFolder")->setText(ToQ(dir / "docs"));
  Control<QPushButton>("ButtonSearchLinks")->click();
  Control<QCheckBox>("CheckBoxSort")->setChecked(false);
  Control<TRadioGroup>("RadioGroupView")->SetItemIndex(2);
  ASSERT_TRUE(WaitFor([this] { return !page->Searching(); }));
  EXPECT_EQ(page->ShownLines(), (TextList{"[url=http://a.org]http://a.org[/url]",
                                          "[url=http://b.org]http://b.org[/url]"}));
}

// A page 300 folders deep, far past the longest path the system takes, is found too.
TEST_F(LinksGrabberPageTest, FolderSearchReadsTreesOfAnyDepth) {
  Open();
  dir.MakeDeepFolder("tall", std::string(20, 'f'), 300, "page.htm", "http://far.org/page");
  SearchFolder(dir / "tall");
  EXPECT_EQ(page->ShownLines(), TextList{"http://far.org"});
  EXPECT_EQ(form->StatusText(), "Files: 1  Folders: 300");
}

TEST_F(LinksGrabberPageTest, StopTurnsBackAtOnceAndNothingChangesAfterwards) {
  Open();
  for (int f = 0; f < 40; ++f)
    for (int i = 0; i < 50; ++i)
      dir.Write("big/d" + std::to_string(f) + "/p" + std::to_string(i) + ".htm",
                "http://h" + std::to_string(i) + ".org/");
  Control<QLineEdit>("EditFolder")->setText(ToQ(dir / "big"));
  Control<QPushButton>("ButtonSearchLinks")->click();
  EXPECT_TRUE(page->Searching());
  EXPECT_EQ(Control<QPushButton>("ButtonSearchLinks")->text(), "Stop");
  // The single-document sources wait for the search.
  EXPECT_FALSE(Control<QPushButton>("ButtonFromClipboard")->isEnabled());
  EXPECT_FALSE(Control<TFileListBox>("FileListBoxFiles")->isEnabled());
  EXPECT_FALSE(Control<TRadioGroup>("RadioGroupLinks")->isEnabled());
  EXPECT_FALSE(Control<QPushButton>("ButtonGetUrl")->isEnabled());
  Control<QPushButton>("ButtonSearchLinks")->click();
  EXPECT_FALSE(page->Searching());
  EXPECT_EQ(Control<QPushButton>("ButtonSearchLinks")->text(), "Search");
  EXPECT_TRUE(Control<QPushButton>("ButtonFromClipboard")->isEnabled());
  EXPECT_EQ(Panel(), "Links:0");
  EXPECT_TRUE(page->ShownLines().empty());
  EXPECT_EQ(Folder(), dir / "big");
  const LinkStore found = form->Context().FoundLinks();
  const std::string status = form->StatusText();
  page->StopJobs();  // waits for the worker's thread; whatever it sent is queued by now
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
  EXPECT_TRUE(page->ShownLines().empty());
  EXPECT_EQ(form->Context().FoundLinks(), found);
  EXPECT_EQ(form->StatusText(), status);
  EXPECT_EQ(Folder(), dir / "big");
  EXPECT_EQ(Control<QProgressBar>("pbGrabber")->value(), 0);
  // What was found before the stop comes back with the next rebuild.
  page->RadioGroupViewClick();
  EXPECT_EQ(page->ShownLines().empty(), found.empty());
}

// A pipe, a link to /dev/zero and a sparse file of 1 TB in the folder: the search ends, shows
// the links of the other documents, and names what it could not read; the file list does not
// offer the pipe and the device, and a click on any of them is refused at once.
TEST_F(LinksGrabberPageTest, UnreadableFilesNeitherHangNorEndTheSearch) {
  Open();
  dir.Write("docs/a.htm", "http://a.org/x");
  dir.Write("docs/z.htm", "http://z.org/x");
  testing::MakeUnreadableFiles(dir / "docs/", ".htm");
  const testing::FifoWatchdog watchdog(dir / "docs/fifo.htm");
  testing::RecordedMessages().clear();
  SearchFolder(dir / "docs");
  EXPECT_EQ(page->ShownLines(), (TextList{"http://a.org", "http://z.org"}));
  ASSERT_EQ(testing::RecordedMessages().size(), 1u);
  EXPECT_EQ(testing::RecordedMessages()[0].text,
            "These documents were not searched:\nCannot read file \"" + dir.Path() +
                "docs/sparse.htm\". It is larger than 1024 MB.");
  EXPECT_EQ(Control<TFileListBox>("FileListBoxFiles")->Names(),
            (std::vector<std::string>{"a.htm", "sparse.htm", "z.htm"}));
  for (const char* name : {"fifo.htm", "zero.htm", "sparse.htm"}) {
    try {
      page->FileListBoxFilesClick(name);
      ADD_FAILURE() << name << " was read";
    } catch (const EFileError& error) {
      EXPECT_NE(std::string(error.what()).find(dir / "docs/" + name), std::string::npos)
          << error.what();
    }
  }
  EXPECT_EQ(page->ShownLines(), (TextList{"http://a.org", "http://z.org"}));
}

TEST_F(LinksGrabberPageTest, ClipboardAndFileClickSearchOneDocument) {
  Open();
  QGuiApplication::clipboard()->setText("see http://x.org/a, and http://y.org/b");
  Control<QPushButton>("ButtonFromClipboard")->click();
  EXPECT_EQ(page->ShownLines(), (TextList{"http://x.org", "http://y.org"}));
  EXPECT_EQ(Panel(), "Links:2");
  EXPECT_TRUE(Control<QPushButton>("ButtonSave")->isEnabled());
  EXPECT_EQ(form->Context().TokenList().size(), 4u);

  dir.Write("docs/one.xml", "<x href='http://one.org/page'/>");
  Control<QLineEdit>("EditFolder")->setText(ToQ(dir / "docs"));
  ASSERT_EQ(Control<TFileListBox>("FileListBoxFiles")->Names(),
            std::vector<std::string>{"one.xml"});
  page->FileListBoxFilesClick("one.xml");  // any extension when clicked
  EXPECT_EQ(page->ShownLines(), TextList{"http://one.org"});
  EXPECT_EQ(Panel(), "Links:1");

  EXPECT_THROW(page->FileListBoxFilesClick("gone.htm"), EFileError);
  EXPECT_EQ(page->ShownLines(), TextList{"http://one.org"});  // previous results stay

  QGuiApplication::clipboard()->setText("");
  Control<QPushButton>("ButtonFromClipboard")->click();
  EXPECT_TRUE(page->ShownLines().empty());
  EXPECT_EQ(Panel(), "Links:0");
}

// The process's current folder for the life of one object.
class ScopedCurrentFolder {
 public:
  explicit ScopedCurrentFolder(const std::string& folder) : old_(CurrentFolder()) {
    EXPECT_EQ(::chdir(folder.c_str()), 0);
  }
  ~ScopedCurrentFolder() { (void)::chdir(old_.c_str()); }

 private:
  std::string old_;
};

TEST_F(LinksGrabberPageTest, AMissingFolderListsNothingWhateverReReadsTheList) {
  Open();
  dir.Write("here/b.htm", "http://here.org/");  // what an empty path would list
  const ScopedCurrentFolder here(dir / "here");
  for (const std::string& folder : {dir / "missing", std::string()}) {
    SCOPED_TRACE(std::string("folder ").append(folder));
    SearchFolder(folder);
    EXPECT_TRUE(Control<TFileListBox>("FileListBoxFiles")->Names().empty());
    EXPECT_EQ(Control<TFileListBox>("FileListBoxFiles")->count(), 0);
    EXPECT_TRUE(page->ShownLines().empty());
    EXPECT_EQ(Panel(), "Links:0");
    form->ApplicationEvents1Activate();
    EXPECT_EQ(Control<TFileListBox>("FileListBoxFiles")->count(), 0);
    for (int type : {2, 1, 0}) {
      Control<TFilterComboBox>("FilterComboBoxFiles")->setCurrentIndex(type);
      EXPECT_EQ(Control<TFileListBox>("FileListBoxFiles")->count(), 0) << "file type " << type;
    }
  }
}

TEST_F(LinksGrabberPageTest, SearchDocumentRunsTheCurrentOptions) {
  Open();
  Control<QComboBox>("ComboBoxSearch")->setCurrentIndex(1);  // ftp://
  Control<TRadioGroup>("RadioGroupLinks")->SetItemIndex(2);
  page->SearchDocument({"ftp://f.org/pub/file.zip http://h.org/x.htm"});
  EXPECT_EQ(page->ShownLines(), TextList{"file.zip"});
  EXPECT_EQ(form->Context().DocumentLines(),
            TextList{"ftp://f.org/pub/file.zip http://h.org/x.htm"});
}

TEST_F(LinksGrabberPageTest, RemoveClearAndRebuild) {
  Open();
  page->SearchDocument({"http://a.org http://b.org http://c.org"});
  QItemSelectionModel* selection = Control<QListView>("ListBoxLinks")->selectionModel();
  auto* model = Control<QListView>("ListBoxLinks")->model();
  selection->select(model->index(2, 0), QItemSelectionModel::Select);
  selection->select(model->index(0, 0), QItemSelectionModel::Select);
  Control<QPushButton>("ButtonRemove")->click();
  EXPECT_EQ(page->ShownLines(), TextList{"http://b.org"});
  EXPECT_EQ(form->Context().ScratchList(), (TextList{"http://a.org", "http://c.org"}));
  EXPECT_EQ(Panel(), "Links:3");  // only searches set the count

  Control<QPushButton>("ButtonToClipboard")->click();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "http://b.org");

  Control<TRadioGroup>("RadioGroupView")->SetItemIndex(1);
  page->RadioGroupViewClick();
  EXPECT_EQ(page->ShownLines().size(), 3u);
  EXPECT_EQ(page->ShownLines()[0], "<a href=\"http://a.org\">http://a.org</a>");

  Control<QPushButton>("ButtonClearLinks")->click();
  EXPECT_TRUE(page->ShownLines().empty());
  EXPECT_EQ(form->Context().FoundLinks().size(), 3u);
  EXPECT_TRUE(Control<QPushButton>("ButtonSave")->isEnabled());

  Control<QCheckBox>("CheckBoxNoHttp")->setChecked(true);
  Control<TRadioGroup>("RadioGroupView")->SetItemIndex(0);
  page->CheckBoxNoHttpClick();
  EXPECT_EQ(page->ShownLines(), (TextList{"a.org", "b.org", "c.org"}));
  Control<QPushButton>("ButtonToClipboard")->click();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "a.org\r\nb.org\r\nc.org");
}

TEST_F(LinksGrabberPageTest, SaveAsTextOrHtmlPage) {
  Open();
  page->SearchDocument({"http://b.org http://a.org"});
  struct Case {
    int filter_index;
    std::string bytes;
  };
  const Case cases[] = {
      {1, "http://a.org\r\nhttp://b.org\r\n"},
      {2,
       "<HTML>\r\n<HEAD>\r\n"
       "<meta http-equiv='Content-Type' content='text/html; charset=windows-1251'>\r\n"
       "<TITLE>Links</TITLE>\r\n</HEAD>\r\n"
       "<BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\" LINK=\"#0000FF\" VLINK=\"#800080\">\r\n"
       "\r\n<h2 align=center>Links:</h2>\r\n\r\n"
       "<br><a href=\"http://a.org\" target = \"_blank\">http://a.org</a>\r\n"
       "<br><a href=\"http://b.org\" target = \"_blank\">http://b.org</a>\r\n"
       "\r\n</BODY>\r\n</HTML>\r\n"},
  };
  for (const Case& c : cases) {
    QString offered_name, offered_folder;
    TFileDialog::SetChooser([&](TFileDialog& dialog) {
      offered_name = dialog.FileName;
      offered_folder = dialog.InitialDir;
      dialog.FilterIndex = c.filter_index;
      dialog.FileName = ToQ(dir / "out.file");
      return true;
    });
    Control<QPushButton>("ButtonSave")->click();
    EXPECT_EQ(offered_name, "links.txt");
    EXPECT_EQ(offered_folder, Control<QLineEdit>("EditFolder")->text());
    EXPECT_EQ(dir.Read("out.file"), c.bytes);
    EXPECT_TRUE(form->Context().OutputBuffer().empty());
  }

  // Links of any bytes are saved as they were found, and a list searched again from the saved
  // file saves to the same bytes.
  const std::string found = "http://Größe.example/\r\nhttp://\xCF\xF0.example/\r\n";
  page->SearchDocument(SplitLines(found));
  TFileDialog::SetChooser([&](TFileDialog& dialog) {
    dialog.FilterIndex = 1;
    dialog.FileName = ToQ(dir / "again.txt");
    return true;
  });
  Control<QPushButton>("ButtonSave")->click();
  const std::string saved = dir.Read("again.txt");
  page->SearchDocument(SplitLines(saved));
  Control<QPushButton>("ButtonSave")->click();
  EXPECT_EQ(dir.Read("again.txt"), saved);
  // (shown as domains, sorted as they are shown: Latin before Cyrillic)
  EXPECT_EQ(saved, "http://Größe.example\r\nhttp://\xCF\xF0.example\r\n");
  page->SearchDocument({"http://b.org http://a.org"});

  // Cancel writes nothing; a failed write keeps the old file and the buffer.
  TFileDialog::SetChooser([](TFileDialog&) { return false; });
  Control<QPushButton>("ButtonSave")->click();
  EXPECT_EQ(dir.Read("out.file"), cases[1].bytes);
  dir.Write("small.txt", "old");
  TFileDialog::SetChooser([&](TFileDialog& dialog) {
    dialog.FilterIndex = 1;
    dialog.FileName = ToQ(dir / "small.txt");
    return true;
  });
  {
    testing::ScopedFileSizeLimit limit(4);
    EXPECT_THROW(page->ButtonSaveClick(), EFileError);
  }
  EXPECT_EQ(dir.Read("small.txt"), "old");
  EXPECT_EQ(form->Context().OutputBuffer(), (TextList{"http://a.org", "http://b.org"}));
}

TEST_F(LinksGrabberPageTest, LinksShowAsTheirDocumentWroteThemAndAreSavedByteForByte) {
  Open();
  Control<TRadioGroup>("RadioGroupLinks")->SetItemIndex(0);  // full links
  const std::string utf8 =
      "http://\xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80.org/"
      "\xD0\xB4\xD0\xBE\xD0\xBC";                                     // пример.org/дом
  const std::string cp1251 = "http://\xEF\xF0\xE8\xEC\xE5\xF0.org/";  // пример.org/
  struct Case {
    const char* name;
    std::string page;
    TextList found;     // the bytes of the links, as the document holds them
    QStringList shown;  // what the list shows
  };
  const Case cases[] = {
      {"utf8.htm",
       "<a href=\"" + utf8 + "\">\xD0\x94\xD0\xBE\xD0\xBC</a> http://plain.org/",
       {utf8, "http://plain.org/"},
       {QString::fromUtf8("http://пример.org/дом"), "http://plain.org/"}},
      {"cp1251.htm",
       "<a href='" + cp1251 + "'>\xC4\xEE\xEC</a> http://plain.org/",
       {cp1251, "http://plain.org/"},
       {QString::fromUtf8("http://пример.org/"), "http://plain.org/"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dir.Write(std::string("docs/").append(c.name), c.page);
    Control<QLineEdit>("EditFolder")->setText(ToQ(dir / "docs"));
    page->FileListBoxFilesClick(c.name);
    Control<QCheckBox>("CheckBoxSort")->setChecked(false);
    page->CheckBoxSortClick();
    EXPECT_EQ(page->ShownLines(), c.found);
    QStringList shown;
    for (int row = 0; row < Control<QListView>("ListBoxLinks")->model()->rowCount(); ++row)
      shown << Control<QListView>("ListBoxLinks")->model()->index(row, 0).data().toString();
    EXPECT_EQ(shown, c.shown);
    Control<QPushButton>("ButtonToClipboard")->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), c.shown.join("\r\n"));
    TFileDialog::SetChooser([this](TFileDialog& dialog) {
      dialog.FilterIndex = 1;
      dialog.FileName = ToQ(dir / "links.txt");
      return true;
    });
    Control<QPushButton>("ButtonSave")->click();
    EXPECT_EQ(dir.Read("links.txt"), c.found[0] + "\r\n" + c.found[1] + "\r\n");
  }
  // The file list shows a UTF-8 file name as its characters and clicks it by its bytes.
  const std::string name = "\xD1\x81\xD1\x81\xD1\x8B\xD0\xBB\xD0\xBA\xD0\xB8.txt";  // ссылки.txt
  dir.Write("docs/" + name, "http://named.org/");
  form->ApplicationEvents1Activate();  // the list re-reads its folder
  const QList<QListWidgetItem*> items =
      Control<TFileListBox>("FileListBoxFiles")
          ->findItems(QString::fromUtf8("ссылки.txt"), Qt::MatchExactly);
  ASSERT_EQ(items.size(), 1);
  emit Control<TFileListBox>("FileListBoxFiles")->itemClicked(items[0]);
  EXPECT_EQ(page->ShownLines(), TextList{"http://named.org/"});
}

TEST_F(LinksGrabberPageTest, FileTypeSwitchRewritesTheExtension) {
  Open();
  std::vector<QString> names;
  TFileDialog::SetChooser([&](TFileDialog& dialog) {
    for (int index : {2, 1, 2}) {
      dialog.FilterIndex = index;
      emit dialog.TypeChange();
      names.push_back(dialog.LiveFileName());
    }
    return false;
  });
  page->ButtonSaveClick();
  EXPECT_EQ(names, (std::vector<QString>{"links.htm", "links.txt", "links.htm"}));
}

TEST_F(LinksGrabberPageTest, FolderButtonSetsTheFolderWithAFinalSlash) {
  Open();
  dir.Write("chosen/a.htm", "");
  std::string offered;
  TFolderDialog::SetChooser([&](TFolderDialog& dialog) -> std::optional<std::string> {
    offered = dialog.Directory;
    return dir / "chosen";
  });
  Control<QLineEdit>("EditFolder")->setText(ToQ(dir.Path()));
  Control<QPushButton>("ButtonFolderLinks")->click();
  EXPECT_EQ(offered, dir.Path());
  EXPECT_EQ(Folder(), dir / "chosen/");
  EXPECT_EQ(form->Context().Settings().LinksFolder, dir / "chosen/");
  EXPECT_EQ(Control<TFileListBox>("FileListBoxFiles")->Names(), std::vector<std::string>{"a.htm"});

  TFolderDialog::SetChooser([](TFolderDialog&) { return std::nullopt; });
  Control<QPushButton>("ButtonFolderLinks")->click();
  EXPECT_EQ(Folder(), dir / "chosen/");

  // A folder that does not exist empties the file list.
  Control<QLineEdit>("EditFolder")->setText(ToQ(dir / "nowhere"));
  EXPECT_EQ(Control<TFileListBox>("FileListBoxFiles")->count(), 0);
}

TEST_F(LinksGrabberPageTest, SettingsComeBackAndAreWritten) {
  Open(
      "Search Type=1\r\nLink Type=2\r\nView Option=2\r\nSub Dirs=0\r\nSort Links=0\r\n"
      "No Http=1\r\nLink=http://remembered.org/\r\nFolder=" +
      dir.Path() + "\r\n");
  EXPECT_EQ(Control<QComboBox>("ComboBoxSearch")->currentText(), "ftp://");
  EXPECT_EQ(Control<TRadioGroup>("RadioGroupLinks")->ItemIndex(), 2);
  EXPECT_EQ(Control<TRadioGroup>("RadioGroupView")->ItemIndex(), 2);
  EXPECT_FALSE(Control<QCheckBox>("CheckBoxSubDirs")->isChecked());
  EXPECT_FALSE(Control<QCheckBox>("CheckBoxSort")->isChecked());
  EXPECT_TRUE(Control<QCheckBox>("CheckBoxNoHttp")->isChecked());
  EXPECT_EQ(FromQ(Control<QLineEdit>("EditUrl")->text()), "http://remembered.org/");

  Control<QComboBox>("ComboBoxSearch")->setCurrentIndex(4);
  Control<TRadioGroup>("RadioGroupLinks")->SetItemIndex(0);
  Control<TRadioGroup>("RadioGroupView")->SetItemIndex(-1);
  Control<QCheckBox>("CheckBoxSubDirs")->setChecked(true);
  Control<QLineEdit>("EditFolder")->setText(ToQ(dir / "typed"));
  form->FormClose();
  const IniFile ini(dir / "brevanoth-pagelathe.ini");
  struct Key {
    const char* key;
    const char* value;
  };
  const Key keys[] = {{"Search Type", "4"}, {"Link Type", "0"},  {"View Option", "-1"},
                      {"Sub Dirs", "1"},    {"Sort Links", "0"}, {"No Http", "1"}};
  for (const Key& k : keys)
    EXPECT_EQ(ini.ReadString("Options", k.key, "?"), k.value) << k.key;
  EXPECT_EQ(ini.ReadString("Options", "Folder", "?"), dir / "typed");
}

TEST_F(LinksGrabberPageTest, ExclusionFileIsCreatedAndUsed) {
  dir.Write("exclusions.dat", "www.spam.org\r\n\r\n");
  Open();
  EXPECT_EQ(form->Context().ExclusionLines(), (TextList{"www.spam.org", ""}));
  page->SearchDocument({"http://spam.org/a http://ok.org/b"});
  EXPECT_EQ(page->ShownLines(), TextList{"http://ok.org"});

  testing::TempFolder other;
  other.Write("brevanoth-pagelathe.ini", "[Options]\r\nfirstStart=0\r\n");
  TForm1 fresh(other.Path());
  EXPECT_TRUE(fresh.Context().ExclusionLines().empty());
  EXPECT_EQ(other.Read("exclusions.dat"), "");
  EXPECT_TRUE(FileExists(other / "exclusions.dat"));
}

TEST_F(LinksGrabberPageTest, ALongViewIsRebuiltOnTheWorkerAsTheEngineBuildsIt) {
  Open();
  TextList found;
  for (int i = 0; i < 30000; ++i)  // over the 20,000 links the page still builds itself
    found.push_back("http://host" + std::to_string(i % 22500) + ".org/" +
                    (i % 3 ? "" : "page.html"));
  form->Context().FoundLinks() = LinkStore(found);
  Control<QCheckBox>("CheckBoxNoHttp")->setChecked(true);
  for (const bool sorted : {false, true}) {
    SCOPED_TRACE(sorted);
    Control<QCheckBox>("CheckBoxSort")->setChecked(sorted);
    page->CheckBoxSortClick();
    // The view arrives through the window's events: until then its controls wait.
    ASSERT_TRUE(page->ViewBusy());
    for (QWidget* control : std::initializer_list<QWidget*>{
             Control<QListView>("ListBoxLinks"), Control<QCheckBox>("CheckBoxSort"),
             Control<TRadioGroup>("RadioGroupView"), Control<QPushButton>("ButtonRemove"),
             Control<QPushButton>("ButtonFromClipboard"), Control<QPushButton>("ButtonSearchLinks"),
             Control<TFileListBox>("FileListBoxFiles")})
      EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    page->SearchDocument({"http://ignored.org"});  // one document at a time
    ASSERT_TRUE(WaitFor([this] { return !page->ViewBusy(); }));
    EXPECT_EQ(page->ShownLines(), BuildLinkView(form->Context().FoundLinks(), [&] {
                LinkViewOptions options;
                options.sort = sorted;
                options.no_http = true;
                options.link_type =
                    LinkShapeAt(Control<TRadioGroup>("RadioGroupLinks")->ItemIndex());
                options.view = 0;
                options.protocol = "http://";
                return options;
              }()));
    EXPECT_EQ(form->Context().FoundLinks().size(), found.size());
    EXPECT_TRUE(Control<QListView>("ListBoxLinks")->isEnabled() &&
                Control<QPushButton>("ButtonSearchLinks")->isEnabled());
    EXPECT_FALSE(Control<QPushButton>("ButtonSave")->isEnabled());  // still no search
  }
  EXPECT_EQ(Control<QListView>("ListBoxLinks")->model()->index(0, 0).data().toString(),
            "host0.org/page.html");
}

TEST_F(LinksGrabberPageTest, ALargeDocumentIsSearchedOnTheWorkerAsASmallOneIs) {
  Open();
  form->Context().ExclusionLines() = {"spam.org"};
  TextList document;
  for (int i = 0; i < 24000; ++i)  // 1.4 MB, over the 1 MB the page still searches itself
    document.push_back("<a href=\"http://h" + std::to_string(i % 900) + ".org/" +
                       std::to_string(i) + "\">x</a> http://spam.org/" + std::to_string(i));
  LinkStore expected_found;
  ExtractLinks(document, "http://", LinkShape::Domen, form->Context().ExclusionLines(),
               expected_found);
  const TextList expected = BuildLinkView(expected_found, [] {
    LinkViewOptions options;
    options.link_type = LinkShape::Domen;
    options.protocol = "http://";
    return options;
  }());
  page->SearchDocument(document);
  ASSERT_TRUE(page->ViewBusy());
  EXPECT_FALSE(Control<QPushButton>("ButtonFromClipboard")->isEnabled());
  ASSERT_TRUE(WaitFor([this] { return !page->ViewBusy(); }));
  EXPECT_EQ(page->ShownLines(), expected);
  EXPECT_EQ(form->Context().DocumentLines(), document);
  EXPECT_EQ(form->Context().TokenList().size(), CutIntoPieces(document).size());
  EXPECT_EQ(form->Context().FoundLinks().ToTextList(), expected_found.ToTextList());
  EXPECT_EQ(Panel(), "Links:" + std::to_string(expected.size()));
  EXPECT_TRUE(Control<QPushButton>("ButtonSave")->isEnabled());
  EXPECT_TRUE(Control<QPushButton>("ButtonFromClipboard")->isEnabled());
  // The link type searches it again, the same way.
  Control<TRadioGroup>("RadioGroupLinks")->SetItemIndex(0);
  page->RadioGroupLinksClick();
  ASSERT_TRUE(WaitFor([this] { return !page->ViewBusy(); }));
  EXPECT_EQ(page->ShownLines().size(), 24000u);
}

}  // namespace
}  // namespace pagelathe
