// Clean-up of text lists in place.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "textlib/Dizerezez.h"

namespace pagelathe {
namespace {

struct ListCase {
  TextList in, out;
};

TEST(ListCleanUp, BlankAndEmptyLines) {
  const std::vector<ListCase> blanks = {
      {{" a b ", "", "  "}, {"ab", "", ""}},
      {{}, {}},
      {{"\t x"}, {"\tx"}},
  };
  for (const auto& c : blanks) {
    TextList list = c.in;
    TextList& back = DelBlankStrings(list);
    EXPECT_EQ(&back, &list);
    EXPECT_EQ(list, c.out);
  }
  const std::vector<ListCase> empties = {
      {{"   ", "", " "}, {}},
      {{"a", " ", "b ", "\t", ""}, {"a", "b ", "\t"}},  // a tab is not a blank
      {{}, {}},
      {{"", "x", "", "", "y", ""}, {"x", "y"}},
  };
  for (const auto& c : empties) {
    TextList list = c.in;
    TextList& back = DelEmpStrings(list);
    EXPECT_EQ(&back, &list);
    EXPECT_EQ(list, c.out);
  }
}

TEST(ListCleanUp, DeleteCopyKeepsFirstOccurrences) {
  const std::vector<ListCase> cases = {
      {{"A", "a", "A", "b", "a", "", " ", ""}, {"A", "a", "b", "", " "}},
      {{}, {}},
      {{"x", "x", "x"}, {"x"}},
      {{"b", "a", "b", "a"}, {"b", "a"}},
      {{"\xE0", "\xC0", "\xE0"}, {"\xE0", "\xC0"}},
  };
  for (const auto& c : cases) {
    TextList list = c.in;
    TextList& back = DeleteCopy(list);
    EXPECT_EQ(&back, &list);
    EXPECT_EQ(list, c.out);
  }
}

TEST(ListCleanUp, DeleteCopyOnALargeList) {
  TextList list;
  for (int i = 0; i < 20000; ++i)
    list.push_back(std::to_string(i % 1000));
  DeleteCopy(list);
  ASSERT_EQ(list.size(), 1000u);
  for (int i = 0; i < 1000; ++i)
    EXPECT_EQ(list[i], std::to_string(i));
}

TEST(ListCleanUp, DelCopyMaskChangesTheListAndReturnsACopy) {
  struct MaskCase {
    TextList list, mask, left;
  };
  const std::vector<MaskCase> cases = {
      {{"x", "y", "x", "z"}, {"x", "w"}, {"y", "z"}},
      {{"x", "X"}, {"X"}, {"x"}},  // exact, case-sensitive
      {{"a", "b"}, {}, {"a", "b"}},
      {{}, {"a"}, {}},
      {{"", "a", ""}, {""}, {"a"}},
  };
  for (const auto& c : cases) {
    TextList list = c.list;
    TextList copy = DelCopyMask(list, c.mask);
    EXPECT_EQ(list, c.left);
    EXPECT_EQ(copy, c.left);
    copy.push_back("new");
    EXPECT_EQ(list, c.left);  // the caller owns a separate list
  }
  TextList self = {"a", "b", "a"};
  EXPECT_TRUE(DelCopyMask(self, self).empty());
  EXPECT_TRUE(self.empty());
}

}  // namespace
}  // namespace pagelathe
