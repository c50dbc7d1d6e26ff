// The About box: product name and version, a one-line description, the author, a contact
// address, and the product page, which opens in the user's browser when clicked.
#pragma once

#include <QDialog>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class QUrl;

namespace pagelathe {

class PageContext;

class TFormAbout : public QDialog {
  Q_OBJECT
 public:
  TFormAbout(PageContext& context, QWidget* parent);

  // The mouse is over the link: hand cursor, red text.
  void LabelSiteMouseMove();
  // A click on the link opens the product page through the desktop (failures are silent).
  void LabelSiteMouseDown();
  // The mouse is elsewhere in the box: the link turns blue again.
  void Panel1MouseMove();

  // How a page is opened; tests install their own so that no browser starts.
  using UrlOpener = std::function<void(const QUrl& url)>;
  static void SetUrlOpener(UrlOpener opener);

  QFrame* Panel1 = nullptr;
  QLabel* ProgramIcon = nullptr;
  QLabel* LabelTitle = nullptr;
  QLabel* LabelAbout = nullptr;
  QLabel* LabelAuthor = nullptr;
  QLabel* LabelEmail = nullptr;
  QLabel* LabelSite = nullptr;
  QPushButton* OKButton = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void SetLinkColor(const QColor& color);

  PageContext& context_;
};

// The program's 32 x 32 icon, drawn once.
[[nodiscard]] QPixmap ProgramIconPixmap();

}  // namespace pagelathe
