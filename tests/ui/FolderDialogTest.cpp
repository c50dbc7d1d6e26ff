// TFolderDialog: its properties, the browse flags, where its window goes, and Execute with a
// replaced chooser and with Qt's own.
#include "ui/FolderDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <stdexcept>

#include "platform/Paths.h"
#include "support/GuiTest.h"
#include "support/TempFolder.h"
#include "ui/QtText.h"

namespace pagelathe {
namespace {

using testing::TempFolder;

// Replaces the chooser for one test and puts Qt's back afterwards.
struct ScopedChooser {
  explicit ScopedChooser(TFolderDialog::Chooser chooser) {
    TFolderDialog::SetChooser(std::move(chooser));
  }
  ~ScopedChooser() { TFolderDialog::SetChooser(nullptr); }
};

TEST(FolderDialog, InitialProperties) {
  TFolderDialog dialog("FolderDialog1");
  EXPECT_EQ(dialog.objectName(), "FolderDialog1");
  EXPECT_EQ(dialog.Caption, "");
  EXPECT_EQ(dialog.Title, "");
  EXPECT_EQ(dialog.Directory, CurrentFolder());
  EXPECT_EQ(dialog.ImageIndex(), 0);
  EXPECT_EQ(dialog.Options, TFolderOptions{TOptions::fdoNewDialogStyle});
  EXPECT_EQ(dialog.DialogPosition, TDialogPosition::fdpDefault);
  EXPECT_EQ(dialog.DialogX, 0);
  EXPECT_EQ(dialog.DialogY, 0);
  EXPECT_EQ(dialog.Version(), "1.1.0.0");
  dialog.SetVersion("9.9");
  EXPECT_EQ(dialog.GetVersion(), "1.1.0.0");
  EXPECT_EQ(GetVersionNr(), 0x01010000u);
}

TEST(FolderDialog, BrowseFlagsAddUpTheShellFlags) {
  using enum TOptions;
  const std::pair<TFolderOptions, unsigned> cases[] = {
      {{}, 0},
      {{fdoNewDialogStyle}, 64},
      {{fdoBrowseForComputer}, 4096},
      {{fdoBrowseForPrinter}, 8192},
      {{fdoDontgoBelowDomain}, 2},
      {{fdoReturnFSAncestors}, 8},
      {{fdoReturnOnlyFSDirs}, 1},
      {{fdoStatusText}, 4},
      {{fdoNoNewFolderButton}, 512},
      {{fdoEditBox}, 16},
      {{fdoReturnOnlyFSDirs, fdoNewDialogStyle, fdoEditBox}, 81},
      {{fdoBrowseForComputer, fdoBrowseForPrinter, fdoDontgoBelowDomain, fdoReturnFSAncestors,
        fdoReturnOnlyFSDirs, fdoStatusText, fdoNewDialogStyle, fdoNoNewFolderButton, fdoEditBox},
       12895},
  };
  for (const auto& [options, flags] : cases)
    EXPECT_EQ(BrowseFlags(options), flags) << flags;
}

TEST(FolderDialog, PlacementFollowsTheDialogPosition) {
  struct Case {
    TDialogPosition position;
    int x, y;
    QSize desktop, window;
    std::optional<QPoint> at;
  };
  using enum TDialogPosition;
  const Case cases[] = {
      {fdpDefault, 100, 100, {1024, 768}, {300, 200}, std::nullopt},
      {fdpScreenCenter, 0, 0, {1024, 768}, {300, 200}, QPoint(362, 284)},
      {fdpScreenCenter, 0, 0, {1025, 769}, {301, 201}, QPoint(362, 284)},  // halves truncated
      {fdpScreenCenter, 0, 0, {200, 100}, {300, 201}, QPoint(-50, -50)},
      {fdpXY, -5, 40, {1024, 768}, {300, 200}, QPoint(0, 40)},
      {fdpXY, 70, -1, {1024, 768}, {300, 200}, QPoint(70, 0)},
      {fdpXY, 0, 0, {1024, 768}, {300, 200}, QPoint(0, 0)},
  };
  for (const Case& c : cases) {
    TFolderDialog dialog("d");
    dialog.SetDialogPosition(c.position);
    dialog.SetDialogX(c.x);
    dialog.SetDialogY(c.y);
    EXPECT_EQ(dialog.Placement(c.desktop, c.window), c.at)
        << static_cast<int>(c.position) << " " << c.x << "," << c.y;
  }
}

TEST(FolderDialog, ExecuteWithAReplacedChooser) {
  TempFolder dir;
  const std::string start = dir.MakeFolder("start");
  const std::string chosen = dir.MakeFolder("chosen");
  struct Case {
    const char* name;
    std::string directory;  // before Execute
    std::function<std::optional<std::string>()> answer;
    TFolderOptions options;
    bool result;
    std::string offered;  // the Directory the chooser saw
    std::string after;    // Directory after Execute
  };
  using enum TOptions;
  const std::string cwd = CurrentFolder();
  const Case cases[] = {
      {"chosen",
       start,
       [&] { return std::optional(chosen); },
       {fdoNewDialogStyle},
       true,
       start,
       chosen},
      {"cancel", start, [] { return std::optional<std::string>(); }, {}, false, start, start},
      {"missing start folder becomes the current one, even on cancel",
       dir / "gone",
       [] { return std::optional<std::string>(); },
       {},
       false,
       cwd,
       cwd},
      {"empty start folder", "", [&] { return std::optional(chosen); }, {}, true, cwd, chosen},
      {"no folder path",
       start,
       [&] { return std::optional(dir / "gone"); },
       {},
       false,
       start,
       start},
      {"empty choice",
       start,
       [] { return std::optional<std::string>(""); },
       {},
       false,
       start,
       start},
      {"a failing chooser is no choice",
       start,
       []() -> std::optional<std::string> { throw std::runtime_error("broken"); },
       {},
       false,
       start,
       start},
      {"computers have no folder path",
       start,
       [&] { return std::optional(chosen); },
       {fdoBrowseForComputer},
       false,
       start,
       start},
      {"printers have no folder path",
       start,
       [&] { return std::optional(chosen); },
       {fdoBrowseForPrinter, fdoNewDialogStyle},
       false,
       start,
       start},
  };
  for (const Case& c : cases) {
    TFolderDialog dialog("d");
    dialog.SetDirectory(c.directory);
    dialog.SetOptions(c.options);
    std::string offered = "(not asked)";
    ScopedChooser chooser([&](TFolderDialog& d) {
      offered = d.Directory;
      return c.answer();
    });
    EXPECT_EQ(dialog.Execute(), c.result) << c.name;
    EXPECT_EQ(offered, c.offered) << c.name;
    EXPECT_EQ(dialog.Directory, c.after) << c.name;
    EXPECT_EQ(dialog.ImageIndex(), 0) << c.name;
  }
}

// Qt's chooser, answered from inside its own modal loop.
TEST(FolderDialog, QtChooserShowsCaptionTitleAndPlaceAndGivesTheFolder) {
  TempFolder dir;
  const std::string start = dir.MakeFolder("start");
  dir.MakeFolder("start/inner");
  struct Case {
    bool accept;
    TDialogPosition position;
    TFolderOptions options;
  };
  using enum TOptions;
  const Case cases[] = {
      {true, TDialogPosition::fdpXY, {fdoNewDialogStyle}},
      {false, TDialogPosition::fdpXY, {fdoEditBox}},
  };
  for (const Case& c : cases) {
    TFolderDialog dialog("d");
    dialog.Caption = "Pick one";
    dialog.Title = "Where are the pages?";
    dialog.SetDirectory(start);
    dialog.SetDialogPosition(c.position);
    dialog.SetDialogX(-5);
    dialog.SetDialogY(40);
    dialog.SetOptions(c.options);
    QString caption, title;
    QPoint at;
    bool edit_visible = false;
    bool seen = false;
    QTimer::singleShot(0, [&] {
      ASSERT_TRUE(testing::WaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
      QWidget* window = QApplication::activeModalWidget();
      // The placement runs once the window's loop has started.
      testing::WaitFor([&] { return window->pos() == QPoint(0, 40); }, 2000);
      seen = true;
      caption = window->windowTitle();
      if (auto* label = window->findChild<QLabel*>("FolderTitle")) title = label->text();
      at = window->pos();
      auto* view = window->findChild<QFileDialog*>("FolderView");
      ASSERT_NE(view, nullptr);
      if (auto* edit = view->findChild<QLineEdit*>("fileNameEdit"))
        edit_visible = edit->isVisibleTo(view);
      if (c.accept) {
        view->setDirectory(ToQ(start + "inner"));
        static_cast<QDialog*>(view)->accept();
      } else {
        view->reject();
      }
    });
    const bool result = dialog.Execute();
    ASSERT_TRUE(seen);
    EXPECT_EQ(caption, "Pick one");
    EXPECT_EQ(title, "Where are the pages?");
    EXPECT_EQ(at, QPoint(0, 40));
    EXPECT_EQ(edit_visible, c.options.count(fdoEditBox) > 0);
    EXPECT_EQ(result, c.accept);
    EXPECT_EQ(dialog.Directory, c.accept ? start + "inner" : start);
  }
}

}  // namespace
}  // namespace pagelathe
