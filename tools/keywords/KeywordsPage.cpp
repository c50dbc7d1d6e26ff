// The Keywords page with its two tabs, Search Keywords and Create Page.
#include "tools/keywords/KeywordsPage.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include "tools/keywords/KeywordSearchTab.h"
#include "tools/keywords/PageCreatorTab.h"

namespace pagelathe {

KeywordsPage::KeywordsPage(PageContext& context, QWidget* parent)
    : ToolPage(context, "TabSheetKeywords", parent) {
  PageControlKeywords = new QTabWidget(this);
  PageControlKeywords->setObjectName("PageControlKeywords");
  TabSheetKeywordsSearch = new KeywordSearchTab(context, PageControlKeywords);
  TabSheetKeywordsCreate =
      new PageCreatorTab(context, *TabSheetKeywordsSearch, PageControlKeywords);
  PageControlKeywords->addTab(TabSheetKeywordsSearch, "Search Keywords");
  PageControlKeywords->addTab(TabSheetKeywordsCreate, "Create Page");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 2, 0, 0);
  layout->addWidget(PageControlKeywords);
  connect(PageControlKeywords, &QTabWidget::currentChanged, this,
          &KeywordsPage::PageControlKeywordsChange);
}

void KeywordsPage::FirstShow() {
  PageControlKeywords->setCurrentIndex(0);
}

void KeywordsPage::LanguageApplied() {
  TabSheetKeywordsSearch->UpdateWordsPanel();
  TabSheetKeywordsSearch->UpdateKeywordsPanel();
}

void KeywordsPage::StopJobs() {
  TabSheetKeywordsCreate->StopJobs();
  TabSheetKeywordsSearch->StopJobs();
}

void KeywordsPage::PageControlKeywordsChange() {
  if (PageControlKeywords->currentWidget() == TabSheetKeywordsCreate)
    TabSheetKeywordsCreate->Entered();
}

}  // namespace pagelathe
