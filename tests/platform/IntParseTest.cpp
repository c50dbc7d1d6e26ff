// Integer texts: what is a number, what raises the conversion error.
#include "platform/IntParse.h"

#include <gtest/gtest.h>

#include "platform/Errors.h"

namespace pagelathe {
namespace {

TEST(IntParse, AcceptedAndRefusedTexts) {
  struct Case {
    std::string text;
    std::optional<int> value;
  };
  const std::vector<Case> cases = {
      {"0", 0},
      {"42", 42},
      {"+7", 7},
      {"-7", -7},
      {"007", 7},
      {"$1F", 31},
      {"$ff", 255},
      {"0x10", 16},
      {"0X10", 16},
      {"-$10", -16},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"$FFFFFFFF", -1},
      {"2147483648", std::nullopt},
      {"$100000000", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"12abc", std::nullopt},
      {" 12", std::nullopt},
      {"12 ", std::nullopt},
      {"1.5", std::nullopt},
      {"1e3", std::nullopt},
      {std::string("1\0", 2), std::nullopt},
      {"\xB3", std::nullopt},
      {"$G", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ParseInteger(c.text), c.value) << "'" << c.text << "'";
}

TEST(IntParse, ConversionErrorNamesTheText) {
  try {
    (void)StrToInt("12abc");
    FAIL() << "no error";
  } catch (const EConvertError& error) {
    EXPECT_STREQ(error.what(), "'12abc' is not a valid integer value");
  }
  EXPECT_EQ(StrToInt("-15"), -15);
  EXPECT_EQ(StrToIntDef("x", 75), 75);
}

}  // namespace
}  // namespace pagelathe
