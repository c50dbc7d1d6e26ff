// The base of the tool pages. The main window composes the pages and calls these hooks at
// the moments of its life; each page does its own part and nothing else, and reaches the
// rest of the program only through the page context.
#pragma once

#include <QWidget>

namespace pagelathe {

class PageContext;
struct AppSettings;

class ToolPage : public QWidget {
  Q_OBJECT
 public:
  ToolPage(PageContext& context, const QString& name, QWidget* parent = nullptr);

  // Window creation, right after the settings file was read: take the values that go
  // straight into controls (selected indexes, check boxes, folder edits).
  virtual void ApplySettings(const AppSettings& settings) { (void)settings; }
  // The window's first show: restore the remaining controls and run first computations.
  virtual void FirstShow() {}
  // The window closes: put this page's values into `settings` before they are written.
  virtual void StoreSettings(AppSettings& settings) const { (void)settings; }
  // The application became active again: re-read file lists.
  virtual void ApplicationActivated() {}
  // The window closes: stop running jobs and wait for their threads.
  virtual void StopJobs() {}
  // A language was applied (the context's LanguageChanged): refresh texts built from
  // message texts (counts in panels).
  virtual void LanguageApplied() {}

 protected:
  PageContext& context_;
};

}  // namespace pagelathe
