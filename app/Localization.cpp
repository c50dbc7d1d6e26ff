// LoadLanguage: applies a language file to every window.
#include "app/TForm1.h"

#include <QAction>

#include "app/ToolPage.h"

namespace pagelathe {

void TForm1::LoadLanguage(const std::string& name) {
  MLangEnglish->setChecked(name == "English");
  MLangRussian->setChecked(name == "Russian");
  for (ToolPage* page : pages_) page->LanguageApplied();
}

}  // namespace pagelathe
