// The open and save dialogs as Qt shows them: the file types of a filter text, each shown with
// its description alone, and the masks that each type applies.
#include "ui/FileDialogs.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QFileDialog>
#include <QTimer>

#include "support/GuiTest.h"

namespace pagelathe {
namespace {

struct Shown {
  QStringList types;  // what the file-type box lists
  QStringList name_filters;
};

// Shows `dialog` as Qt's own dialog and cancels it once it is up, keeping what it showed.
Shown ShowAndCancel(TFileDialog& dialog) {
  Shown shown;
  auto* timer = new QTimer(qApp);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, &shown] {
    auto* qt = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!qt) return;
    if (auto* combo = qt->findChild<QComboBox*>("fileTypeCombo"))
      for (int i = 0; i < combo->count(); ++i)
        shown.types << combo->itemText(i);
    shown.name_filters = qt->nameFilters();
    qt->reject();
    timer->deleteLater();
  });
  timer->start();
  EXPECT_FALSE(dialog.Execute(nullptr));
  return shown;
}

TEST(TFileDialog, EachFileTypeShowsItsDescriptionOnceWithItsMasksApplied) {
  struct Case {
    const char* filter;
    QStringList types;
    QStringList masks;  // the patterns Qt filters by, one group per type
  };
  const Case cases[] = {
      {"Text files (*.txt)|*.txt|HTML Files (*.htm; *.html)|*.htm;*.html",
       {"Text files (*.txt)", "HTML Files (*.htm; *.html)"},
       {"*.txt", "*.htm *.html"}},
      {"All Files (*.*)|*.*|Text Files (*.txt)|*.txt",
       {"All Files (*.*)", "Text Files (*.txt)"},
       {"*.*", "*.txt"}},
      {"HTML Files|*.htm", {"HTML Files"}, {"*.htm"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.filter);
    TFileDialog dialog("Dialog", TFileDialog::Kind::Open);
    dialog.SetFilter(c.filter);
    const Shown shown = ShowAndCancel(dialog);
    EXPECT_EQ(shown.types, c.types);
    ASSERT_EQ(shown.name_filters.size(), c.masks.size());
    for (qsizetype i = 0; i < c.masks.size(); ++i)
      EXPECT_TRUE(shown.name_filters[i].endsWith("(" + c.masks[i] + ")"))
          << shown.name_filters[i].toStdString();
  }
}

}  // namespace
}  // namespace pagelathe
