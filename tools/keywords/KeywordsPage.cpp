// The Keywords page with its two tabs, Search Keywords and Create Page.
#include "tools/keywords/KeywordsPage.h"

namespace pagelathe {

KeywordsPage::KeywordsPage(TForm1& form, QWidget* parent)
    : ToolPage(form, "TabSheetKeywords", parent) {}

}  // namespace pagelathe
