// The link check window over the Links Grabber's list: a real check against a local server
// (states, codes, places), the filter, Stop while links never answer, Save as CSV, and the
// double-click that takes the page to a place.
#include "tools/check/LinkCheckWindow.h"

#include <gtest/gtest.h>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <memory>

#include "app/TForm1.h"
#include "support/GuiTest.h"
#include "support/LinksGrabberWindow.h"
#include "support/TempFolder.h"
#include "support/TestWebServer.h"
#include "tools/check/LinkCheckModel.h"
#include "tools/links/LinksGrabberPage.h"
#include "ui/Controls.h"
#include "ui/FileDialogs.h"
#include "ui/PageContext.h"
#include "ui/QtText.h"

namespace pagelathe {
namespace {

using testing::Find;
using testing::WaitFor;

class LinkCheckWindowTest : public testing::LinksGrabberWindow {
 protected:
  void SetUp() override {
    server = std::make_unique<testing::TestWebServer>([this](const testing::TestRequest& r) {
      testing::TestReply reply;
      if (r.target.starts_with("/silent")) reply.silent = true;
      const int code = r.target == "/ok" ? 200 : r.target == "/forbidden" ? 403 : 404;
      reply.bytes = r.target == "/moved" ? HttpReply(r, 301, "Location: " + base + "/ok\r\n")
                                         : HttpReply(r, code);
      return reply;
    });
    base = server->Url("");
    Open("Link Type=0\r\n");
    window = Find<LinkCheckWindow>(page, "FormLinkCheck");
    model = Find<LinkCheckModel>(window, "TableCheckLinksRows");
  }

  // A site of two pages whose links go to the server; searched, then checked to the end.
  void CheckSite() {
    site = dir.MakeFolder("site");
    dir.Write("site/a.html", "<p>Start</p>\n<a href=\"" + base + "/ok\">ok</a>\n<a href=\"" + base +
                                 "/gone\">gone</a>\n");
    dir.Write("site/sub/b.html", "<a href=\"" + base + "/moved\">m</a> <a href=\"" + base +
                                     "/ok\">again</a>\r\n<a href=\"" + base + "/forbidden\">f</a>");
    Find<QLineEdit>(page, "EditFolder")->setText(ToQ(site));
    Find<QPushButton>(page, "ButtonSearchLinks")->click();
    ASSERT_TRUE(WaitFor([this] { return !page->Searching(); }));
    Find<QPushButton>(page, "ButtonCheckLinks")->click();
    ASSERT_TRUE(window->isVisible());
    ASSERT_TRUE(WaitFor([this] { return !window->Checking(); }));
  }
  // The text of a cell, and the paths (without the server) of the rows shown.
  std::string Cell(int row, int column) const {
    return FromQ(model->data(model->index(row, column), Qt::DisplayRole).toString());
  }
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (int row = 0; row < model->rowCount(); ++row)
      rows.push_back(Cell(row, LinkCheckModel::kLink).substr(base.size()));
    return rows;
  }

  std::unique_ptr<testing::TestWebServer> server;
  std::string base, site;
  LinkCheckWindow* window = nullptr;
  LinkCheckModel* model = nullptr;
};

TEST_F(LinkCheckWindowTest, TableHoldsTheStateCodeResultAndPlacesOfEveryShownLink) {
  CheckSite();
  struct Row {
    const char* path;
    const char* state;
    const char* code;
    std::string outcome;
    const char* places;
  };
  const Row expected[] = {
      {"/forbidden", "Blocked", "403", "HTTP 403", "sub/b.html:2"},
      {"/gone", "Broken", "404", "HTTP 404", "a.html:3"},
      {"/moved", "Redirected", "200", base + "/ok", "sub/b.html:1"},
      {"/ok", "OK", "200", "", "a.html:2, sub/b.html:1"},
  };
  ASSERT_EQ(model->rowCount(), static_cast<int>(std::size(expected)));
  for (int row = 0; row < model->rowCount(); ++row) {
    const Row& e = expected[row];
    SCOPED_TRACE(e.path);
    EXPECT_EQ(Cell(row, LinkCheckModel::kLink), base + e.path);
    EXPECT_EQ(Cell(row, LinkCheckModel::kState), e.state);
    EXPECT_EQ(Cell(row, LinkCheckModel::kCode), e.code);
    EXPECT_EQ(Cell(row, LinkCheckModel::kOutcome), e.outcome);
    EXPECT_EQ(Cell(row, LinkCheckModel::kFoundIn), e.places);
  }
  // A broken row is tinted, an ok row is not.
  EXPECT_TRUE(model->data(model->index(1, 0), Qt::BackgroundRole).isValid());
  EXPECT_FALSE(model->data(model->index(3, 0), Qt::BackgroundRole).isValid());
  EXPECT_EQ(FromQ(Find<QLabel>(window, "LabelCheckProgress")->text()),
            "Checked 4 of 4 links, 1 failed");
  EXPECT_FALSE(Find<QPushButton>(window, "ButtonCheckStop")->isEnabled());
}

TEST_F(LinkCheckWindowTest, FilterShowsTheRowsOfItsStates) {
  CheckSite();
  const struct {
    int item;
    std::vector<std::string> rows;
  } cases[] = {
      {LinkCheckModel::kAll, {"/forbidden", "/gone", "/moved", "/ok"}},
      {LinkCheckModel::kFailed, {"/gone"}},
      {LinkCheckModel::kFirstState + 0, {"/ok"}},
      {LinkCheckModel::kFirstState + 1, {"/moved"}},
      {LinkCheckModel::kFirstState + 2, {"/forbidden"}},
      {LinkCheckModel::kFirstState + 3, {}},
      {LinkCheckModel::kFirstState + 4, {"/gone"}},
      {LinkCheckModel::kNotChecked, {}},
  };
  auto* filter = Find<QComboBox>(window, "ComboBoxCheckFilter");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    filter->setCurrentIndex(c.item);
    EXPECT_EQ(Rows(), c.rows);
  }
}

TEST_F(LinkCheckWindowTest, SaveWritesTheCsvReportOfTheRowsShown) {
  CheckSite();
  const std::string file = dir / "report.csv";
  TFileDialog::SetChooser([&](TFileDialog& dialog) {
    dialog.FileName = ToQ(file);
    dialog.FilterIndex = 1;
    return true;
  });
  Find<QPushButton>(window, "ButtonCheckSave")->click();
  EXPECT_EQ(dir.Read("report.csv"),
            "url,state,code,final_url,message,places\r\n" +                               //
                base + "/forbidden,blocked,403,,HTTP 403," + site + "sub/b.html:2\r\n" +  //
                base + "/gone,broken,404,,HTTP 404," + site + "a.html:3\r\n" +            //
                base + "/moved,redirected,200," + base + "/ok,permanent redirect," + site +
                "sub/b.html:1\r\n" +  //
                base + "/ok,ok,200,,,\"" + site + "a.html:2, " + site + "sub/b.html:1\"\r\n");
}

TEST_F(LinkCheckWindowTest, DoubleClickShowsTheDocumentOfThePlaceInTheFileList) {
  CheckSite();
  Find<QLineEdit>(page, "EditFolder")->setText(ToQ(dir.Path()));
  auto* table = Find<QTableView>(window, "TableCheckLinks");
  emit table->doubleClicked(model->index(0, 0));  // "/forbidden", in sub/b.html at line 2
  EXPECT_EQ(FromQ(Find<QLineEdit>(page, "EditFolder")->text()), site + "sub/");
  ASSERT_NE(Find<TFileListBox>(page, "FileListBoxFiles")->currentItem(), nullptr);
  EXPECT_EQ(Find<TFileListBox>(page, "FileListBoxFiles")->currentItem()->text(), "b.html");
  EXPECT_EQ(form->Context().StatusText(), site + "sub/b.html:2");
}

TEST_F(LinkCheckWindowTest, StopEndsACheckOfSilentLinksAtOnceAndTheWindowGoesOn) {
  std::string text;
  for (int i = 0; i < 20; ++i)
    text += base + "/silent" + std::to_string(i) + "\n";
  QGuiApplication::clipboard()->setText(ToQ(text));
  Find<QPushButton>(page, "ButtonFromClipboard")->click();
  Find<QPushButton>(page, "ButtonCheckLinks")->click();
  ASSERT_TRUE(WaitFor([this] { return model->rowCount() == 20; }));
  ASSERT_TRUE(window->Checking());
  EXPECT_EQ(Cell(0, LinkCheckModel::kFoundIn), "clipboard:1");

  Find<QPushButton>(window, "ButtonCheckStop")->click();
  EXPECT_FALSE(window->Checking());
  EXPECT_FALSE(Find<QPushButton>(window, "ButtonCheckStop")->isEnabled());
  EXPECT_EQ(FromQ(Find<QLabel>(window, "LabelCheckProgress")->text()),
            "Stopped: checked 0 of 20 links, 0 failed");
  Find<QComboBox>(window, "ComboBoxCheckFilter")->setCurrentIndex(LinkCheckModel::kNotChecked);
  EXPECT_EQ(model->rowCount(), 20);
  Find<QPushButton>(window, "ButtonCheckCopy")->click();
  EXPECT_EQ(QGuiApplication::clipboard()->text().count('\n'), 19);

  // A new check starts at once, and closing the window stops it too.
  Find<QPushButton>(page, "ButtonCheckLinks")->click();
  EXPECT_TRUE(window->Checking());
  Find<QPushButton>(window, "ButtonCheckClose")->click();
  EXPECT_FALSE(window->Checking());
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace pagelathe
