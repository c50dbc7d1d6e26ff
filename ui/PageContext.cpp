// The page context: the status line, the caption, and the HTTP client's built-in settings.
#include "ui/PageContext.h"

#include <QCoreApplication>
#include <QStatusBar>
#include <QWidget>

#include "net/TNMHTTP.h"
#include "ui/FolderDialog.h"
#include "ui/QtText.h"

namespace pagelathe {
namespace {

std::unique_ptr<TNMHTTP> MakeHttpClient() {
  auto http = std::make_unique<TNMHTTP>();
  http->Port = 0;
  http->ReportLevel = 0;
  http->Body = "Default.htm";
  http->Header = "Head.txt";
  http->InputFileMode = false;
  http->OutputFileMode = false;
  http->Proxy.clear();
  http->ProxyPort = 0;
  http->TimeOut = 0;
  // No time limit, but a page that would never end must not take all memory.
  http->BodyLimit = int64_t{256} << 20;
  http->HeaderInfo = THeaderInfo();
  http->Pump = [] { QCoreApplication::processEvents(QEventLoop::AllEvents); };
  return http;
}

}  // namespace

PageContext::PageContext(QObject* parent)
    : QObject(parent),
      folder_dialog_(new TFolderDialog("FolderDialog1", this)),
      http_(MakeHttpClient()) {
  setObjectName("PageContext");
}

PageContext::~PageContext() = default;

void PageContext::AttachWindow(QWidget* window, QStatusBar* status_bar) {
  window_ = window;
  status_bar_ = status_bar;
}

void PageContext::SetStatusText(const std::string& text) {
  ShowStatusText(PathToQ(text));  // a file name in it is shown as the file lists show it
}

void PageContext::ShowStatusText(const QString& text) {
  if (status_bar_) {
    status_bar_->showMessage(text);
  } else {
    status_line_ = text;
  }
}

QString PageContext::StatusLine() const {
  return status_bar_ ? status_bar_->currentMessage() : status_line_;
}

std::string PageContext::StatusText() const {
  return FromQ(StatusLine());
}

std::string PageContext::WindowCaption() const {
  if (window_) return FromQ(window_->windowTitle());
  std::string caption = product_.ProductTitle;
  caption.append(" ").append(product_.ProductVersion);
  return caption;
}

}  // namespace pagelathe
