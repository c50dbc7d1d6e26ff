// Web colour codes and the range rule of the colour edits.
#include "tools/colour/WebColor.h"

#include <gtest/gtest.h>

#include "platform/Errors.h"

namespace pagelathe {
namespace {

TEST(WebColorCode, PartsBecomeTwoCapitalHexDigitsEachRedFirst) {
  struct Case {
    RgbColor color;
    const char* code;
  };
  const Case cases[] = {
      {{255, 0, 0}, "#FF0000"},   {{0, 0, 0}, "#000000"},       {{255, 255, 255}, "#FFFFFF"},
      {{10, 11, 171}, "#0A0BAB"}, {{0, 192, 255}, "#00C0FF"},   {{1, 16, 15}, "#01100F"},
      {{0, 0, 1}, "#000001"},     {{154, 205, 238}, "#9ACDEE"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WebColorCode(c.color), c.code)
        << c.color.Red << "," << c.color.Green << "," << c.color.Blue;
    EXPECT_EQ(WebColorCode(c.color.Red, c.color.Green, c.color.Blue), c.code);
  }
}

TEST(WebColorCode, EveryPartValueRoundTripsThroughItsTwoDigits) {
  for (int value = 0; value <= 255; ++value) {
    const std::string code = WebColorCode(value, 255 - value, value);
    ASSERT_EQ(code.size(), 7u);
    EXPECT_EQ(std::stoi(code.substr(1, 2), nullptr, 16), value);
    EXPECT_EQ(std::stoi(code.substr(3, 2), nullptr, 16), 255 - value);
    EXPECT_EQ(code.find_first_of("abcdef"), std::string::npos) << code;
  }
}

TEST(WebColorCode, OutOfRangePartsStillGiveSevenCharacters) {
  EXPECT_EQ(WebColorCode(-1, 256, 1000), "#00FFFF");
}

TEST(ColorPartFromText, RangeRule) {
  struct Case {
    const char* text;
    std::optional<int> value;
  };
  const Case cases[] = {
      {"", std::nullopt},
      {"0", 0},
      {"25", 25},
      {"255", 255},
      {"007", 7},
      {"3", 3},
      {"30", 30},
      {"300", std::nullopt},
      {"256", std::nullopt},
      {"-1", std::nullopt},
      {"-0", 0},
      {"+12", 12},
      {"$FF", 255},
      {"0x10", 16},
      {"$100", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ColorPartFromText(c.text), c.value) << "'" << c.text << "'";
  }
}

TEST(ColorPartFromText, NonIntegersRaiseTheConversionError) {
  for (const char* text : {"-", "abc", "1a", " 5", "5 ", "\xC0", "0x", "$"}) {
    try {
      (void)ColorPartFromText(text);
      ADD_FAILURE() << "no error for '" << text << "'";
    } catch (const EConvertError& error) {
      EXPECT_EQ(std::string(error.what()),
                "'" + std::string(text) + "' is not a valid integer value");
    }
  }
}

}  // namespace
}  // namespace pagelathe
