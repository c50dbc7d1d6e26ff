// The Exclusions editor: the live editing view of the links search's exclusion list.
#pragma once

#include <QDialog>

namespace pagelathe {

class TForm1;

class TFormExclusions : public QDialog {
  Q_OBJECT
 public:
  explicit TFormExclusions(TForm1& form);

 private:
  TForm1& form_;
};

}  // namespace pagelathe
