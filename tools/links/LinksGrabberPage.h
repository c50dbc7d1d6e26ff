// The Links Grabber page.
#pragma once

#include "app/ToolPage.h"

namespace pagelathe {

class LinksGrabberPage : public ToolPage {
  Q_OBJECT
 public:
  explicit LinksGrabberPage(TForm1& form, QWidget* parent = nullptr);
};

}  // namespace pagelathe
