// The first-start dialog that asks for the language. It has no cancel: closing it in any
// way applies the choice on display. Its own captions stay English.
#pragma once

#include <QDialog>
#include <string>

class QComboBox;
class QLabel;
class QPushButton;

namespace pagelathe {

class PageContext;

class TFormLanguage : public QDialog {
  Q_OBJECT
 public:
  TFormLanguage(PageContext& context, QWidget* parent);
  // Shows the dialog modally with "English" selected; the choice is applied when it closes.
  void ShowChoice();
  // "Ok": applies the language on display and closes the dialog.
  void ButtonOkClick();

  QLabel* LabelLang = nullptr;
  QComboBox* ComboBoxLang = nullptr;
  QPushButton* ButtonOk = nullptr;

  // Every way of closing ends here (Ok, Escape, the title bar): the language on display
  // becomes the program's language, and LanguageChosen asks for it to be applied.
  void done(int result) override;

 signals:
  void LanguageChosen(const std::string& name);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  PageContext& context_;
};

}  // namespace pagelathe
