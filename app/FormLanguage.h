// The first-start dialog that asks for the language. It has no cancel: closing it in any
// way applies the choice on display. Its own captions stay English.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace pagelathe {

class TForm1;

class TFormLanguage : public QDialog {
  Q_OBJECT
 public:
  explicit TFormLanguage(TForm1& form);
  // Shows the dialog modally with "English" selected; the choice is applied when it closes.
  void ShowChoice();
  // "Ok": applies the language on display and closes the dialog.
  void ButtonOkClick();

  QLabel* LabelLang = nullptr;
  QComboBox* ComboBoxLang = nullptr;
  QPushButton* ButtonOk = nullptr;

  // Every way of closing ends here (Ok, Escape, the title bar).
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TForm1& form_;
};

}  // namespace pagelathe
