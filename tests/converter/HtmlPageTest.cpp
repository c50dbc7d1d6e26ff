// The page template.
#include "tools/converter/HtmlPage.h"

#include <gtest/gtest.h>

namespace pagelathe {
namespace {

TEST(HtmlPage, WholePageWithTwoBodyLines) {
  const TextList page =
      BuildHtmlPage("Home & <b>", "a, b", "us", "Brevanoth Pagelathe 1.51", "Home", {"first", ""});
  const TextList expected = {
      "<HTML>",
      "<HEAD>",
      "<meta http-equiv='Content-Type' content='text/html; charset=windows-1251'>",
      "<TITLE>Home & <b></TITLE>",
      "<META name=\"keywords\" content=\"a, b\">",
      "<META name=\"description\" content=\"About us\">",
      "<META HTTP-EQUIV='pragma' CONTENT='no-cache'>",
      "<META HTTP-EQUIV='cache-control' CONTENT='no-cache'>",
      "<META HTTP-EQUIV='expires' CONTENT='0'>",
      "<META NAME='robots' CONTENT='ALL,INDEX,FOLLOW'>",
      "<META NAME='resource-type' CONTENT='document'>",
      "<META NAME='revisit-after' CONTENT='7 days'>",
      "<META name=\"generator\" content=\"Brevanoth Pagelathe 1.51\">",
      "</HEAD>",
      "<BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\" LINK=\"#0000FF\" VLINK=\"#800080\">",
      "",
      "<h2 align=center>Home</h2>",
      "",
      "<br>first",
      "<br>",
      "",
      "</BODY>",
      "</HTML>",
  };
  EXPECT_EQ(page, expected);
}

TEST(HtmlPage, NoBodyLinesPutsTheEmptyLineRightAfterTheHeading) {
  const TextList page = BuildHtmlPage("", "", "", "", "", {});
  ASSERT_EQ(page.size(), 21u);
  EXPECT_EQ(page[16], "<h2 align=center></h2>");
  EXPECT_EQ(page[17], "");
  EXPECT_EQ(page[18], "");
  EXPECT_EQ(page[19], "</BODY>");
  EXPECT_EQ(page[5], "<META name=\"description\" content=\"About \">");
}

}  // namespace
}  // namespace pagelathe
