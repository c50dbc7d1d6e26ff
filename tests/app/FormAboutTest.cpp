// The About box: its texts, the link's colours and cursor, and the product page it opens.
#include <gtest/gtest.h>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "LanguageFixture.h"
#include "app/FormAbout.h"
#include "app/TForm1.h"
#include "support/GuiTest.h"

namespace pagelathe::testing {
namespace {

class FormAboutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteSettings(dir_);
    form_ = std::make_unique<TForm1>(dir_.Path());
    about_ = form_->FormAbout();
    TFormAbout::SetUrlOpener([this](const QUrl& url) { opened_.push_back(url.toString()); });
    about_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(about_));
  }
  void TearDown() override {
    about_->hide();
    TFormAbout::SetUrlOpener(nullptr);
  }
  QColor LinkColor() const { return about_->LabelSite->palette().color(QPalette::WindowText); }

  TempFolder dir_;
  std::unique_ptr<TForm1> form_;
  TFormAbout* about_ = nullptr;
  std::vector<QString> opened_;
};

TEST_F(FormAboutTest, ShowsTheProductAndItsPage) {
  // The classic size, wider only when the font needs it.
  EXPECT_EQ(about_->height(), 201);
  EXPECT_GE(about_->width(), 321);
  EXPECT_EQ(about_->minimumSize(), about_->maximumSize());
  EXPECT_EQ(about_->windowTitle(), "About Program");
  EXPECT_EQ(about_->LabelTitle->text(), "Brevanoth Pagelathe 1.51");
  EXPECT_EQ(about_->LabelAbout->text(), "extract links, convert html, create gradient text");
  EXPECT_EQ(about_->LabelSite->text(), "http://www.brevanoth.example/brevanoth_pagelathe.shtml");
  EXPECT_FALSE(about_->LabelAuthor->text().isEmpty());
  EXPECT_TRUE(about_->LabelEmail->text().contains('@'));
  ASSERT_FALSE(about_->ProgramIcon->pixmap().isNull());
  EXPECT_EQ(about_->ProgramIcon->pixmap().size(), QSize(32, 32));
  EXPECT_TRUE(about_->OKButton->isDefault());
  // Every label fits its width: nothing is cut off at 8 points.
  for (QLabel* label :
       {about_->LabelTitle, about_->LabelAuthor, about_->LabelEmail, about_->LabelSite})
    EXPECT_LE(label->sizeHint().width(), label->width()) << label->objectName().toStdString();
}

TEST_F(FormAboutTest, LinkTurnsRedUnderTheMouseAndBlueOverThePanel) {
  const QColor blue(0, 0, 255), red(255, 0, 0);
  const struct {
    const char* where;
    QWidget* target;
    QColor after;
  } moves[] = {
      {"link", about_->LabelSite, red},           {"panel", about_->Panel1, blue},
      {"link again", about_->LabelSite, red},     {"another label", about_->LabelAuthor, blue},
      {"link once more", about_->LabelSite, red}, {"the icon", about_->ProgramIcon, blue},
  };
  EXPECT_EQ(LinkColor(), blue);
  for (const auto& move : moves) {
    // The middle of the target, in panel coordinates of the panel's own spot away from text.
    const QPoint spot = move.target == about_->Panel1 ? QPoint(about_->Panel1->width() - 4, 4)
                                                      : move.target->rect().center();
    QTest::mouseMove(move.target, spot);
    EXPECT_TRUE(WaitFor([&] { return LinkColor() == move.after; }, 2000)) << move.where;
  }
  EXPECT_EQ(about_->LabelSite->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(FormAboutTest, ClickOnTheLinkOnlyOpensTheProductPage) {
  QTest::mouseClick(about_->LabelAuthor, Qt::LeftButton);
  QTest::mouseClick(about_->Panel1, Qt::LeftButton, {}, QPoint(4, 4));
  EXPECT_TRUE(opened_.empty());
  QTest::mouseClick(about_->LabelSite, Qt::LeftButton);
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(opened_[0], "http://www.brevanoth.example/brevanoth_pagelathe.shtml");
  EXPECT_TRUE(about_->isVisible());  // the box stays until OK
  about_->OKButton->click();
  EXPECT_FALSE(about_->isVisible());
  EXPECT_EQ(about_->result(), QDialog::Accepted);
}

}  // namespace
}  // namespace pagelathe::testing
