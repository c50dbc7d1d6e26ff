// The keywords line and the proposed save name of the page creator.
#include "tools/keywords/PageCreator.h"

#include <gtest/gtest.h>

namespace pagelathe {
namespace {

struct JoinCase {
  const char* name;
  TextList items;
  std::string text;
};

void PrintTo(const JoinCase& c, std::ostream* os) {
  *os << c.name;
}

class KeywordsTextTest : public ::testing::TestWithParam<JoinCase> {};

TEST_P(KeywordsTextTest, JoinsWithCommaAndBlank) {
  EXPECT_EQ(KeywordsText(GetParam().items), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeywordsTextTest,
    ::testing::Values(JoinCase{"Three", {"alpha", "beta", "gamma"}, "alpha, beta, gamma"},
                      JoinCase{"One", {"alpha"}, "alpha"}, JoinCase{"None", {}, ""},
                      JoinCase{"EmptyItems", {"", ""}, ", "},
                      JoinCase{"ItemsKeepTheirOwnCommas", {"a, b", "c "}, "a, b, c "},
                      JoinCase{"Duplicates", {"x", "x"}, "x, x"}),
    [](const auto& info) { return std::string(info.param.name); });

struct NameCase {
  const char* name;
  std::string opened;
  std::string proposed;
};

void PrintTo(const NameCase& c, std::ostream* os) {
  *os << c.name;
}

class ProposedSaveNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(ProposedSaveNameTest, IsTheNameWithoutFolderAndExtension) {
  EXPECT_EQ(ProposedSaveName(GetParam().opened), GetParam().proposed);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProposedSaveNameTest,
    ::testing::Values(NameCase{"NothingOpened", "", ""},
                      NameCase{"PlainFile", "/home/u/keywords/text.txt", "text"},
                      NameCase{"LastDotOnly", "/home/u/about.us.txt", "about.us"},
                      NameCase{"NoDot", "/home/u/README", ""},
                      NameCase{"DotInFolderOnly", "/home/my.site/README", ""},
                      NameCase{"HiddenFile", "/home/u/.profile", ""},
                      NameCase{"NoFolder", "page.html", "page"},
                      NameCase{"TrailingDot", "/a/b.", "b"},
                      NameCase{"Cyrillic", "/a/\xF2\xE5\xEA\xF1\xF2.txt", "\xF2\xE5\xEA\xF1\xF2"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pagelathe
