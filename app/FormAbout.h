// The About box: product name and version, a one-line description, and the product page.
#pragma once

#include <QDialog>

namespace pagelathe {

class TForm1;

class TFormAbout : public QDialog {
  Q_OBJECT
 public:
  explicit TFormAbout(TForm1& form);

 private:
  TForm1& form_;
};

}  // namespace pagelathe
