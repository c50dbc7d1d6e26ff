// The HTML Converter page.
#pragma once

#include "app/ToolPage.h"

namespace pagelathe {

class HtmlConverterPage : public ToolPage {
  Q_OBJECT
 public:
  explicit HtmlConverterPage(TForm1& form, QWidget* parent = nullptr);
};

}  // namespace pagelathe
