// Loading and saving text lists: the line break rules and the NUL byte.
#include "platform/TextList.h"

#include <gtest/gtest.h>

#include "platform/Errors.h"
#include "support/TempFolder.h"

namespace pagelathe {
namespace {

TEST(TextList, SplitsAtEveryKindOfLineBreak) {
  struct Case {
    std::string bytes;
    TextList lines;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\nc", {"a", "b", "c"}},
      {"a\n\nb", {"a", "", "b"}},
      {"\r\n", {""}},
      {"\n\r", {"", ""}},  // LF then a lone CR: two breaks
      {"a\r\r\nb", {"a", "", "b"}},
      {std::string("ab\0cd\r\nef", 9), {"ab"}},  // NUL ends the text
      {std::string("\0", 1), {}},
      {"\xFF\xE0\r\n\x80", {"\xFF\xE0", "\x80"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SplitLines(c.bytes), c.lines) << c.bytes;
}

TEST(TextList, SavesEveryLineWithCrLfAndLoadsItBack) {
  testing::TempFolder dir;
  const TextList lines = {"one", "", "  three  ", "Тест"};
  SaveTextList(lines, dir / "list.txt");
  EXPECT_EQ(dir.Read("list.txt"), "one\r\n\r\n  three  \r\nТест\r\n");
  EXPECT_EQ(LoadTextList(dir / "list.txt"), lines);
  // A Windows-1251 file reads as the same text, and is written back in its encoding while
  // every character has a byte there.
  dir.Write("legacy.txt", "one\r\n\r\n  three  \r\n\xD2\xE5\xF1\xF2\r\n");
  TextEncoding encoding = TextEncoding::kUtf8;
  EXPECT_EQ(LoadTextList(dir / "legacy.txt", kProfileLimit, encoding), lines);
  EXPECT_EQ(encoding, TextEncoding::kWin1251);
  SaveTextListInItsEncoding({"Тест"}, dir / "legacy.txt");
  EXPECT_EQ(dir.Read("legacy.txt"), "\xD2\xE5\xF1\xF2\r\n");
  SaveTextListInItsEncoding({"Тест", "Größe"}, dir / "legacy.txt");
  EXPECT_EQ(dir.Read("legacy.txt"), "Тест\r\nGröße\r\n");
  SaveTextList({}, dir / "list.txt");
  EXPECT_EQ(dir.Read("list.txt"), "");
}

TEST(TextList, MissingFileRaisesAnErrorNamingIt) {
  testing::TempFolder dir;
  try {
    (void)LoadTextList(dir / "missing.txt");
    FAIL();
  } catch (const EFileError& error) {
    EXPECT_NE(std::string(error.what()).find("missing.txt"), std::string::npos);
  }
}

}  // namespace
}  // namespace pagelathe
