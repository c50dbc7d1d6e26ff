// The Links Grabber page.
#include "tools/links/LinksGrabberPage.h"

namespace pagelathe {

LinksGrabberPage::LinksGrabberPage(TForm1& form, QWidget* parent) : ToolPage(form, "TabSheetLinksGrabber", parent) {}

}  // namespace pagelathe
