// The update dialog and the way a check runs: the show step starts a worker, the worker
// fetches and judges the answer, the finishing step puts the verdict into the labels and
// shows the dialog again when a newer version arrived after the user had closed it.
#include "update/FormUpdate.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QUrl>
#include <memory>

#include "ui/LongJob.h"
#include "ui/PageContext.h"
#include "ui/QtText.h"
#include "update/Connection.h"

namespace pagelathe {
namespace {

constexpr int kWidth = 460;
constexpr int kHeight = 150;
constexpr int kLabelTextTop = 22;
constexpr int kLabelLinkTop = 52;
constexpr int kButtonTop = 100;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 28;
constexpr int kButtonGap = 12;

QLabel* MakeLabel(QWidget* parent, const char* name) {
  auto* label = new QLabel("xxx", parent);
  label->setObjectName(name);
  QFont font = label->font();
  font.setPixelSize(13);
  label->setFont(font);
  label->adjustSize();
  return label;
}

}  // namespace

TFormUpdate::TFormUpdate(PageContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setObjectName("FormUpdate");
  setWindowTitle("Software Update");
  setFixedSize(kWidth, kHeight);
  setMouseTracking(true);

  LabelText = MakeLabel(this, "LabelText");
  LabelLink = MakeLabel(this, "LabelLink");
  QFont underlined = LabelLink->font();
  underlined.setUnderline(true);
  LabelLink->setFont(underlined);
  LabelLink->setMouseTracking(true);
  LabelLink->installEventFilter(this);
  SetLinkColour(Qt::blue);
  LabelText->move(0, kLabelTextTop);
  LabelLink->move(0, kLabelLinkTop);
  CentreLabels();

  ButtonCheck = new QPushButton("Check", this);
  ButtonCheck->setObjectName("ButtonCheck");
  ButtonClose = new QPushButton("Close", this);
  ButtonClose->setObjectName("ButtonClose");
  const int left = (kWidth - 2 * kButtonWidth - kButtonGap) / 2;
  ButtonCheck->setGeometry(left, kButtonTop, kButtonWidth, kButtonHeight);
  ButtonClose->setGeometry(left + kButtonWidth + kButtonGap, kButtonTop, kButtonWidth,
                           kButtonHeight);
  connect(ButtonCheck, &QPushButton::clicked, this, &TFormUpdate::ButtonCheckClick);
  connect(ButtonClose, &QPushButton::clicked, this, &TFormUpdate::ButtonCloseClick);

  job_ = new LongJob(this);
  ConnectionSource = [] { return InternetConnected(); };
  OpenLink = [](const std::string& url) { QDesktopServices::openUrl(QUrl(ToQ(url))); };
}

TFormUpdate::~TFormUpdate() {
  // The worker holds only its own copies; break off its download and wait for it, without
  // letting its finishing step touch a dialog that is going away.
  dropping_ = true;
  job_->StopAndWait();
}

bool TFormUpdate::Checking() const {
  return job_->Running();
}

void TFormUpdate::ShowCheck() {
  SetLabelText(StringCheckingForUpdates);
  CentreLabels();
  exec();
}

void TFormUpdate::RefreshConnectionState() {
  connected_ = ConnectionSource ? ConnectionSource() : false;
}

void TFormUpdate::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  if (const QScreen* desktop = screen()) {
    move(desktop->availableGeometry().center() - rect().center());
  }
  if (showing_result_) {
    showing_result_ = false;
    return;
  }
  FormShow();
}

void TFormUpdate::FormShow() {
  LabelLink->clear();
  LabelLink->adjustSize();
  LabelText->repaint();
  StartUpdateCheck();
}

void TFormUpdate::StartUpdateCheck() {
  // The title keeps its "+" for good, so every later check asks with the same title.
  ProductData& product = context_.Product();
  product.ProductTitle = ReplaceBlanksByPlus(product.ProductTitle);
  UpdateQuery query;
  query.connected = connected_;
  query.request_url = UpdateRequestAddress(product.UpdateBaseUrl, product.ProductTitle);
  query.version_file = product.VersionFile;
  query.agent = context_.WindowCaption();
  query.own_version = product.ProductVersion;
  query.product_page_url = product.ProductPageUrl;
  const MessageTexts& texts = context_.Texts();
  query.texts = {texts.StringLastVersion, texts.StringNewVersionIsAvailable,
                 texts.StringCantConnectToServer};

  if (job_->Running()) {
    // The dialog was opened again while a check ran: the new check supersedes the old one.
    dropping_ = true;
    job_->Stop();
    dropping_ = false;
  }
  auto thread = std::make_shared<TThreadUpdate>(std::move(query));
  job_->Start([thread](LongJob::Context& context) { thread->Execute(context.StopFlag()); },
              [this, thread] {
                if (!dropping_) FinishUpdateCheck(thread->Result());
              });
}

void TFormUpdate::FinishUpdateCheck(const UpdateResult& result) {
  if (result.outcome == UpdateOutcome::kNotChecked) return;  // the checking message stays
  if (result.message) result_message_ = *result.message;
  if (result.link) {
    LabelLink->setText(ToQ(*result.link));
    LabelLink->adjustSize();
  }
  SetLabelText(result_message_);
  CentreLabels();
  if (result.Newer() && !isVisible()) {
    showing_result_ = true;
    exec();
  }
}

void TFormUpdate::ButtonCheckClick() {
  if (Checking()) return;
  SetLabelText(StringCheckingForUpdates);
  CentreLabels();
  StartUpdateCheck();
}

void TFormUpdate::ButtonCloseClick() {
  reject();
}

void TFormUpdate::CentreLabels() {
  for (QLabel* label : {LabelText, LabelLink})
    label->move((width() - label->width()) / 2, label->y());
}

void TFormUpdate::SetLabelText(const std::string& text) {
  LabelText->setText(ToQ(text));
  LabelText->adjustSize();
}

void TFormUpdate::SetLinkColour(const QColor& colour) {
  QPalette palette = LabelLink->palette();
  palette.setColor(QPalette::WindowText, colour);
  LabelLink->setPalette(palette);
}

void TFormUpdate::mouseMoveEvent(QMouseEvent* event) {
  FormMouseMove();
  QDialog::mouseMoveEvent(event);
}

bool TFormUpdate::eventFilter(QObject* watched, QEvent* event) {
  if (watched == LabelLink) {
    switch (event->type()) {
      case QEvent::MouseMove:
        LabelLinkMouseMove();
        return true;  // the dialog underneath must not take it as a move off the link
      case QEvent::Enter:
        LabelLinkMouseMove();
        break;
      case QEvent::Leave:
        FormMouseMove();
        break;
      case QEvent::MouseButtonPress:
        LabelLinkMouseDown();
        return true;
      default:
        break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TFormUpdate::LabelLinkMouseMove() {
  LabelLink->setCursor(Qt::PointingHandCursor);
  SetLinkColour(Qt::red);
}

void TFormUpdate::FormMouseMove() {
  SetLinkColour(Qt::blue);
}

void TFormUpdate::LabelLinkMouseDown() {
  const std::string url = FromQ(LabelLink->text());
  if (!url.empty() && OpenLink) OpenLink(url);
}

}  // namespace pagelathe
