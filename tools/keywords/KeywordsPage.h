// The Keywords page: the inner tabs Search Keywords and Create Page.
#pragma once

#include "ui/ToolPage.h"

class QTabWidget;

namespace pagelathe {

class KeywordSearchTab;
class PageCreatorTab;

class KeywordsPage : public ToolPage {
  Q_OBJECT
 public:
  explicit KeywordsPage(PageContext& context, QWidget* parent = nullptr);

  void FirstShow() override;
  void LanguageApplied() override;
  void StopJobs() override;

  // The current inner tab changed.
  void PageControlKeywordsChange();

 private:
  QTabWidget* PageControlKeywords;
  KeywordSearchTab* TabSheetKeywordsSearch;
  PageCreatorTab* TabSheetKeywordsCreate;
};

}  // namespace pagelathe
