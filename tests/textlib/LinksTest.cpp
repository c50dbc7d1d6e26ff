// Server parts, link comparison, extensions, country zones and relative links.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "textlib/Dizerezez.h"

namespace pagelathe {
namespace {

struct LinkCase {
  std::string in, out;
};

TEST(DelHttp, OnlyTheExactLowerCasePrefix) {
  const std::vector<LinkCase> cases = {
      {"http://a.com", "a.com"},
      {"HTTP://a", "HTTP://a"},
      {"https://a", "https://a"},
      {"", ""},
      {"http:/", "http:/"},
      {"xhttp://a", "xhttp://a"},
      {"http://", ""},
      {"http://http://a", "http://a"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DelHttp(c.in), c.out) << c.in;
}

TEST(CopyServer, ServerPartOrZero) {
  const std::vector<LinkCase> cases = {
      {"http://www.example.com/a/b", "www.example.com"},
      {"www.example.com/x", "www.example.com"},
      {"example.com/x", "0"},  // one dot is not enough without http:// or www.
      {"mail.example.com/x", "mail.example.com"},
      {"ftp://a.b.c/d", "0"},
      {"", ""},
      {"http://", ""},
      {"a.b.c", "a.b.c"},
      {"HTTP://a.b.c/x", "0"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CopyServer(c.in), c.out) << c.in;
}

TEST(CompareLink, SameServerOtherServerOrRooted) {
  struct LinkPair {
    std::string a, b;
    int result;
  };
  const std::vector<LinkPair> cases = {
      {"/a", "http://example.com", 3},
      {"/", "/", 3},
      {"/x", "", 3},
      {"http://www.example.com/a", "example.com/b", 0},
      {"http://Example.COM/a", "example.com", 0},
      {"http://a.com", "http://b.com", 1},
      {"www.a.com/x", "a.com/y", 0},
      {"www.a.com", "www.a.com/", 0},
      {"", "", 0},
      {"", "/x", 0},
      {"a.com", "/a.com", 1},
      {"WWW.a.com", "a.com", 1},                  // "www." is matched exactly
      {"https://a.com/x", "https://b.com/y", 0},  // both cut to "https:"
      {"http://пр.ru/a", "ПР.RU", 0},             // Cyrillic letters fold too
  };
  for (const auto& c : cases)
    EXPECT_EQ(CompareLink(c.a, c.b), c.result) << c.a << " / " << c.b;
}

TEST(GetExtLink, ExtensionUnlessZoneOrDomain) {
  const std::vector<LinkCase> cases = {
      {"page.HTML?x=1", "HTML"},
      {"http://example.com/", "0"},  // the last "." is in the server name
      {"script.pl", "0"},            // "PL" is a zone
      {"http://example.com/a/file.zip", "zip"},
      {"readme", "0"},
      {"file.", "0"},
      {"a.php#top", "php"},
      {"C:\\dir.x\\file", "0"},
      {"http://host.com:8080", "0"},
      {"", "0"},
      {"a.Com", "0"},
      {"x.museum", "0"},
      {"x.tar.gz", "gz"},
      {"x.info/page", "0"},
      {"x.html/", "html"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GetExtLink(c.in), c.out) << c.in;
}

TEST(GetZone, CountryZoneOfTheServer) {
  const std::vector<LinkCase> cases = {
      {"http://www.example.de/x", "DE"},
      {"http://example.com", "0"},
      {"example.de:8080", "0"},
      {"https://example.de", "0"},
      {"", "0"},
      {"www.Example.Ru/path.html", "RU"},
      {"http://a.uk", "UK"},
      {"http://a.gb", "0"},
      {"http://a.su", "SU"},
      {"http://ru", "0"},
      {"http://a.b.zw/", "ZW"},
      {"http://a.ac", "AC"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GetZone(c.in), c.out) << c.in;
}

TEST(ZoneToState, RussianNames) {
  const std::string guiana = "Гвиана";
  const std::vector<LinkCase> cases = {
      {"ru", "Российская Федерация"},
      {"RU", "Российская Федерация"},
      {"gf", guiana},
      {"GY", guiana},
      {"Ac", "Остров Вознесения"},
      {"zw", "Зимбабве"},
      {"de", "Германия"},
      {"ua", "Украина"},
      {"us",
       "Соединенные Штаты "
       "Америки"},
      {"su", "Территории бывшего СССР"},
      {"xx", "0"},
      {"", "0"},
      {"rus", "0"},
      {"GB", "0"},
      {"COM", "0"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ZoneToState(c.in), c.out) << c.in;
}

TEST(ZoneTables, CompleteSortedAndNamed) {
  ASSERT_EQ(zone.size(), 241u);
  EXPECT_TRUE(std::is_sorted(zone.begin(), zone.end()));
  EXPECT_EQ(std::set<std::string_view>(zone.begin(), zone.end()).size(), 241u);
  for (std::string_view z : zone) {
    ASSERT_EQ(z.size(), 2u);
    EXPECT_TRUE(z[0] >= 'A' && z[0] <= 'Z' && z[1] >= 'A' && z[1] <= 'Z') << z;
  }
  for (std::size_t i = 0; i < state.size(); ++i) {
    const bool cyrillic = std::any_of(state[i].begin(), state[i].end(),
                                      [](char c) { return static_cast<unsigned char>(c) >= 0xC0; });
    EXPECT_TRUE(cyrillic) << zone[i];
  }
  // Only "GF" and "GY" share a name.
  EXPECT_EQ(std::set<std::string_view>(state.begin(), state.end()).size(), 240u);
  for (std::string_view d : Domain)
    EXPECT_EQ(ZoneToState(std::string(d)), "0") << d;
  EXPECT_EQ(Arbits.front(), "\r");
  EXPECT_EQ(Arbits.back(), "class=submenu");
}

TEST(ExtractPath, FolderPart) {
  const std::vector<LinkCase> cases = {
      {"http://example.com/a/b.html", "http://example.com/a/"},
      {"http://example.com/a/", "http://example.com/a/"},
      {"http://example.com/a", "http://example.com/a/"},
      {"http://example.com", "http://example.com/"},  // a server alone is its own folder
      {"http://example.com/", "http://example.com/"},
      {"", "/"},
      {"/", "/"},
      {"page.html", "page.html/"},
      {"a/b.c/d", "a/b.c/d/"},
      {"http://example.com/a.b/c.html", "http://example.com/a.b/"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ExtractPath(c.in), c.out) << c.in;
}

TEST(ConcatLink, RelativeLinksAgainstThePage) {
  struct LinkCase {
    std::string base, link, out;
  };
  const std::string page = "http://example.com/a/b.html";
  const std::vector<LinkCase> cases = {
      {page, "../c.html", "http://example.com/c.html"},
      {page, "img/x.gif", "http://example.com/a/img/x.gif"},
      {page, "example.org/page", "example.org/page"},  // names a server
      {page, "http://other.com/x", "http://other.com/x"},
      {page, "www.other.com", "www.other.com"},
      {page, page, page},
      {page, "/x.html", "http://example.com/a/x.html"},  // under the page's folder
      {page, "", "http://example.com/a/"},
      {page, "../../../c.html", "http://example.com/c.html"},  // no higher than the root
      {page, "../", "http://example.com/"},
      {page, "site.ru", "site.ru"},
      {page, "x.gif", "http://example.com/a/x.gif"},
      {page, "x.", "http://example.com/a/x."},
      {"http://example.com", "page.html", "http://example.com/page.html"},
      {"http://example.com/", "../x", "http://example.com/x"},
      {"http://example.com/a/b/", "../../x.html", "http://example.com/x.html"},
      {"a/b/c.html", "../../../x", "a/x"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ConcatLink(c.base, c.link), c.out) << c.base << " + " << c.link;
}

}  // namespace
}  // namespace pagelathe
