// Every caption of every page and dialog fits its control in each shipped language: the text
// of each button, check box, radio button, label, group box and tab, measured in the control's
// font, is no wider than the room the style gives it, and the main window keeps its fixed
// client area. With PAGELATHE_SCREENSHOTS set to a folder, the test also leaves a picture of
// every page and dialog there, for a person to look at.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>

#include "LanguageFixture.h"
#include "app/FormAbout.h"
#include "app/FormExclusions.h"
#include "app/FormLanguage.h"
#include "support/GuiTest.h"
#include "support/TestWebServer.h"
#include "tools/check/LinkCheckModel.h"
#include "tools/check/LinkCheckWindow.h"
#include "tools/keywords/KeywordsPage.h"
#include "tools/links/LinksGrabberPage.h"
#include "ui/QtText.h"
#include "update/FormUpdate.h"

namespace pagelathe::testing {
namespace {

struct Misfit {
  std::string control;
  std::string text;
  int needed;
  int room;
};

int TextWidth(const QWidget& widget, const QString& text) {
  return QFontMetrics(widget.font()).horizontalAdvance(text);
}

// The room a button's caption has: the contents rectangle of its kind in the current style.
int ButtonRoom(const QAbstractButton& button) {
  QStyleOptionButton option;
  option.initFrom(&button);
  option.text = button.text();
  option.icon = button.icon();
  option.iconSize = button.iconSize();
  QStyle::SubElement element = QStyle::SE_PushButtonContents;
  if (qobject_cast<const QCheckBox*>(&button)) element = QStyle::SE_CheckBoxContents;
  if (qobject_cast<const QRadioButton*>(&button)) element = QStyle::SE_RadioButtonContents;
  return button.style()->subElementRect(element, &option, &button).width();
}

// The room a group box's title has: from the style's title position to the right edge.
int TitleRoom(const QGroupBox& box) {
  QStyleOptionGroupBox option;
  option.initFrom(&box);
  option.text = box.title();
  option.lineWidth = 1;
  option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
  option.textAlignment = box.alignment();
  const QRect label =
      box.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &box);
  return box.width() - label.left() - 2;
}

// What does not fit among the visible controls of `window`.
std::vector<Misfit> Misfits(QWidget& window) {
  std::vector<Misfit> misfits;
  auto check = [&](const QWidget& control, const QString& text, int needed, int room) {
    if (text.isEmpty() || needed <= room) return;
    misfits.push_back({control.objectName().toStdString(), text.toStdString(), needed, room});
  };
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (!control->isVisibleTo(&window) || control->width() <= 0) continue;
    // Cut by the edge of what holds it (a scroll area's contents may be larger: not ours).
    const QWidget* holder = control->parentWidget();
    if (holder && !control->isWindow() && !holder->rect().contains(control->geometry()) &&
        !qobject_cast<const QAbstractScrollArea*>(holder->parentWidget()) &&
        (qobject_cast<QAbstractButton*>(control) || qobject_cast<QLabel*>(control))) {
      misfits.push_back({control->objectName().toStdString(), "(cut by its holder)",
                         control->geometry().right(), holder->rect().right()});
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
      QString text = button->text();
      text.remove('&');
      check(*button, text, TextWidth(*button, text), ButtonRoom(*button));
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
      const QRect room = label->contentsRect();
      if (label->wordWrap()) {
        check(*label, label->text(), label->heightForWidth(label->width()), label->height());
      } else {
        const int margins = 2 * label->margin() + std::max(0, label->indent());
        check(*label, label->text(), TextWidth(*label, label->text()), room.width() - margins);
      }
    } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
      check(*box, box->title(), TextWidth(*box, box->title()), TitleRoom(*box));
    } else if (auto* bar = qobject_cast<QTabBar*>(control)) {
      const int padding = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
      for (int i = 0; i < bar->count(); ++i) {
        const QRect tab = bar->tabRect(i);
        const int room = std::min(tab.right(), bar->width() - 1) - tab.left() + 1 - padding;
        check(*bar, bar->tabText(i), TextWidth(*bar, bar->tabText(i)), room);
      }
    }
  }
  return misfits;
}

std::string Describe(const std::vector<Misfit>& misfits) {
  std::string text;
  for (const Misfit& m : misfits)
    text.append(m.control)
        .append(" \"")
        .append(m.text)
        .append("\" needs ")
        .append(std::to_string(m.needed))
        .append(", has ")
        .append(std::to_string(m.room))
        .append("\n");
  return text;
}

void Screenshot(QWidget& window, const std::string& name) {
  const QByteArray folder = qgetenv("PAGELATHE_SCREENSHOTS");
  if (folder.isEmpty()) return;
  QDir().mkpath(QString::fromLocal8Bit(folder));
  window.grab().save(QString::fromLocal8Bit(folder) + "/" + QString::fromStdString(name) + ".png");
}

// Shows `window`, lets it lay out, checks it and takes its picture.
void Inspect(QWidget& window, const std::string& name) {
  SCOPED_TRACE(name);
  window.show();
  QCoreApplication::processEvents();
  const std::vector<Misfit> misfits = Misfits(window);
  EXPECT_TRUE(misfits.empty()) << Describe(misfits);
  Screenshot(window, name);
}

TEST(CaptionsFit, EveryPageAndDialogInEveryLanguage) {
  for (const char* language : {"English", "Russian"}) {
    TempFolder dir;
    WriteSettings(dir, std::string("Language=") + language);
    ShipLanguageFiles(dir);
    TForm1 form(dir.Path());
    form.show();
    QCoreApplication::processEvents();
    // The fixed client area: the pages' room below the menu bar stays as it was.
    EXPECT_EQ(form.width(), 537);
    EXPECT_EQ(form.height() - form.menuBar()->height(), 455);
    const auto inspect_pages = [&](const std::string& kind) {
      for (int page = 0; page < form.PageControl1()->count(); ++page) {
        form.PageControl1()->setCurrentIndex(page);
        if (form.PageControl1()->currentWidget() != form.Page<KeywordsPage>()) {
          Inspect(form, std::string(language) + kind + std::to_string(page));
          continue;
        }
        QTabWidget* tabs =
            testing::Find<QTabWidget>(form.Page<KeywordsPage>(), "PageControlKeywords");
        for (int tab = 0; tab < tabs->count(); ++tab) {
          tabs->setCurrentIndex(tab);
          Inspect(form,
                  std::string(language) + kind + std::to_string(page) + "-" + std::to_string(tab));
        }
        tabs->setCurrentIndex(0);
      }
    };
    inspect_pages("-page-");
    // While their jobs run, these buttons show the stop text.
    for (const char* name : {"ButtonSearchLinks", "ButtonGetUrl", "ButtonConvert", "ButtonOpenFile",
                             "ButtonKWSearch", "ButtonKWInsert", "ButtonPageCreate"})
      Find<QPushButton>(&form, name)->setText(ToQ(form.Context().Texts().StringStop));
    inspect_pages("-stop-");
    form.PageControl1()->setCurrentIndex(0);

    form.LoadLanguage(language);  // as the menus do before they show a dialog
    QDialog* dialogs[] = {form.FormAbout(), form.FormExclusions(), form.FormLanguage()};
    const char* names[] = {"about", "exclusions", "language"};
    for (size_t i = 0; i < std::size(dialogs); ++i) {
      Inspect(*dialogs[i], std::string(language) + "-" + names[i]);
      dialogs[i]->hide();
    }
    // The update dialog with each of its messages, as wide as its label grows for them.
    Inspect(*form.FormUpdate(), std::string(language) + "-update");
    ASSERT_TRUE(WaitFor([&] { return !form.FormUpdate()->Checking(); }));
    auto* message = Find<QLabel>(form.FormUpdate(), "LabelText");
    for (const std::string& text :
         {form.FormUpdate()->StringCheckingForUpdates, form.Context().Texts().StringLastVersion,
          form.Context().Texts().StringNewVersionIsAvailable + "1.52",
          form.Context().Texts().StringCantConnectToServer}) {
      message->setText(ToQ(text));
      message->adjustSize();
      EXPECT_LE(message->width(), form.FormUpdate()->width()) << text;
    }
    form.FormUpdate()->hide();

    // The link check window with its rows, each of its messages and its column headers.
    testing::TestWebServer server([](const testing::TestRequest& request) {
      return testing::TestReply{HttpReply(request, request.target == "/ok" ? 200 : 404)};
    });
    auto* page = form.Page<LinksGrabberPage>();
    page->SearchDocument({server.Url("/ok"), server.Url("/gone")});
    Find<QPushButton>(page, "ButtonCheckLinks")->click();
    auto* check = Find<LinkCheckWindow>(page, "FormLinkCheck");
    ASSERT_TRUE(WaitFor([&] { return !check->Checking(); }));
    Inspect(*check, std::string(language) + "-link-check");
    auto* progress = Find<QLabel>(check, "LabelCheckProgress");
    for (const std::string& text :
         {check->StringCheckProgress, check->StringCheckStopped, check->StringCheckCollecting}) {
      const QString shown = ToQ(text).arg(100000).arg(100000).arg(100000);
      EXPECT_LE(TextWidth(*progress, shown), progress->contentsRect().width()) << text;
    }
    QHeaderView* header = Find<QTableView>(check, "TableCheckLinks")->horizontalHeader();
    for (int column = 0; column < header->count(); ++column) {
      const QString caption = header->model()->headerData(column, Qt::Horizontal).toString();
      EXPECT_LE(TextWidth(*header, caption) + 8, header->sectionSize(column))
          << caption.toStdString();
    }
    for (int item = LinkCheckModel::kFirstState; item < LinkCheckModel::kFilters; ++item) {
      const QString state = Find<QComboBox>(check, "ComboBoxCheckFilter")->itemText(item);
      EXPECT_LE(TextWidth(*header, state) + 8, header->sectionSize(LinkCheckModel::kState))
          << state.toStdString();
    }
    check->hide();
  }
}

}  // namespace
}  // namespace pagelathe::testing
