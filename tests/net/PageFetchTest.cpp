// The page fetch of the Links Grabber in a whole main window, against a real HTTP server
// started by the test (python3 -m http.server on 127.0.0.1) and scripted peers.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "ScriptedPeer.h"
#include "app/TForm1.h"
#include "net/TNMHTTP.h"
#include "platform/IniFile.h"
#include "support/GuiTest.h"
#include "support/LinksGrabberWindow.h"
#include "support/TempFolder.h"
#include "support/TestWebServer.h"
#include "tools/links/LinksGrabberPage.h"
#include "ui/Controls.h"
#include "ui/PageContext.h"
#include "ui/QtText.h"

namespace pagelathe {
namespace {

using testing::RecordedMessages;
using testing::WaitFor;

// A real HTTP server serving `folder` on 127.0.0.1, for as long as the object lives.
class PythonHttpServer {
 public:
  explicit PythonHttpServer(const std::string& folder) {
    int out[2];
    if (::pipe(out) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], 1);
      ::dup2(out[1], 2);
      ::close(out[0]);
      ::execlp("python3", "python3", "-u", "-m", "http.server", "0", "--bind", "127.0.0.1",
               "--directory", folder.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(out[1]);
    FILE* output = ::fdopen(out[0], "r");
    char line[512];
    // "Serving HTTP on 127.0.0.1 port 40123 (http://127.0.0.1:40123/) ..."
    while (port_ == 0 && std::fgets(line, sizeof line, output) != nullptr) {
      std::sscanf(line, "Serving HTTP on %*s port %d", &port_);
    }
    reader_ = output;
  }
  ~PythonHttpServer() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    if (reader_ != nullptr) std::fclose(reader_);
  }
  PythonHttpServer(const PythonHttpServer&) = delete;
  PythonHttpServer& operator=(const PythonHttpServer&) = delete;

  [[nodiscard]] std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  [[nodiscard]] int Port() const { return port_; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  FILE* reader_ = nullptr;
};

// Sends events the way a user's input arrives, so an exception from a handler reaches the
// application's message box (recorded by the test main).
void ClickLikeAUser(QPushButton* button) {
  const QPointF centre(button->width() / 2.0, button->height() / 2.0);
  QMouseEvent press(QEvent::MouseButtonPress, centre, button->mapToGlobal(centre), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, centre, button->mapToGlobal(centre),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(button, &press);
  QCoreApplication::sendEvent(button, &release);
}

void PressEnter(QWidget* widget) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, "\r");
  QCoreApplication::sendEvent(widget, &press);
  QCoreApplication::sendEvent(widget, &release);
}

const std::string kPage =
    "<html><body>\r\n<a href=\"http://one.example/a.html\">one</a>\r\n"
    "see http://two.example/b\r\n</body></html>\r\n";

class PageFetchTest : public testing::LinksGrabberWindow {
 protected:
  void Open(const std::string& more_settings = "") {
    LinksGrabberWindow::Open(more_settings);
    form->Context().Texts().StringLinks = "Links";
    testing::Find<QComboBox>(page, "ComboBoxSearch")
        ->setCurrentIndex(testing::Find<QComboBox>(page, "ComboBoxSearch")->findText("http://"));
    testing::Find<TRadioGroup>(page, "RadioGroupLinks")->SetItemIndex(0);  // full links
    RecordedMessages().clear();
  }
  std::vector<std::string> Errors() const {
    std::vector<std::string> texts;
    for (const auto& message : RecordedMessages())
      texts.push_back(message.text);
    return texts;
  }

  testing::TempFolder site;
};

TEST_F(PageFetchTest, TheMainWindowClientHasItsBuiltInSettings) {
  Open();
  const TNMHTTP& http = form->Context().HTTP();
  EXPECT_EQ(http.Port, 0);
  EXPECT_EQ(http.TimeOut, 0);
  EXPECT_EQ(http.ReportLevel, 0);
  EXPECT_EQ(http.Body, "Default.htm");
  EXPECT_EQ(http.Header, "Head.txt");
  EXPECT_FALSE(http.InputFileMode);
  EXPECT_FALSE(http.OutputFileMode);
  EXPECT_TRUE(http.Proxy.empty());
  EXPECT_EQ(http.ProxyPort, 0);
  EXPECT_EQ(http.BodyLimit, int64_t{256} << 20);
  EXPECT_FALSE(static_cast<bool>(http.OnSuccess) || static_cast<bool>(http.OnRedirect));
  EXPECT_TRUE(static_cast<bool>(http.Pump));
}

TEST_F(PageFetchTest, GetShowsTheLinksOfTheFetchedPage) {
  site.Write("page.html", kPage);
  PythonHttpServer server(site.Path());
  ASSERT_GT(server.Port(), 0);
  Open();
  testing::Find<QLineEdit>(page, "EditUrl")->setText(ToQ(server.Url("/page.html")));
  ClickLikeAUser(testing::Find<QPushButton>(page, "ButtonGetUrl"));
  EXPECT_EQ(Errors(), std::vector<std::string>{});
  // The whole body is one entry of the document.
  EXPECT_EQ(form->Context().DocumentLines(), TextList{kPage});
  // A link at the end of a line keeps the carriage return: only the line feed ends it.
  EXPECT_EQ(page->ShownLines(), (TextList{"http://one.example/a.html", "http://two.example/b\r"}));
  EXPECT_FALSE(page->Fetching());
}

TEST_F(PageFetchTest, GetTrustsTheAuthorityOfTheSettingsAndSaysWhyItRefuses) {
  std::string error;
  ASSERT_TRUE(testing::MakeTestAuthority(site.Path(), error)) << error;
  const auto reply = [](const testing::TestRequest& r) {
    return testing::TestReply{testing::HttpReply(r, 200, "", kPage), true};
  };
  testing::TestWebServer good(reply, site / "good.pem", site / "good.key");
  testing::TestWebServer wrong(reply, site / "wrong.pem", site / "wrong.key");
  Open("CA File=" + site / "ca.pem" + "\r\n");
  testing::Find<QLineEdit>(page, "EditUrl")->setText(ToQ(good.Url("/page.html")));
  ClickLikeAUser(testing::Find<QPushButton>(page, "ButtonGetUrl"));
  EXPECT_EQ(Errors(), std::vector<std::string>{});
  EXPECT_EQ(form->Context().DocumentLines(), TextList{kPage});
  testing::Find<QLineEdit>(page, "EditUrl")->setText(ToQ(wrong.Url("/page.html")));
  ClickLikeAUser(testing::Find<QPushButton>(page, "ButtonGetUrl"));
  EXPECT_EQ(Errors(), std::vector<std::string>{"certificate verify failed: the certificate is "
                                               "not for this host (127.0.0.1)"});
}

TEST_F(PageFetchTest, EnterFetchesWithoutSearching) {
  site.Write("page.html", kPage);
  PythonHttpServer server(site.Path());
  Open();
  testing::Find<QLineEdit>(page, "EditUrl")->setText(ToQ(server.Url("/page.html")));
  PressEnter(testing::Find<QLineEdit>(page, "EditUrl"));
  EXPECT_EQ(Errors(), std::vector<std::string>{});
  EXPECT_EQ(form->Context().DocumentLines(), TextList{kPage});
  EXPECT_TRUE(page->ShownLines().empty());
  // The next search of the current document shows the fetched page's links.
  page->RadioGroupLinksClick();
  EXPECT_FALSE(page->ShownLines().empty());
}

TEST_F(PageFetchTest, FailuresAreShownAndNothingIsSearched) {
  struct Case {
    bool enter;
    std::string url;
    std::string error;  // empty: nothing happens at all
  };
  const Case cases[] = {
      {false, "", ""},
      {true, "", "Empty URL"},
      {false, "https://no-such-host.invalid/", "Null Remote Address"},
      {false, "http://127.0.0.1:" + std::to_string(testing::ClosedPort()) + "/",
       "Connection Failed"},
      {true, "http://no-such-host.invalid/", "Null Remote Address"},
  };
  Open();
  for (const Case& c : cases) {
    RecordedMessages().clear();
    form->Context().DocumentLines() = {"http://kept.example/"};
    page->RadioGroupLinksClick();
    const TextList shown_before = page->ShownLines();
    testing::Find<QLineEdit>(page, "EditUrl")->setText(ToQ(c.url));
    if (c.enter) {
      PressEnter(testing::Find<QLineEdit>(page, "EditUrl"));
    } else {
      ClickLikeAUser(testing::Find<QPushButton>(page, "ButtonGetUrl"));
    }
    if (c.error.empty()) {
      EXPECT_EQ(Errors(), std::vector<std::string>{});
      EXPECT_EQ(form->Context().DocumentLines(), TextList{"http://kept.example/"});
    } else {
      EXPECT_EQ(Errors(), std::vector<std::string>{c.error}) << c.url;
      EXPECT_TRUE(form->Context().DocumentLines().empty()) << c.url;  // emptied before the fetch
    }
    EXPECT_EQ(page->ShownLines(), shown_before) << c.url;  // no search ran
  }
}

TEST_F(PageFetchTest, ServerErrorPagesAreSearchedLikeAnyPage) {
  testing::ScriptedPeer peer([](testing::PeerConnection& connection) {
    connection.ReceiveRequest();
    connection.Send("HTTP/1.0 404 Not Found\r\n\r\nmissing, try http://help.example/\n");
    connection.Close();
  });
  Open();
  testing::Find<QLineEdit>(page, "EditUrl")->setText(ToQ(peer.Url("/gone")));
  ClickLikeAUser(testing::Find<QPushButton>(page, "ButtonGetUrl"));
  EXPECT_EQ(Errors(), std::vector<std::string>{});
  EXPECT_EQ(page->ShownLines(), TextList{"http://help.example/"});
}

// The fetch has no time limit, but a page that would never end is cut off at 256 MB with an
// error, and nothing of it is searched or kept.
TEST_F(PageFetchTest, APageLargerThan256MBEndsTheFetchWithAnError) {
  testing::ScriptedPeer endless([](testing::PeerConnection& connection) {
    connection.ReceiveRequest();
    connection.Send("HTTP/1.0 200 OK\r\n\r\n");
    const std::string chunk(1 << 16, 'x');
    while (::send(connection.Fd(), chunk.data(), chunk.size(), MSG_NOSIGNAL) > 0) {
    }
  });
  Open();
  form->Context().DocumentLines() = {"http://kept.example/"};
  page->RadioGroupLinksClick();
  testing::Find<QLineEdit>(page, "EditUrl")->setText(ToQ(endless.Url("/endless")));
  ClickLikeAUser(testing::Find<QPushButton>(page, "ButtonGetUrl"));
  EXPECT_EQ(Errors(), std::vector<std::string>{"The response body is larger than 256 MB"});
  EXPECT_TRUE(form->Context().DocumentLines().empty());
  EXPECT_TRUE(form->Context().HTTP().Body.empty());
  EXPECT_EQ(page->ShownLines(), TextList{"http://kept.example/"});
  EXPECT_FALSE(page->Fetching());
  EXPECT_FALSE(form->Context().HTTP().IsConnected());
}

TEST_F(PageFetchTest, TypedAddressIsRememberedAndComesBack) {
  Open();
  form->show();
  QApplication::setActiveWindow(form.get());
  // The program's own change does not count.
  testing::Find<QLineEdit>(page, "EditUrl")->setText("http://program.example/");
  EXPECT_EQ(form->Context().Settings().RememberedUrl, "");
  testing::Find<QLineEdit>(page, "EditUrl")->setFocus();
  ASSERT_TRUE(WaitFor([this] { return testing::Find<QLineEdit>(page, "EditUrl")->hasFocus(); }));
  testing::Find<QLineEdit>(page, "EditUrl")->clear();
  for (const char c : std::string("http://typed.example/")) {
    QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(c)));
    QCoreApplication::sendEvent(testing::Find<QLineEdit>(page, "EditUrl"), &key);
  }
  EXPECT_EQ(form->Context().Settings().RememberedUrl, "http://typed.example/");
  form->close();
  form.reset();
  EXPECT_EQ(IniFile(dir / "brevanoth-pagelathe.ini").ReadString("Options", "Link", ""),
            "http://typed.example/");
  form = std::make_unique<TForm1>(dir.Path());
  form->FormShow();
  EXPECT_EQ(FromQ(testing::Find<QLineEdit>(form->Page<LinksGrabberPage>(), "EditUrl")->text()),
            "http://typed.example/");
  EXPECT_EQ(form->Context().Settings().RememberedUrl, "http://typed.example/");
}

TEST_F(PageFetchTest, ClosingTheWindowDuringAFetchCancelsIt) {
  testing::ScriptedPeer silent(
      [](testing::PeerConnection& connection) {
        connection.ReceiveRequest();
        connection.WaitForClientClose();  // never answers
      },
      2);
  Open();
  form->show();
  testing::Find<QLineEdit>(page, "EditUrl")->setText(ToQ(silent.Url("/slow")));
  bool closed = false;
  bool enter_ignored = false;
  // While the fetch waits, the window keeps running its events: Enter is ignored, and closing
  // the window ends the fetch.
  QTimer::singleShot(100, form.get(), [&] {
    if (page->Fetching()) {
      page->EditUrlKeyDown(13);
      enter_ignored = page->Fetching();
    }
    form->close();
    closed = true;
  });
  ClickLikeAUser(testing::Find<QPushButton>(page, "ButtonGetUrl"));
  // Had the cancel not ended it, the fetch would have ended when the peer gave up, with its
  // empty body as the document.
  EXPECT_TRUE(form->Context().DocumentLines().empty());
  EXPECT_TRUE(closed);
  EXPECT_TRUE(enter_ignored);
  EXPECT_FALSE(page->Fetching());
  EXPECT_FALSE(form->Context().HTTP().IsConnected());
  EXPECT_EQ(Errors(), std::vector<std::string>{});  // a quiet end, no error box
  EXPECT_EQ(silent.Accepted(), 1);
  form.reset();
}

// What the page shows of a fetch, taken while it waits.
struct FetchLook {
  bool fetching = false;
  std::string status;
  QString button;
  bool busy_cursor = false;
  bool sources_enabled = true;     // clipboard, file list, link type, Search
  bool document_untouched = true;  // the other sources did nothing to the current document
};

TEST_F(PageFetchTest, AWaitingFetchShowsItselfAndStopsAtTheButtonOrEscape) {
  for (const bool by_escape : {false, true}) {
    SCOPED_TRACE(by_escape ? "Escape" : "the button");
    testing::ScriptedPeer silent(
        [](testing::PeerConnection& connection) {
          connection.ReceiveRequest();
          connection.WaitForClientClose();  // never answers
        },
        1);
    Open();
    form->Context().Texts().StringStop = "Stop";
    form->Context().Texts().StringFetchingPage = "Fetching: ";
    form->show();
    page->SearchDocument({"http://before.example/"});
    const TextList shown_before = page->ShownLines();
    form->SetStatusText("before");
    dir.Write("doc.htm", "http://file.example/");
    testing::Find<QLineEdit>(page, "EditFolder")->setText(ToQ(dir.Path()));
    const std::string url = silent.Url("/never");
    testing::Find<QLineEdit>(page, "EditUrl")->setText(ToQ(url));

    FetchLook look;
    auto* watch = new QTimer(form.get());
    watch->setInterval(10);
    QObject::connect(watch, &QTimer::timeout, form.get(), [&, watch] {
      if (!page->Fetching() || silent.Accepted() == 0) return;
      watch->stop();
      look.fetching = true;
      look.status = form->StatusText();
      look.button = testing::Find<QPushButton>(page, "ButtonGetUrl")->text();
      look.busy_cursor = page->cursor().shape() == Qt::BusyCursor;
      look.sources_enabled = testing::Find<QPushButton>(page, "ButtonFromClipboard")->isEnabled() ||
                             testing::Find<TFileListBox>(page, "FileListBoxFiles")->isEnabled() ||
                             testing::Find<TRadioGroup>(page, "RadioGroupLinks")->isEnabled() ||
                             testing::Find<QPushButton>(page, "ButtonSearchLinks")->isEnabled() ||
                             testing::Find<TRadioGroup>(page, "RadioGroupView")->isEnabled() ||
                             testing::Find<QCheckBox>(page, "CheckBoxSort")->isEnabled() ||
                             testing::Find<QCheckBox>(page, "CheckBoxNoHttp")->isEnabled();
      // Called all the same, the other sources leave the fetch's document alone.
      page->ButtonFromClipboardClick();
      page->FileListBoxFilesClick("doc.htm");
      page->RadioGroupLinksClick();
      page->ButtonSearchLinksClick();
      look.document_untouched = form->Context().DocumentLines().empty() && !page->Searching() &&
                                page->ShownLines() == shown_before;
      if (by_escape) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(testing::Find<QLineEdit>(page, "EditUrl"), &escape);
      } else {
        ClickLikeAUser(testing::Find<QPushButton>(page, "ButtonGetUrl"));
      }
    });
    watch->start();
    ClickLikeAUser(testing::Find<QPushButton>(page, "ButtonGetUrl"));

    EXPECT_TRUE(look.fetching);
    EXPECT_EQ(look.status, "Fetching: " + url);
    EXPECT_EQ(look.button, "Stop");
    EXPECT_TRUE(look.busy_cursor);
    EXPECT_FALSE(look.sources_enabled);
    EXPECT_TRUE(look.document_untouched);
    // Stopped, not answered: a page the peer ended would be one (empty) entry, searched.
    EXPECT_FALSE(page->Fetching());
    EXPECT_TRUE(form->Context().DocumentLines().empty());
    EXPECT_EQ(page->ShownLines(), shown_before);
    EXPECT_EQ(Errors(), std::vector<std::string>{});
    EXPECT_FALSE(form->Context().HTTP().IsConnected());
    // Everything is as before the fetch.
    EXPECT_EQ(form->StatusText(), "before");
    EXPECT_EQ(testing::Find<QPushButton>(page, "ButtonGetUrl")->text(), "Get");
    EXPECT_FALSE(page->testAttribute(Qt::WA_SetCursor));
    EXPECT_TRUE(testing::Find<QPushButton>(page, "ButtonFromClipboard")->isEnabled() &&
                testing::Find<TFileListBox>(page, "FileListBoxFiles")->isEnabled() &&
                testing::Find<TRadioGroup>(page, "RadioGroupLinks")->isEnabled() &&
                testing::Find<QPushButton>(page, "ButtonSearchLinks")->isEnabled() &&
                testing::Find<TRadioGroup>(page, "RadioGroupView")->isEnabled() &&
                testing::Find<QCheckBox>(page, "CheckBoxSort")->isEnabled() &&
                testing::Find<QCheckBox>(page, "CheckBoxNoHttp")->isEnabled());
    EXPECT_FALSE(testing::Find<QLineEdit>(page, "EditUrl")->isReadOnly());
    form.reset();
  }
}

}  // namespace
}  // namespace pagelathe
