// The About box.
#include "app/FormAbout.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/Product.h"
#include "ui/PageContext.h"
#include "ui/QtText.h"

namespace pagelathe {
namespace {

constexpr int kAboutWidth = 321;
constexpr int kAboutHeight = 201;
const QColor kLinkColor(0, 0, 255);
const QColor kLinkHoverColor(255, 0, 0);

// Texts of our own: the people behind the program and where to reach them.
constexpr const char* kAuthor = "Brevanoth Pagelathe team";
constexpr const char* kEmail = "team@brevanoth.example";

TFormAbout::UrlOpener& Opener() {
  static TFormAbout::UrlOpener opener = [](const QUrl& url) { QDesktopServices::openUrl(url); };
  return opener;
}

QLabel* MakeLabel(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  return label;
}

}  // namespace

QPixmap ProgramIconPixmap() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(20, 40, 110), 1));
  painter.setBrush(QColor(40, 90, 190));
  painter.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 5, 5);
  // A page with a fold and three lines of text: a tool for web pages.
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::white);
  const QPointF page[] = {{8, 6}, {19, 6}, {24, 11}, {24, 26}, {8, 26}};
  painter.drawPolygon(page, 5);
  painter.setBrush(QColor(180, 200, 235));
  const QPointF fold[] = {{19, 6}, {19, 11}, {24, 11}};
  painter.drawPolygon(fold, 3);
  painter.setPen(QPen(QColor(210, 60, 40), 2));
  for (int y : {14, 18, 22})
    painter.drawLine(QPointF(11, y), QPointF(y == 22 ? 17 : 21, y));
  return pixmap;
}

TFormAbout::TFormAbout(PageContext& context, QWidget* parent) : QDialog(parent), context_(context) {
  setObjectName("FormAbout");
  if (parent) setFont(parent->font());  // the main window's 8 point font; windows do not inherit it
  setWindowTitle("About Program");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  Panel1 = new QFrame(this);
  Panel1->setObjectName("Panel1");
  Panel1->setFrameShape(QFrame::StyledPanel);
  Panel1->setFrameShadow(QFrame::Sunken);
  Panel1->setMouseTracking(true);
  Panel1->installEventFilter(this);

  ProgramIcon = new QLabel(Panel1);
  ProgramIcon->setObjectName("ProgramIcon");
  ProgramIcon->setFixedSize(32, 32);
  ProgramIcon->setPixmap(ProgramIconPixmap());

  LabelTitle = MakeLabel("LabelTitle", ToQ(kProductCaption), Panel1);
  QFont title_font = LabelTitle->font();
  title_font.setBold(true);
  title_font.setPointSize(title_font.pointSize() + 2);
  LabelTitle->setFont(title_font);
  LabelAbout = MakeLabel("LabelAbout", "extract links, convert html, create gradient text", Panel1);
  LabelAbout->setWordWrap(true);
  LabelAuthor = MakeLabel("LabelAuthor", kAuthor, Panel1);
  LabelEmail = MakeLabel("LabelEmail", kEmail, Panel1);
  LabelSite = MakeLabel("LabelSite", ToQ(context_.Product().ProductPageUrl), Panel1);
  LabelSite->setMouseTracking(true);
  LabelSite->installEventFilter(this);
  SetLinkColor(kLinkColor);
  // The other labels let the mouse through to the panel, which turns the link blue again.
  for (QLabel* label : {ProgramIcon, LabelTitle, LabelAbout, LabelAuthor, LabelEmail})
    label->setAttribute(Qt::WA_TransparentForMouseEvents);

  OKButton = new QPushButton("OK", this);
  OKButton->setObjectName("OKButton");
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

  auto* head = new QHBoxLayout;
  head->setSpacing(10);
  head->addWidget(ProgramIcon, 0, Qt::AlignTop);
  head->addWidget(LabelTitle, 1, Qt::AlignVCenter);
  auto* text = new QVBoxLayout(Panel1);
  text->setContentsMargins(10, 8, 10, 8);
  text->setSpacing(4);
  text->addLayout(head);
  text->addSpacing(4);
  text->addWidget(LabelAbout);
  text->addStretch();
  text->addWidget(LabelAuthor);
  text->addWidget(LabelEmail);
  text->addWidget(LabelSite);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->setSpacing(8);
  layout->addWidget(Panel1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKButton);
  buttons->addStretch();
  layout->addLayout(buttons);
  // The box keeps its classic size unless the desktop's font needs more room for a line
  // (the product page address is the longest); a label is never cut off.
  setFixedSize(QSize(kAboutWidth, kAboutHeight).expandedTo(layout->minimumSize()));
}

void TFormAbout::SetUrlOpener(UrlOpener opener) {
  Opener() = opener ? std::move(opener) : [](const QUrl& url) { QDesktopServices::openUrl(url); };
}

void TFormAbout::SetLinkColor(const QColor& color) {
  QPalette palette = LabelSite->palette();
  palette.setColor(QPalette::WindowText, color);
  LabelSite->setPalette(palette);
}

void TFormAbout::LabelSiteMouseMove() {
  LabelSite->setCursor(Qt::PointingHandCursor);
  SetLinkColor(kLinkHoverColor);
}

void TFormAbout::Panel1MouseMove() {
  SetLinkColor(kLinkColor);
}

void TFormAbout::LabelSiteMouseDown() {
  Opener()(QUrl(ToQ(context_.Product().ProductPageUrl), QUrl::StrictMode));
}

bool TFormAbout::eventFilter(QObject* watched, QEvent* event) {
  // The link's own events stop here, so they do not reach the panel below it.
  if (watched == LabelSite && event->type() == QEvent::MouseMove) {
    LabelSiteMouseMove();
    return true;
  }
  if (watched == LabelSite && event->type() == QEvent::MouseButtonPress) {
    LabelSiteMouseDown();
    return true;
  }
  if (watched == Panel1 && event->type() == QEvent::MouseMove) Panel1MouseMove();
  return QDialog::eventFilter(watched, event);
}

void TFormAbout::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Centred on the screen, as the box always was.
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

}  // namespace pagelathe
