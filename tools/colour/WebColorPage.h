// The Web Color page.
#pragma once

#include "app/ToolPage.h"

namespace pagelathe {

class WebColorPage : public ToolPage {
  Q_OBJECT
 public:
  explicit WebColorPage(TForm1& form, QWidget* parent = nullptr);
};

}  // namespace pagelathe
