// Tool page base.
#include "app/ToolPage.h"

namespace pagelathe {

ToolPage::ToolPage(TForm1& form, const QString& name, QWidget* parent)
    : QWidget(parent), form_(form) {
  setObjectName(name);
}

}  // namespace pagelathe
