// The update dialog.
#include "update/FormUpdate.h"

#include "app/TForm1.h"

namespace pagelathe {

TFormUpdate::TFormUpdate(TForm1& form) : QDialog(&form), form_(form) {
  setObjectName("FormUpdate");
  setWindowTitle("Software Update");
}

void TFormUpdate::ShowCheck() { exec(); }

void TFormUpdate::RefreshConnectionState() {}

}  // namespace pagelathe
