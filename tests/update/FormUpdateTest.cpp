// The update dialog in a whole main window, against a server on 127.0.0.1: the menu check,
// the verdicts, the Check button during a check, the dialog shown again for a newer version,
// the link's hover colours and click, and the connection state from the timer.
#include "update/FormUpdate.h"

#include <gtest/gtest.h>
#include <QCursor>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <memory>

#include "app/TForm1.h"
#include "support/GuiTest.h"
#include "support/LocalHttpServer.h"
#include "support/TempFolder.h"
#include "ui/PageContext.h"
#include "ui/QtText.h"

namespace pagelathe {
namespace {

using testing::Find;
using testing::LocalHttpServer;
using testing::TempFolder;
using testing::WaitFor;

class UpdateDialog {
 public:
  explicit UpdateDialog(const std::string& settings_extra = "") {
    dir.Write("brevanoth-pagelathe.ini", "[Options]\r\nfirstStart=0\r\nUpdate Server=" +
                                             server.BaseUrl() + "/\r\n" + settings_extra);
    form = std::make_unique<TForm1>(dir.Path());
    dialog = form->FormUpdate();
    form->Context().Texts().StringLastVersion = "Last version.";
    form->Context().Texts().StringNewVersionIsAvailable = "New version: ";
    form->Context().Texts().StringCantConnectToServer = "No server.";
    dialog->StringCheckingForUpdates = "Checking...";
    dialog->ConnectionSource = [this] { return connected; };
    dialog->OpenLink = [this](const std::string& url) { opened.push_back(url); };
    form->TimerConnectionTimer();
  }

  // Runs `open` (which shows the dialog modally), waits while it is on screen until `ready`
  // holds, then runs `inspect` and closes the dialog. False when `ready` never held.
  bool WhileShown(const std::function<void()>& open, const std::function<bool()>& ready,
                  const std::function<void()>& inspect) const {
    bool held = false;
    int ticks = 0;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
      if (!dialog->isVisible()) return;
      held = ready();
      if (!held && ++ticks < 1000) return;
      timer.stop();
      inspect();
      dialog->reject();
    });
    timer.start();
    open();
    return held;
  }

  // The menu entry, inspected once the check has ended.
  bool MenuCheck(const std::function<void()>& inspect) const {
    return WhileShown([this] { form->MCheckUpdateClick(); }, [this] { return !dialog->Checking(); },
                      inspect);
  }

  [[nodiscard]] std::string Text() const { return FromQ(dialog->LabelText->text()); }
  [[nodiscard]] std::string Link() const { return FromQ(dialog->LabelLink->text()); }
  [[nodiscard]] std::string Page() const { return server.BaseUrl() + "/brevanoth_pagelathe.shtml"; }
  [[nodiscard]] bool Centred(const QLabel* label) const {
    return label->x() == (dialog->width() - label->width()) / 2 && label->x() >= 0;
  }

  LocalHttpServer server;
  TempFolder dir;
  bool connected = true;
  std::unique_ptr<TForm1> form;
  TFormUpdate* dialog = nullptr;
  std::vector<std::string> opened;
};

TEST(FormUpdate, MenuCheckShowsTheVerdictOfTheService) {
  const struct {
    const char* name;
    std::string body;
    bool reachable;
    std::string text;
    bool link;
  } cases[] = {
      {"newer", "1.52\r\n", true, "New version: 1.52", true},
      {"newer with a blank", "1.51 ", true, "New version: 1.51 ", true},
      {"same", "1.51\r\n", true, "Last version.", false},
      {"byte order", "1.100", true, "Last version.", false},
      {"empty answer", "", true, "Last version.", false},
      {"unreachable", "2.0", false, "No server.", false},
  };
  for (const auto& c : cases) {
    UpdateDialog t;
    t.server.SetBody(c.body);
    if (!c.reachable) {
      t.form->Context().Product().UpdateBaseUrl =
          "http://127.0.0.1:" + std::to_string(testing::ClosedPort());
    }
    EXPECT_EQ(t.form->Context().Product().ProductPageUrl, t.Page())
        << "the settings key moves the product page";
    EXPECT_TRUE(t.MenuCheck([&] {
      EXPECT_EQ(t.Text(), c.text) << c.name;
      EXPECT_EQ(t.Link(), c.link ? t.Page() : "") << c.name;
      EXPECT_TRUE(t.Centred(t.dialog->LabelText)) << c.name;
      EXPECT_TRUE(t.Centred(t.dialog->LabelLink)) << c.name;
    })) << c.name;
    if (c.reachable) {
      EXPECT_EQ(t.dir.Read("version.txt"), c.body) << c.name;
      ASSERT_EQ(t.server.RequestCount(), 1u) << c.name;
      const auto request = t.server.Requests()[0];
      EXPECT_EQ(request.target, "/cgi-bin/check_update.cgi?title=Brevanoth+Pagelathe");
      EXPECT_EQ(request.Header("User-Agent"), "Brevanoth Pagelathe 1.51");
    }
  }
}

TEST(FormUpdate, WithoutAConnectionNothingIsFetchedAndTheCheckingMessageStays) {
  UpdateDialog t;
  t.connected = false;
  t.form->TimerConnectionTimer();
  EXPECT_FALSE(t.dialog->Connected());
  t.server.SetBody("2.0");
  EXPECT_TRUE(t.MenuCheck([&] {
    EXPECT_EQ(t.Text(), "Checking...");
    EXPECT_EQ(t.Link(), "");
  }));
  EXPECT_EQ(t.server.RequestCount(), 0u);
  EXPECT_FALSE(t.dir.Read("version.txt").size());
  // The timer's next tick brings the connection back.
  t.connected = true;
  t.form->TimerConnectionTimer();
  EXPECT_TRUE(t.dialog->Connected());
}

TEST(FormUpdate, ASecondCheckAsksWithTheSameTitle) {
  UpdateDialog t;
  t.server.SetBody("1.51");
  EXPECT_TRUE(t.MenuCheck([] {}));
  EXPECT_TRUE(t.WhileShown([&] { t.form->MCheckUpdateClick(); },
                           [&] { return t.server.RequestCount() == 2 && !t.dialog->Checking(); },
                           [&] {
                             t.dialog->ButtonCheck->click();
                             EXPECT_TRUE(WaitFor([&] { return !t.dialog->Checking(); }));
                           }));
  EXPECT_EQ(t.form->Context().Product().ProductTitle, "Brevanoth+Pagelathe");
  const auto requests = t.server.Requests();
  ASSERT_EQ(requests.size(), 3u);  // menu, menu again, Check button
  for (const auto& request : requests) {
    EXPECT_EQ(request.target, "/cgi-bin/check_update.cgi?title=Brevanoth+Pagelathe");
  }
}

TEST(FormUpdate, CheckPressedDuringACheckDoesNothing) {
  UpdateDialog t;
  t.server.SetBody("1.52");
  t.server.Hold();
  EXPECT_TRUE(t.WhileShown([&] { t.form->MCheckUpdateClick(); },
                           [&] { return t.server.RequestCount() == 1; },
                           [&] {
                             EXPECT_EQ(t.Text(), "Checking...");
                             EXPECT_TRUE(t.dialog->Checking());
                             t.dialog->ButtonCheck->click();
                             t.server.Release();
                             EXPECT_TRUE(WaitFor([&] { return !t.dialog->Checking(); }));
                             EXPECT_EQ(t.Text(), "New version: 1.52");
                           }));
  // A second check would have been answered before the verdict above could show.
  EXPECT_EQ(t.server.RequestCount(), 1u);
}

TEST(FormUpdate, ClosedBeforeTheAnswerComesBackOnlyForANewerVersion) {
  const struct {
    std::string body;
    bool shown_again;
  } cases[] = {{"1.52", true}, {"1.51", false}, {"", false}};
  for (const auto& c : cases) {
    UpdateDialog t;
    t.server.SetBody(c.body);
    t.server.Hold();
    EXPECT_TRUE(t.WhileShown([&] { t.form->MCheckUpdateClick(); },
                             [&] { return t.server.RequestCount() == 1; }, [] {}));
    ASSERT_TRUE(t.dialog->Checking()) << c.body;
    bool shown_again = false;
    t.WhileShown(
        [&] {
          t.server.Release();
          WaitFor([&] { return !t.dialog->Checking() && !t.dialog->isVisible(); });
        },
        [] { return true; },
        [&] {
          shown_again = true;
          EXPECT_EQ(t.Text(), "New version: " + c.body);
          EXPECT_EQ(t.Link(), t.Page());
        });
    EXPECT_EQ(shown_again, c.shown_again) << c.body;
    // Showing the verdict again asks the service nothing more.
    EXPECT_EQ(t.server.RequestCount(), 1u) << c.body;
  }
}

void Send(QWidget* target, QEvent::Type type) {
  const QPointF at(2, 2);
  QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton,
                    type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &event);
}

TEST(FormUpdate, LinkTurnsRedUnderTheMouseAndOpensThePage) {
  UpdateDialog t;
  t.server.SetBody("1.60");
  EXPECT_TRUE(t.MenuCheck([] {}));
  QLabel* link = Find<QLabel>(t.dialog, "LabelLink");
  auto colour = [&] { return link->palette().color(QPalette::WindowText); };
  EXPECT_EQ(colour(), QColor(Qt::blue));
  EXPECT_TRUE(link->font().underline());
  Send(link, QEvent::MouseMove);
  EXPECT_EQ(colour(), QColor(Qt::red));
  EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
  Send(t.dialog, QEvent::MouseMove);
  EXPECT_EQ(colour(), QColor(Qt::blue));
  EXPECT_TRUE(t.opened.empty());
  Send(link, QEvent::MouseButtonPress);
  EXPECT_EQ(t.opened, std::vector<std::string>{t.Page()});

  // With no newer version there is no link to open.
  t.server.SetBody("1.51");
  EXPECT_TRUE(t.MenuCheck([] {}));
  Send(link, QEvent::MouseButtonPress);
  EXPECT_EQ(t.opened.size(), 1u);
}

TEST(FormUpdate, ControlsAndCaptions) {
  UpdateDialog t;
  EXPECT_EQ(t.dialog->objectName(), "FormUpdate");
  EXPECT_EQ(t.dialog->windowTitle(), "Software Update");
  EXPECT_EQ(Find<QPushButton>(t.dialog, "ButtonCheck")->text(), "Check");
  EXPECT_EQ(Find<QPushButton>(t.dialog, "ButtonClose")->text(), "Close");
  for (const char* name : {"LabelText", "LabelLink"}) {
    EXPECT_EQ(Find<QLabel>(t.dialog, name)->font().pixelSize(), 13) << name;
  }
  // Close shuts the dialog and leaves a running check alone.
  t.server.Hold();
  EXPECT_TRUE(t.WhileShown([&] { t.form->MCheckUpdateClick(); },
                           [&] { return t.server.RequestCount() == 1; },
                           [&] { t.dialog->ButtonClose->click(); }));
  EXPECT_FALSE(t.dialog->isVisible());
  EXPECT_TRUE(t.dialog->Checking());
}

}  // namespace
}  // namespace pagelathe
