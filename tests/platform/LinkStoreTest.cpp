// The found-links store: links keep their bytes and order (empty ones and ones with NUL bytes
// included) through every way of filling it.
#include "platform/LinkStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace pagelathe {
namespace {

TEST(LinkStore, KeepsEveryLinkAsAdded) {
  const std::string with_nul("a\0b", 3);
  const TextList cases[] = {
      {},
      {""},
      {"", "", ""},
      {"http://a.org", "", "page.html"},
      {with_nul, "x"},
      {std::string(100000, 'z'), "y"},
  };
  for (const TextList& lines : cases) {
    const LinkStore from_list(lines);
    EXPECT_EQ(from_list.size(), lines.size());
    EXPECT_EQ(from_list.ToTextList(), lines);
    LinkStore pushed;
    for (const std::string& line : lines)
      pushed.push_back(line);
    EXPECT_EQ(pushed, from_list);
    // Through iterators, as the view and the sort read it.
    TextList read;
    std::transform(from_list.begin(), from_list.end(), std::back_inserter(read),
                   [](std::string_view link) { return std::string(link); });
    EXPECT_EQ(read, lines);
    EXPECT_EQ(static_cast<size_t>(from_list.end() - from_list.begin()), lines.size());
  }
}

TEST(LinkStore, AppendJoinsTwoPartsIntoOneLink) {
  LinkStore store;
  store.Append("http://", "a.org");
  store.Append("", "");
  store.Append("x", "");
  EXPECT_EQ(store.ToTextList(), (TextList{"http://a.org", "", "x"}));
  EXPECT_EQ(store.CharCount(), 13u);
  EXPECT_EQ(store.front(), "http://a.org");
  EXPECT_EQ(store.back(), "x");
}

TEST(LinkStore, AppendAllAddsInOrderEvenFromItself) {
  struct Case {
    TextList first, second, joined;
  };
  const Case cases[] = {
      {{}, {}, {}},
      {{"a"}, {}, {"a"}},
      {{}, {"b", ""}, {"b", ""}},
      {{"a", ""}, {"bc", "d"}, {"a", "", "bc", "d"}},
  };
  for (const Case& c : cases) {
    LinkStore store(c.first);
    store.AppendAll(LinkStore(c.second));
    EXPECT_EQ(store.ToTextList(), c.joined);
  }
  LinkStore twice({"a", "bc"});
  twice.AppendAll(twice);
  EXPECT_EQ(twice.ToTextList(), (TextList{"a", "bc", "a", "bc"}));
  twice.clear();
  EXPECT_TRUE(twice.empty());
  EXPECT_EQ(twice.CharCount(), 0u);
  twice.push_back("again");
  EXPECT_EQ(twice.ToTextList(), TextList{"again"});
}

TEST(LinkStore, EqualityLooksAtTheBordersToo) {
  // The same characters cut differently are different lists.
  EXPECT_NE(LinkStore({"ab", "c"}), LinkStore({"a", "bc"}));
  EXPECT_NE(LinkStore({"a", ""}), LinkStore({"a"}));
  EXPECT_EQ(LinkStore({"a", ""}), LinkStore(TextList{"a", ""}));
}

}  // namespace
}  // namespace pagelathe
