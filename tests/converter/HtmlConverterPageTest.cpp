// The HTML Converter page in a whole main window: controls, settings, the folder buttons and
// the batch started, finished and stopped from its button.
#include "tools/converter/HtmlConverterPage.h"

#include <unistd.h>
#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QValidator>
#include <filesystem>
#include <memory>

#include "app/TForm1.h"
#include "platform/FileIO.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "support/GuiTest.h"
#include "support/TempFolder.h"
#include "support/UnreadableFiles.h"
#include "ui/Controls.h"
#include "ui/FolderDialog.h"
#include "ui/PageContext.h"
#include "ui/QtText.h"

namespace pagelathe {
namespace {

using testing::Find;
using testing::RecordedMessages;
using testing::TempFolder;
using testing::WaitFor;

std::string Text(const QLineEdit* edit) {
  return FromQ(edit->text());
}
std::string Text(const QPushButton* button) {
  return FromQ(button->text());
}

// A main window in a temporary program folder, shown once, with message texts that make
// captions and the status text recognisable.
struct Window {
  TempFolder dir;
  std::unique_ptr<TForm1> form;
  HtmlConverterPage* page = nullptr;

  explicit Window(const std::string& settings = "") {
    dir.Write("brevanoth-pagelathe.ini", "[Options]\r\nfirstStart=0\r\n" + settings);
    form = std::make_unique<TForm1>(dir.Path());
    form->Context().Texts().StringStop = "Stop";
    form->Context().Texts().StringConvert = "Convert!";
    form->Context().Texts().StringProccessedFiles = "Files: ";
    form->Context().Texts().StringFolders = "Folders: ";
    form->FormShow();
    page = form->Page<HtmlConverterPage>();
  }
  ~Window() { TFolderDialog::SetChooser(nullptr); }

  void SetFolders(const std::string& source, const std::string& result) {
    testing::Find<QLineEdit>(page, "EditSourceFolder")->setText(ToQ(source));
    testing::Find<QLineEdit>(page, "EditResultFolder")->setText(ToQ(result));
    testing::Find<TFileListBox>(page, "FileListBoxConverter")->SetDirectory(source);
  }
};

TEST(HtmlConverterPage, ControlsStartAsTheyShould) {
  Window w;
  HtmlConverterPage* page = w.page;
  EXPECT_EQ(page, Find<HtmlConverterPage>(w.form.get(), "TabSheetHtmlConverter"));
  auto* filter = Find<TFilterComboBox>(page, "FilterComboBox1");
  ASSERT_EQ(filter->count(), 3);
  EXPECT_EQ(filter->Mask(), "*.htm;*.shtm");
  EXPECT_EQ(Find<TFileListBox>(page, "FileListBoxConverter")->Mask(), "*.htm;*.shtm");
  EXPECT_EQ(Find<TRadioGroup>(page, "RadioGroupConvertOptions")->ItemIndex(), 0);
  EXPECT_TRUE(Find<QLineEdit>(page, "EditSourceFolder")->isReadOnly());
  EXPECT_TRUE(Find<QLineEdit>(page, "EditResultFolder")->isReadOnly());
  // At most three typed characters.
  const QValidator* typed = Find<QLineEdit>(page, "EditCharPerLine")->validator();
  ASSERT_NE(typed, nullptr);
  for (const auto& [text, state] :
       {std::pair{"", QValidator::Acceptable}, std::pair{"123", QValidator::Acceptable},
        std::pair{"-12", QValidator::Acceptable}, std::pair{"1234", QValidator::Invalid}}) {
    QString input = text;
    int position = 0;
    EXPECT_EQ(typed->validate(input, position), state) << text;
  }
  EXPECT_FALSE(Find<QCheckBox>(page, "CheckBoxSubfolders")->isChecked());
  EXPECT_EQ(Find<QProgressBar>(page, "pbConverter")->maximum(), 100);
  for (const char* name : {"ButtonSourceFolder", "ButtonResultFolder"})
    EXPECT_EQ(Text(Find<QPushButton>(page, name)), "...") << name;

  // The limit check box enables and disables its label and edit, which start disabled.
  EXPECT_FALSE(testing::Find<QLabel>(page, "LabelCharPerLine")->isEnabled());
  EXPECT_FALSE(testing::Find<QLineEdit>(page, "EditCharPerLine")->isEnabled());
  for (bool on : {true, false, true}) {
    testing::Find<QCheckBox>(page, "cbLimit")->setChecked(on);
    EXPECT_EQ(testing::Find<QLabel>(page, "LabelCharPerLine")->isEnabled(), on);
    EXPECT_EQ(testing::Find<QLineEdit>(page, "EditCharPerLine")->isEnabled(), on);
  }
}

TEST(HtmlConverterPage, AMissingOrEmptySourceFolderListsNothing) {
  for (const char* source : {"/nonexistent/source/", ""}) {
    SCOPED_TRACE(source);
    Window w(std::string("Source Folder=") + source + "\r\n");
    // The program folder is the current one in no test; make sure an empty path would show.
    w.dir.Write("a.htm", "x");
    const std::string old = CurrentFolder();
    ASSERT_EQ(::chdir(w.dir.Path().c_str()), 0);
    testing::Find<TFileListBox>(w.page, "FileListBoxConverter")
        ->SetDirectory(Text(testing::Find<QLineEdit>(w.page, "EditSourceFolder")));
    EXPECT_EQ(testing::Find<TFileListBox>(w.page, "FileListBoxConverter")->count(), 0);
    w.form->ApplicationEvents1Activate();
    EXPECT_EQ(testing::Find<TFileListBox>(w.page, "FileListBoxConverter")->count(), 0);
    for (int type : {2, 1, 0}) {
      testing::Find<TFilterComboBox>(w.page, "FilterComboBox1")->setCurrentIndex(type);
      EXPECT_EQ(testing::Find<TFileListBox>(w.page, "FileListBoxConverter")->count(), 0)
          << "file type " << type;
    }
    ASSERT_EQ(::chdir(old.c_str()), 0);
  }
}

TEST(HtmlConverterPage, TheFileTypeSetsTheMaskAndTheDirection) {
  Window w;
  w.dir.Write("src/a.htm", "");
  w.dir.Write("src/b.SHTML", "");
  w.dir.Write("src/c.txt", "");
  w.dir.Write("src/d", "");
  w.SetFolders(w.dir / "src/", w.dir / "res/");
  struct Case {
    int index;
    int direction;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {1, 1, {"c.txt"}},
      {2, 0, {"a.htm", "b.SHTML", "c.txt", "d"}},
      {1, 1, {"c.txt"}},
      {0, 0, {"a.htm", "b.SHTML"}},
  };
  for (const Case& c : cases) {
    testing::Find<TFilterComboBox>(w.page, "FilterComboBox1")->setCurrentIndex(c.index);
    EXPECT_EQ(testing::Find<TRadioGroup>(w.page, "RadioGroupConvertOptions")->ItemIndex(),
              c.direction)
        << c.index;
    EXPECT_EQ(testing::Find<TFileListBox>(w.page, "FileListBoxConverter")->Names(), c.names)
        << c.index;
  }
}

TEST(HtmlConverterPage, CharsPerLineFollowsTheEditAndKeepsItsValueOnBadText) {
  Window w;
  EXPECT_EQ(Text(testing::Find<QLineEdit>(w.page, "EditCharPerLine")), "75");
  struct Case {
    const char* text;
    int chars_per_line;
    bool error;
  };
  const Case cases[] = {
      {"50", 50, false}, {"", 50, false},  {"x1", 50, true}, {"$1F", 31, false},
      {"-4", -4, false}, {"4 ", -4, true}, {"0", 0, false},
  };
  for (const Case& c : cases) {
    RecordedMessages().clear();
    testing::Find<QLineEdit>(w.page, "EditCharPerLine")->setText(c.text);
    EXPECT_EQ(w.form->Context().Settings().CharsPerLine, c.chars_per_line) << c.text;
    ASSERT_EQ(RecordedMessages().size(), c.error ? 1u : 0u) << c.text;
    if (c.error) {
      EXPECT_EQ(RecordedMessages()[0].text,
                "'" + std::string(c.text) + "' is not a valid integer value");
      EXPECT_TRUE(RecordedMessages()[0].is_error);
    }
  }
}

TEST(HtmlConverterPage, SettingsComeBackAndAreWrittenAtClose) {
  TempFolder folders;
  const std::string source = folders.MakeFolder("in");
  const std::string result = folders.MakeFolder("out");
  folders.Write("in/page.htm", "");
  Window w("Source Folder=" + source + "\r\nResult Folder=" + result + "\r\nChars Per Line=12\r\n");
  EXPECT_EQ(Text(testing::Find<QLineEdit>(w.page, "EditSourceFolder")), source);
  EXPECT_EQ(Text(testing::Find<QLineEdit>(w.page, "EditResultFolder")), result);
  EXPECT_EQ(testing::Find<TFileListBox>(w.page, "FileListBoxConverter")->Directory(), source);
  EXPECT_EQ(testing::Find<TFileListBox>(w.page, "FileListBoxConverter")->Names(),
            std::vector<std::string>{"page.htm"});
  EXPECT_EQ(Text(testing::Find<QLineEdit>(w.page, "EditCharPerLine")), "12");

  testing::Find<QLineEdit>(w.page, "EditCharPerLine")->setText("33");
  testing::Find<QLineEdit>(w.page, "EditResultFolder")->setText(ToQ(source));
  w.form->FormClose();
  const IniFile ini(w.dir / "brevanoth-pagelathe.ini");
  EXPECT_EQ(ini.ReadString("Options", "Source Folder", "?"), source);
  EXPECT_EQ(ini.ReadString("Options", "Result Folder", "?"), source);
  EXPECT_EQ(ini.ReadInteger("Options", "Chars Per Line", 0), 33);

  // Without the keys the program folder is the default of both.
  Window fresh;
  EXPECT_EQ(Text(testing::Find<QLineEdit>(fresh.page, "EditSourceFolder")), fresh.dir.Path());
  EXPECT_EQ(Text(testing::Find<QLineEdit>(fresh.page, "EditResultFolder")), fresh.dir.Path());

  // A limit longer than the edit takes from the keyboard comes back whole.
  Window wide("Chars Per Line=1000\r\n");
  EXPECT_EQ(Text(testing::Find<QLineEdit>(wide.page, "EditCharPerLine")), "1000");
  EXPECT_EQ(wide.form->Context().Settings().CharsPerLine, 1000);
}

TEST(HtmlConverterPage, FolderButtonsTakeTheChosenFolderWithAFinalSlash) {
  Window w;
  const std::string start = w.dir.MakeFolder("start");
  const std::string chosen = w.dir.MakeFolder("chosen");
  w.dir.Write("chosen/x.htm", "");
  w.SetFolders(start, start);
  struct Case {
    const char* button;
    QLineEdit* edit;
    bool lists_files;
  };
  const Case cases[] = {
      {"ButtonSourceFolder", testing::Find<QLineEdit>(w.page, "EditSourceFolder"), true},
      {"ButtonResultFolder", testing::Find<QLineEdit>(w.page, "EditResultFolder"), false}};
  for (const Case& c : cases) {
    std::string offered;
    std::optional<std::string> answer;  // nothing: the user cancels
    TFolderDialog::SetChooser([&](TFolderDialog& dialog) {
      offered = dialog.Directory;
      return answer;
    });
    auto* button = Find<QPushButton>(w.page, c.button);
    button->click();  // cancel: nothing changes
    EXPECT_EQ(offered, start) << c.button;
    EXPECT_EQ(Text(c.edit), start) << c.button;
    EXPECT_EQ(testing::Find<TFileListBox>(w.page, "FileListBoxConverter")->Directory(), start);

    answer = chosen.substr(0, chosen.size() - 1);  // the chooser gives no final slash
    button->click();
    EXPECT_EQ(Text(c.edit), chosen) << c.button;
    EXPECT_EQ(testing::Find<TFileListBox>(w.page, "FileListBoxConverter")->Directory(),
              c.lists_files ? chosen : start);
    EXPECT_EQ(testing::Find<TFileListBox>(w.page, "FileListBoxConverter")->Names().size(),
              c.lists_files ? 1u : 0u);

    answer = chosen;  // already ending with "/": not doubled
    button->click();
    EXPECT_EQ(Text(c.edit), chosen) << c.button;
    EXPECT_EQ(w.form->Context().FolderDialog1().Directory, chosen);

    answer = w.dir / "no such folder";  // not a folder path: no choice
    button->click();
    EXPECT_EQ(Text(c.edit), chosen) << c.button;
    c.edit->setText(ToQ(start));
    testing::Find<TFileListBox>(w.page, "FileListBoxConverter")->SetDirectory(start);
  }
  TFolderDialog::SetChooser([&](TFolderDialog&) { return std::optional<std::string>(chosen); });
  testing::Find<QPushButton>(w.page, "ButtonSourceFolder")->click();
  w.form->FormClose();
  const IniFile ini(w.dir / "brevanoth-pagelathe.ini");
  EXPECT_EQ(ini.ReadString("Options", "Source Folder", "?"), chosen);
}

TEST(HtmlConverterPage, BatchOverTwoSubfoldersReportsTheWalk) {
  Window w;
  w.dir.Write("src/a.htm", "a<br>b");
  w.dir.Write("src/sub1/c.htm", "c");
  w.dir.Write("src/sub2/d.shtml", "d");
  w.dir.Write("src/sub2/e.txt", "e");
  w.SetFolders(w.dir / "src/", w.dir.MakeFolder("res"));
  testing::Find<QCheckBox>(w.page, "CheckBoxSubfolders")->setChecked(true);
  testing::Find<QProgressBar>(w.page, "pbConverter")->setValue(40);

  testing::Find<QPushButton>(w.page, "ButtonConvert")->click();
  EXPECT_TRUE(w.page->Running());
  EXPECT_EQ(Text(testing::Find<QPushButton>(w.page, "ButtonConvert")), "Stop");
  ASSERT_TRUE(WaitFor([&] { return !w.page->Running(); }));
  EXPECT_EQ(Text(testing::Find<QPushButton>(w.page, "ButtonConvert")), "Convert!");
  EXPECT_EQ(testing::Find<QProgressBar>(w.page, "pbConverter")->value(), 0);
  EXPECT_EQ(w.form->StatusText(), "Files: 4 Folders: 2");
  EXPECT_EQ(w.form->Context().FolderList().size(), 3u);
  EXPECT_EQ(w.form->Context().FolderList()[0], w.dir / "src/");
  EXPECT_EQ(w.dir.Read("res/a.txt"), "a\r\nb\r\n");
  EXPECT_EQ(w.dir.Read("res/sub1/c.txt"), "c\r\n");
  EXPECT_EQ(w.dir.Read("res/sub2/d.txt"), "d\r\n");
  EXPECT_FALSE(FileExists(w.dir / "res/sub2/e.txt"));
}

TEST(HtmlConverterPage, WithoutSubfoldersTheStatusBarKeepsItsText) {
  Window w;
  w.dir.Write("src/a.txt", "one\r\ntwo");
  w.dir.Write("src/sub/b.txt", "b");
  w.SetFolders(w.dir / "src/", w.dir.MakeFolder("res"));
  testing::Find<TFilterComboBox>(w.page, "FilterComboBox1")
      ->setCurrentIndex(1);  // text files: text to HTML
  w.form->SetStatusText("before");
  testing::Find<QPushButton>(w.page, "ButtonConvert")->click();
  ASSERT_TRUE(WaitFor([&] { return !w.page->Running(); }));
  EXPECT_EQ(w.form->StatusText(), "before");
  EXPECT_EQ(w.form->Context().FolderList(), TextList{w.dir / "src/"});
  const TextList page = SplitLines(w.dir.Read("res/a.html"));
  ASSERT_EQ(page.size(), 22u);
  EXPECT_EQ(page[12], "<META name=\"generator\" content=\"Brevanoth Pagelathe 1.51\">");
  EXPECT_EQ(page[18], "<br>onetwo");
  EXPECT_FALSE(FileExists(w.dir / "res/sub/b.html"));
}

// Listed files that are gone by the batch, or were replaced by a pipe, a link to /dev/zero
// or a sparse file of 1 TB: the batch ends, converts the others and names the skipped ones.
TEST(HtmlConverterPage, SkippedFilesAreNamedWhenTheBatchEnds) {
  Window w;
  for (const char* name : {"a.htm", "fifo.htm", "gone.htm", "sparse.htm", "z.htm", "zero.htm"})
    w.dir.Write(std::string("src/") + name, name);
  w.SetFolders(w.dir / "src/", w.dir.MakeFolder("res"));
  for (const char* name : {"fifo.htm", "gone.htm", "sparse.htm", "zero.htm"})
    std::filesystem::remove(w.dir / "src/" + name);  // still listed
  testing::MakeUnreadableFiles(w.dir / "src/", ".htm");
  const testing::FifoWatchdog watchdog(w.dir / "src/fifo.htm");
  RecordedMessages().clear();
  testing::Find<QPushButton>(w.page, "ButtonConvert")->click();
  ASSERT_TRUE(WaitFor([&] { return !w.page->Running(); }));
  ASSERT_EQ(RecordedMessages().size(), 1u);
  const std::string src = w.dir / "src/";
  EXPECT_EQ(RecordedMessages()[0].text,
            "These files were not converted:\n"
            "Cannot read file \"" +
                src +
                "fifo.htm\". It is not a regular file.\n"
                "Cannot open file \"" +
                src +
                "gone.htm\". No such file or directory\n"
                "Cannot read file \"" +
                src +
                "sparse.htm\". It is larger than 1024 MB.\n"
                "Cannot read file \"" +
                src + "zero.htm\". It is not a regular file.");
  EXPECT_EQ(w.dir.Read("res/a.txt"), "a.htm\r\n");
  EXPECT_EQ(w.dir.Read("res/z.txt"), "z.htm\r\n");
}

TEST(HtmlConverterPage, AStopEndsAtOnceAndLeavesNoHalfWrittenFile) {
  Window w;
  constexpr int kFiles = 3000;
  const std::string body(2000, 'x');
  for (int i = 0; i < kFiles; ++i)
    w.dir.Write("src/f" + std::to_string(i) + ".htm", body);
  w.SetFolders(w.dir / "src/", w.dir.MakeFolder("res"));
  ASSERT_EQ(testing::Find<TFileListBox>(w.page, "FileListBoxConverter")->Names().size(),
            static_cast<size_t>(kFiles));

  testing::Find<QPushButton>(w.page, "ButtonConvert")->click();
  ASSERT_TRUE(w.page->Running());
  testing::Find<QPushButton>(w.page, "ButtonConvert")->click();  // stop
  EXPECT_FALSE(w.page->Running());
  EXPECT_EQ(Text(testing::Find<QPushButton>(w.page, "ButtonConvert")), "Convert!");
  EXPECT_EQ(testing::Find<QProgressBar>(w.page, "pbConverter")->value(), 0);

  w.page->StopJobs();  // the worker comes to rest at its next file
  int outputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(w.dir / "res")) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name.ends_with(".txt")) << "left behind: " << name;
    EXPECT_EQ(w.dir.Read("res/" + name), body + "\r\n") << name;
    ++outputs;
  }
  EXPECT_LT(outputs, kFiles);

  // A new batch after a stop runs to its end.
  testing::Find<QPushButton>(w.page, "ButtonConvert")->click();
  ASSERT_TRUE(WaitFor([&] { return !w.page->Running(); }, 60000));
  EXPECT_TRUE(FileExists(w.dir / ("res/f" + std::to_string(kFiles - 1) + ".txt")));
}

}  // namespace
}  // namespace pagelathe
