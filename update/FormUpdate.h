// The update dialog: asks the update service whether a newer version exists.
#pragma once

#include <QDialog>

namespace pagelathe {

class TForm1;

class TFormUpdate : public QDialog {
  Q_OBJECT
 public:
  explicit TFormUpdate(TForm1& form);
  std::string StringCheckingForUpdates;  // filled by the language file
  // Menu Help, "Check for updates ...": shows the dialog, which starts a check.
  void ShowCheck();
  // Timer tick: asks the platform whether an internet connection exists.
  void RefreshConnectionState();

 private:
  TForm1& form_;
};

}  // namespace pagelathe
