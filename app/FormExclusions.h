// The Exclusions editor: the live editing view of the links search's exclusion list. Every
// edit changes the list at once (a search started afterwards applies it); only Ok writes the
// file, and closing by the title bar keeps the edits in force without saving.
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace pagelathe {

class PageContext;

class TFormExclusions : public QDialog {
  Q_OBJECT
 public:
  // Fills the memo with the window's exclusion list, which must already be loaded.
  TFormExclusions(PageContext& context, QWidget* parent);
  // "Ok": saves the list to the exclusion file and closes. A failed save shows the error
  // and leaves the window open with the edits still in force.
  void ButtonOkClick();

  QPlainTextEdit* MemoExclusions = nullptr;
  QPushButton* ButtonOk = nullptr;

 private:
  void MemoExclusionsChange();

  PageContext& context_;
};

}  // namespace pagelathe
