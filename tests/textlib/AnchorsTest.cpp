// Anchor targets, mailto targets and e-mail addresses taken from HTML and plain text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "textlib/Dizerezez.h"

namespace pagelathe {
namespace {

using namespace std::string_literals;

struct AnchorCase {
  std::string in;
  TextList out;
};

TEST(GetHtmllink, AnchorTargets) {
  const std::vector<AnchorCase> cases = {
      {"<A HREF=\"Page.HTML#top\" target=\"_blank\">Top</A>", {"page.html"}},
      {"<a href=\"#x\">a</a><a href=\"?q=1\">b</a>", {}},
      {"<a href=\"javascript:void(0)\">x</a><a href=\"mailto:me@x.ru\">y</a>", {}},
      {"<a href=@x><a href=&x><a href=\\x><a href=+x>", {}},
      {"<a href=\"\">empty</a>", {""}},           // an empty target is an empty line
      {"<a href='page.html'>", {"'page.html'"}},  // single quotes stay
      {"<a href=a.html>1</a> <a href=b.html>2</a> <a href=a.html>3</a>",
       {"a.html", "b.html", "a.html"}},
      {"<a href=\"my page.html\">", {"my"}},        // cut before the first blank
      {"<a href=\" x.html \">", {"x.html"}},        // trimmed first
      {"<a href= #top>", {""}},                     // trimmed, then cut before "#"
      {"<a\r\nhref=\"x\">", {}},                    // the line break is deleted, not made a blank
      {"<a \r\n  href=\"y\">", {"y"}},              // blanks collapse to one
      {"<a class=\"c\" href=\"x\">", {}},           // an attribute before the target hides it
      {"<a target=\"_blank\" href=\"x\">", {"x"}},  // unless it is one that is cut out
      {"<a href=\"x\" class=\"top\">", {"x"}},
      {"<a href=\"Привет.html\">", {"привет.html"}},
      {"<a href=\"x.html\"", {}},  // an unclosed tag adds nothing
      {"<a href=a><a href=b", {"a"}},
      {"text <a href=x>link</a> a href=y>", {"x"}},  // only tags are read
      {"", {}},
      {"<a href=\"JavaScript:go()\">", {}},  // lower-cased before the test
      {"<a href=x\0y>"s, {"xy"}},
      {"<a href=x\xC8"
       "class=_copyright\x88y>",
       {"x\xC8\x89y"}},  // joined bytes: "ȉ", not "Ȉ"
  };
  for (const auto& c : cases)
    EXPECT_EQ(GetHtmllink(c.in), c.out) << c.in;
}

TEST(GetHtmlMail, MailtoTargets) {
  const std::vector<AnchorCase> cases = {
      {"<a href=\"mailto:Me@Example.com?subject=Hello\">", {"me@example.com?subject=hello"}},
      {"<a href = \"mailto: a@b.c\" >", {"a@b.c"}},  // every blank goes
      {"<a href=\"http://x\">", {}},
      {"<a href=\"mailto:x@y.z\"", {}},  // unclosed
      {"<a href=mailto:a@b.c>1</a><a href=mailto:d@e.f>2</a>", {"a@b.c", "d@e.f"}},
      {"<A HREF=\"MAILTO:x@y.z\" target=\"_blank\">", {"x@y.z"}},
      {"", {}},
      {"<a href=\"mailto:\">", {""}},
      {"<a\nhref=\"mailto:q@w.e\">", {"q@w.e"}},  // the line break goes, the blank too
      {"mailto:a@b.c <b>", {}},                   // text outside tags is not read
  };
  for (const auto& c : cases)
    EXPECT_EQ(GetHtmlMail(c.in), c.out) << c.in;
}

TEST(StrToMail, AddressesInText) {
  const std::vector<AnchorCase> cases = {
      {"Write to john@example.com.", {"john@example.com."}},  // the full stop stays
      {"a@b", {}},
      {"@example.com", {}},
      {"Mail: Ivan.Petrov@Mail.RU, or x_y-z@host.org", {"Ivan.Petrov@Mail.RU", "x_y-z@host.org"}},
      {"a@b.c@d.e", {"a@b.c@d.e", "ab.c@d.e"}},  // once per "@", the earlier one removed
      {"a@@b.c", {"a@@b.c", "a@b.c"}},
      {"@a@b.c", {"a@b.c"}},
      {"Прuser@host.com", {"user@host.com"}},
      {"x@y.z", {"x@y.z"}},
      {"x@y.", {}},  // the dot is the last character
      {"x@.y", {"x@.y"}},
      {"me@site.ruа", {"me@site.ru"}},
      {"", {}},
      {"a@b.c\0d@e.f"s, {"a@b.c", "d@e.f"}},
      {"one@two three@four.five", {"three@four.five"}},
      {".x@y.z", {".x@y.z"}},
      {"no address here", {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(StrToMail(c.in), c.out) << c.in;
}

TEST(StrToMail, AnAddressIsTakenFromAtMost255Characters) {
  const std::vector<AnchorCase> cases = {
      {std::string(251, 'a') + "@b.cd", {std::string(251, 'a') + "@b.c"}},
      {std::string(252, 'a') + "@b.c", {}},  // only "@b." fits: the dot is last
      {std::string(254, 'a') + "@b.c", {}},  // only the "@" fits
      {std::string(255, 'a') + "@b.c", {}},  // the name fills the piece
      {std::string(300, 'a') + " x@y.z", {"x@y.z"}},
      {std::string(200, '@') + "a@b.c", {"a@b.c"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(StrToMail(c.in), c.out) << c.in.size();
}

TEST(StrToMail, ARunOfManyAtSignsYieldsOneAddressPerAtSignThatFits) {
  // "x", 1000 times "@", then "y.z": each "@" sees the run with the earlier ones removed, and
  // the address counts once "x", the "@"s left and "y.z" fit in 255 characters.
  // Built by appending: GCC 12 warns falsely (-Wrestrict) on "x" + std::string(...) when it
  // inlines deeply, as in the unity build.
  const auto address = [](size_t at_signs) {
    return std::string("x").append(at_signs, '@') + "y.z";
  };
  const TextList found = StrToMail(address(1000));
  ASSERT_EQ(found.size(), 251u);
  EXPECT_EQ(found.front(), address(251));
  EXPECT_EQ(found[249], "x@@y.z");
  EXPECT_EQ(found.back(), "x@y.z");
}

}  // namespace
}  // namespace pagelathe
