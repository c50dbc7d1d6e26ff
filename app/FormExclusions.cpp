// The Exclusions editor.
#include "app/FormExclusions.h"

#include "app/TForm1.h"

namespace pagelathe {

TFormExclusions::TFormExclusions(TForm1& form) : QDialog(&form), form_(form) {
  setObjectName("FormExclusions");
  setWindowTitle("Exclusions");
}

}  // namespace pagelathe
