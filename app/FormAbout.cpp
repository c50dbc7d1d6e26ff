// The About box.
#include "app/FormAbout.h"

#include "app/TForm1.h"

namespace pagelathe {

TFormAbout::TFormAbout(TForm1& form) : QDialog(&form), form_(form) {
  setObjectName("FormAbout");
  setWindowTitle("About Program");
}

}  // namespace pagelathe
