// The language choice dialog.
#include "app/FormLanguage.h"

#include "app/TForm1.h"

namespace pagelathe {

TFormLanguage::TFormLanguage(TForm1& form) : QDialog(&form), form_(form) {
  setObjectName("FormLanguage");
  setWindowTitle("Select Language");
}

void TFormLanguage::ShowChoice() {}

}  // namespace pagelathe
