// The Gradient Text page.
#pragma once

#include "app/ToolPage.h"

namespace pagelathe {

class GradientTextPage : public ToolPage {
  Q_OBJECT
 public:
  explicit GradientTextPage(TForm1& form, QWidget* parent = nullptr);
};

}  // namespace pagelathe
