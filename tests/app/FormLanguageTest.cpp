// The first-start language dialog: no cancel, every way of closing applies the choice.
#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "LanguageFixture.h"
#include "app/FormLanguage.h"
#include "app/TForm1.h"
#include "platform/IniFile.h"
#include "support/GuiTest.h"
#include "ui/PageContext.h"

namespace pagelathe::testing {
namespace {

TEST(FormLanguage, EveryWayOfClosingAppliesTheChoiceOnDisplay) {
  const struct {
    const char* how;
    std::function<void(TFormLanguage&)> close;
  } ways[] = {
      {"Ok button", [](TFormLanguage& d) { d.ButtonOk->click(); }},
      {"Enter key", [](TFormLanguage& d) { QTest::keyClick(&d, Qt::Key_Return); }},
      {"Escape key", [](TFormLanguage& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
      {"title bar", [](TFormLanguage& d) { d.close(); }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.how);
    TempFolder dir;
    WriteSettings(dir);
    ShipLanguageFiles(dir);
    TForm1 form(dir.Path());
    TFormLanguage& dialog = *form.FormLanguage();
    WhenShown(&dialog, [&] {
      dialog.ComboBoxLang->setCurrentIndex(1);
      way.close(dialog);
    });
    dialog.ShowChoice();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(form.Context().Settings().LanguageName, "Russian");
    EXPECT_TRUE(testing::Find<QAction>(&form, "MLangRussian")->isChecked());
    EXPECT_EQ(form.Context().Texts().StringStop, "Стоп");  // the Russian file was applied
  }
}

TEST(FormLanguage, ShowsEnglishFirstAndOffersOnlyTheTwoLanguages) {
  TempFolder dir;
  WriteSettings(dir, "Language=Russian\r\n");
  TForm1 form(dir.Path());
  TFormLanguage& dialog = *form.FormLanguage();
  QString shown;
  WhenShown(&dialog, [&] {
    shown = dialog.ComboBoxLang->currentText();
    dialog.ButtonOk->click();
  });
  dialog.ShowChoice();
  EXPECT_EQ(shown, "English");
  EXPECT_EQ(form.Context().Settings().LanguageName, "English");
  EXPECT_FALSE(dialog.ComboBoxLang->isEditable());
  ASSERT_EQ(dialog.ComboBoxLang->count(), 2);
  EXPECT_EQ(dialog.ComboBoxLang->itemText(1), "Russian");
  EXPECT_EQ(dialog.windowTitle(), "Select Language");
}

TEST(FormLanguage, AsksOnTheFirstStartOnlyAndTheChoiceIsSaved) {
  TempFolder dir;
  ShipLanguageFiles(dir);  // no settings file: a first start
  {
    TForm1 form(dir.Path());
    int asked = 0;
    WhenShown(form.FormLanguage(), [&] {
      ++asked;
      form.FormLanguage()->ComboBoxLang->setCurrentIndex(1);
      form.FormLanguage()->ButtonOk->click();
    });
    form.show();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(form.Context().Settings().FirstStart);
    form.close();
  }
  const IniFile settings(dir / "brevanoth-pagelathe.ini");
  EXPECT_EQ(settings.ReadString("Options", "Language", ""), "Russian");
  EXPECT_EQ(settings.ReadString("Options", "firstStart", ""), "0");

  TForm1 second(dir.Path());
  second.show();
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_FALSE(second.FormLanguage()->isVisible());
  EXPECT_TRUE(testing::Find<QAction>(&second, "MLangRussian")->isChecked());
  second.close();
}

}  // namespace
}  // namespace pagelathe::testing
