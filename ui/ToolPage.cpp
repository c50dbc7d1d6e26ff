// Tool page base.
#include "ui/ToolPage.h"

#include "ui/PageContext.h"

namespace pagelathe {

ToolPage::ToolPage(PageContext& context, const QString& name, QWidget* parent)
    : QWidget(parent), context_(context) {
  setObjectName(name);
  connect(&context, &PageContext::LanguageChanged, this, [this] { LanguageApplied(); });
}

}  // namespace pagelathe
