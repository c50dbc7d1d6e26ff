// The Web Color page.
#include "tools/colour/WebColorPage.h"

namespace pagelathe {

WebColorPage::WebColorPage(TForm1& form, QWidget* parent)
    : ToolPage(form, "TabSheetWebColor", parent) {}

}  // namespace pagelathe
