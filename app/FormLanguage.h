// The first-start dialog that asks for the language. It has no cancel: closing it in any
// way applies the choice on display.
#pragma once

#include <QDialog>

namespace pagelathe {

class TForm1;

class TFormLanguage : public QDialog {
  Q_OBJECT
 public:
  explicit TFormLanguage(TForm1& form);
  // Shows the dialog modally and applies the chosen language.
  void ShowChoice();

 private:
  TForm1& form_;
};

}  // namespace pagelathe
