// The update dialog: asks the update service whether a newer version exists and shows the
// answer, with a link to the product page when there is one.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "update/UpdateCheck.h"

class QLabel;
class QPushButton;

namespace pagelathe {

class LongJob;
class PageContext;

class TFormUpdate : public QDialog {
  Q_OBJECT
 public:
  TFormUpdate(PageContext& context, QWidget* parent);
  std::string StringCheckingForUpdates;  // filled by the language file
  // Menu Help, "Check for updates ...": shows the dialog, which starts a check.
  void ShowCheck();
  // Timer tick: asks the platform whether an internet connection exists.
  void RefreshConnectionState();
  ~TFormUpdate() override;

  // Starts a check on a worker thread; the dialog shows its verdict when it ends.
  void StartUpdateCheck();

  void ButtonCheckClick();
  void ButtonCloseClick();
  // Puts both labels in the middle of the dialog's width.
  void CentreLabels();

  // The connection state of the last timer tick (false until the first tick).
  [[nodiscard]] bool Connected() const { return connected_; }
  // True from the start of a check until its finishing step.
  [[nodiscard]] bool Checking() const;

  // Where the connection state comes from (the network interfaces unless a test says other).
  std::function<bool()> ConnectionSource;
  // Opens the link label's address (in the desktop's browser unless a test says other).
  std::function<void(const std::string& url)> OpenLink;

  QLabel* LabelText = nullptr;
  QLabel* LabelLink = nullptr;
  QPushButton* ButtonCheck = nullptr;
  QPushButton* ButtonClose = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormShow();
  void FinishUpdateCheck(const UpdateResult& result);
  void LabelLinkMouseMove();
  void FormMouseMove();
  void LabelLinkMouseDown();
  void SetLabelText(const std::string& text);
  void SetLinkColour(const QColor& colour);

  PageContext& context_;
  LongJob* job_ = nullptr;
  bool connected_ = false;
  std::string result_message_;   // what the last verdict put into LabelText
  bool showing_result_ = false;  // the next show presents a verdict, it starts no check
  bool dropping_ = false;        // a stopped check's finishing step does nothing
};

}  // namespace pagelathe
