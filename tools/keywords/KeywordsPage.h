// The Keywords page with its two tabs, Search Keywords and Create Page.
#pragma once

#include "app/ToolPage.h"

namespace pagelathe {

class KeywordsPage : public ToolPage {
  Q_OBJECT
 public:
  explicit KeywordsPage(TForm1& form, QWidget* parent = nullptr);
};

}  // namespace pagelathe
