// The page context on its own and attached to a window: the status line, the caption, and
// the language signal that reaches every page.
#include "ui/PageContext.h"

#include <gtest/gtest.h>
#include <QMainWindow>
#include <QStatusBar>

#include <memory>

#include "support/GuiTest.h"
#include "ui/ToolPage.h"

namespace pagelathe {
namespace {

class CountingPage : public ToolPage {
 public:
  using ToolPage::ToolPage;
  void LanguageApplied() override { ++applied; }
  int applied = 0;
};

TEST(PageContext, WithoutAWindowItKeepsTheStatusLineAndNamesTheProduct) {
  PageContext context;
  context.Product().ProductTitle = "Brevanoth Pagelathe";
  context.Product().ProductVersion = "1.51";
  EXPECT_EQ(context.StatusText(), "");
  context.SetStatusText("Links:Ä日");  // UTF-8 in, the same text out
  EXPECT_EQ(context.StatusText(), "Links:Ä日");
  EXPECT_EQ(context.StatusLine(), QString::fromUtf8("Links:Ä日"));
  EXPECT_EQ(context.WindowCaption(), "Brevanoth Pagelathe 1.51");
}

TEST(PageContext, AttachedToAWindowItUsesItsStatusBarAndCaption) {
  QMainWindow window;
  auto* bar = new QStatusBar(&window);
  window.setStatusBar(bar);
  PageContext context;
  context.SetStatusText("before");  // kept here until a bar is attached, then the bar's
  context.AttachWindow(&window, bar);
  EXPECT_EQ(context.StatusText(), "");
  context.SetStatusText("Processed files: 3");
  EXPECT_EQ(bar->currentMessage(), "Processed files: 3");
  bar->clearMessage();  // what the bar shows is the status line, whoever changed it
  EXPECT_EQ(context.StatusText(), "");
  window.setWindowTitle("Some caption");  // a language file may set it
  EXPECT_EQ(context.WindowCaption(), "Some caption");
}

TEST(PageContext, AWindowThatGoesLeavesTheContextUsable) {
  PageContext context;
  context.Product().ProductTitle = "Pagelathe";
  context.Product().ProductVersion = "2.0";
  {
    QMainWindow window;
    auto* bar = new QStatusBar(&window);
    context.AttachWindow(&window, bar);
    context.SetStatusText("on the bar");
  }
  context.SetStatusText("kept");
  EXPECT_EQ(context.StatusText(), "kept");
  EXPECT_EQ(context.WindowCaption(), "Pagelathe 2.0");
}

TEST(PageContext, AnAppliedLanguageReachesEveryPageOnce) {
  PageContext context;
  CountingPage first(context, "First");
  auto second = std::make_unique<CountingPage>(context, "Second");
  EXPECT_EQ(first.objectName(), "First");
  context.LanguageApplied();
  EXPECT_EQ(first.applied, 1);
  EXPECT_EQ(second->applied, 1);
  second.reset();  // a page that is gone is not called
  context.LanguageApplied();
  EXPECT_EQ(first.applied, 2);
}

}  // namespace
}  // namespace pagelathe
