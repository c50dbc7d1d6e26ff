// The Gradient Text page.
#include "tools/colour/GradientTextPage.h"

namespace pagelathe {

GradientTextPage::GradientTextPage(TForm1& form, QWidget* parent)
    : ToolPage(form, "TabSheetGradientText", parent) {}

}  // namespace pagelathe
