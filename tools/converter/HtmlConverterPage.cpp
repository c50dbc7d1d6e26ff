// The HTML Converter page.
#include "tools/converter/HtmlConverterPage.h"

namespace pagelathe {

HtmlConverterPage::HtmlConverterPage(TForm1& form, QWidget* parent) : ToolPage(form, "TabSheetHtmlConverter", parent) {}

}  // namespace pagelathe
