// The URL coder, the Base64 and uuencode coders, and the name-value list.
#include <gtest/gtest.h>
#include <sstream>

#include "net/TExStringList.h"
#include "net/TNMURL.h"
#include "net/TNMUUProcessor.h"
#include "platform/Letters.h"

namespace pagelathe {
namespace {

TEST(TNMURL, EncodesAndDecodes) {
  struct Case {
    std::string plain;
    std::string encoded;
  };
  const Case cases[] = {
      {"a b&c=d", "a+b%26c%3Dd"},
      {"", ""},
      {"AZaz09", "AZaz09"},
      {"\xE9-_.~", "%E9%2D%5F%2E%7E"},
      {std::string("\0\xFF", 2), "%00%FF"},
      {"100%", "100%25"},
  };
  TNMURL url;
  for (const Case& c : cases) {
    EXPECT_EQ(url.URLEncode(c.plain), c.encoded);
    EXPECT_EQ(url.URLDecode(c.encoded), c.plain);
  }
  url.InputString = "x y";
  EXPECT_EQ(url.GetEncodeString(), "x+y");
  EXPECT_EQ(url.GetDecodeString(), "x y");
  // Lower-case hexadecimal digits decode too.
  EXPECT_EQ(url.URLDecode("%e9%3d"), "\xE9=");
}

TEST(TNMURL, BadEscapeReportsAndGivesTheInputBack) {
  const std::string cases[] = {"100%", "%zz", "a%4", "%", "ok+%g0"};
  for (const std::string& input : cases) {
    TNMURL url;
    std::string operation;
    int calls = 0;
    url.OnError = [&](TNMURL&, const std::string& op, const std::string& message) {
      operation = op;
      ++calls;
      EXPECT_FALSE(message.empty());
    };
    EXPECT_EQ(url.URLDecode(input), input);
    EXPECT_EQ(calls, 1) << input;
    EXPECT_EQ(operation, "Error during decode");
  }
  TNMURL silent;  // without a handler the input still comes back
  EXPECT_EQ(silent.URLDecode("%zz"), "%zz");
}

std::string EncodeWith(UUMethods method, const std::string& bytes) {
  std::stringstream source(bytes);
  std::stringstream target;
  TNMUUProcessor coder;
  coder.Method = method;
  coder.SourceStream = &source;
  coder.TargetStream = &target;
  coder.Encode();
  return target.str();
}

std::string DecodeWith(UUMethods method, const std::string& text) {
  std::stringstream source(text);
  std::stringstream target;
  TNMUUProcessor coder;
  coder.Method = method;
  coder.SourceStream = &source;
  coder.TargetStream = &target;
  coder.Decode();
  return target.str();
}

TEST(TNMUUProcessor, EncodesLinesOfFortyFiveBytes) {
  struct Case {
    UUMethods method;
    std::string bytes;
    std::string expected;
  };
  const Case cases[] = {
      {UUMethods::uuMime, "abc", "YWJj\r\n"},       {UUMethods::uuMime, "ab", "YWI=\r\n"},
      {UUMethods::uuMime, "a", "YQ==\r\n"},         {UUMethods::uuMime, "", ""},
      {UUMethods::uuCode, "abc", "#86)C\r\n`\r\n"}, {UUMethods::uuCode, "", "`\r\n"},
      {UUMethods::uuCode, "a", "!80\r\n`\r\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(EncodeWith(c.method, c.bytes), c.expected) << c.bytes;
  std::string sixty;
  for (int i = 0; i < 15; ++i)
    sixty += "eHh4";
  EXPECT_EQ(EncodeWith(UUMethods::uuMime, std::string(45, 'x')), sixty + "\r\n");
  const std::string two_lines = EncodeWith(UUMethods::uuMime, std::string(46, 'x'));
  const size_t first_end = two_lines.find("\r\n");
  EXPECT_EQ(first_end, 60U);
  EXPECT_EQ(two_lines.substr(first_end + 2), "eA==\r\n");
}

TEST(TNMUUProcessor, RoundTripsEveryByteValue) {
  std::string bytes;
  for (int round = 0; round < 3; ++round) {
    for (int b = 0; b < 256; ++b)
      bytes += static_cast<char>(b);
  }
  for (size_t length : {0UL, 1UL, 2UL, 3UL, 44UL, 45UL, 46UL, 90UL, bytes.size()}) {
    const std::string part = bytes.substr(0, length);
    for (UUMethods method : {UUMethods::uuMime, UUMethods::uuCode}) {
      EXPECT_EQ(DecodeWith(method, EncodeWith(method, part)), part)
          << length << " " << static_cast<int>(method);
    }
  }
}

TEST(TNMUUProcessor, Base64DecoderRules) {
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"YWJj\r\n", "abc"},
      {"YWJj\n", "abc"},                // LF-only lines
      {"YWJj", "abc"},                  // a last line without a line feed
      {"  YWJj\r\n", "abc"},            // passed over at the start of a line
      {"=YWJj\r\n", ""},                // "=" at the start of a line ends the data
      {"ab\r\nYWJj\r\n", "abc"},        // lines of 2 characters or fewer are skipped
      {"====YWJj\r\nYWJj\r\n", "abc"},  // and lines that start with "===="
      {"YW Jj\r\n", "abc"},             // single characters between groups
      {"YQ==YWJj\r\n", "a"},            // "=" ends the data
      {"YWI=\r\nYWJj\r\n", "ab"},
      {"YWJjZA\r\n", "abc"},  // an unfinished last group is dropped
      {"YWJj\r\nZGVm\r\n", "abcdef"},
      {"\x80\xFF"
       "YWJj\r\n",
       "abc"},  // bytes outside the table
  };
  for (const Case& c : cases)
    EXPECT_EQ(DecodeWith(UUMethods::uuMime, c.text), c.expected) << c.text;
}

TEST(TNMUUProcessor, UudecodeRules) {
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"#86)C\r\n`\r\n", "abc"},
      {"#86)C\n`\n", "abc"},
      {"`  \r\n#86)C\r\n#86)C\r\n", "abc"},  // a count of 0 skips the line after it
      {"#8\r\n", ""},                        // too short to hold anything
      {"#86\r\n", std::string("a`\0", 3)},   // missing characters count as 0
  };
  for (const Case& c : cases)
    EXPECT_EQ(DecodeWith(UUMethods::uuCode, c.text), c.expected) << c.text;
  EXPECT_EQ(TNMUUProcessor::UuDEC('`'), 0);
  EXPECT_EQ(TNMUUProcessor::UuDEC(' '), 0);
  EXPECT_EQ(TNMUUProcessor::UuDEC('!'), 1);
  EXPECT_EQ(TNMUUProcessor::UuDEC('_'), 63);
}

TEST(TNMUUProcessor, EventsAndTargetAtItsStart) {
  std::stringstream source("abc");
  std::stringstream target;
  TNMUUProcessor coder;
  coder.SourceStream = &source;
  coder.TargetStream = &target;
  std::string order;
  coder.OnBeginEncode = [&](TNMUUProcessor&) { order += "B"; };
  coder.OnEndEncode = [&](TNMUUProcessor&) { order += "E"; };
  coder.OnBeginDecode = [&](TNMUUProcessor&) { order += "b"; };
  coder.OnEndDecode = [&](TNMUUProcessor&) { order += "e"; };
  coder.Encode();
  std::string line;
  std::getline(target, line);
  EXPECT_EQ(line, "YWJj\r");  // readable from its start at once
  coder.Decode();
  EXPECT_EQ(order, "BEbe");
  EXPECT_EQ(Base64Text(std::string(60, 'u')).find('\n'), std::string::npos);
  EXPECT_EQ(Base64Text(std::string(60, 'u')).size(), 80U);
}

TEST(TExStringList, NameValueLines) {
  TExStringList list;
  EXPECT_EQ(list.IndexOfName("Host"), -1);
  list.SetValue("Host", "x");
  EXPECT_EQ(list.Strings, TextList{"Host: x"});
  list.SetValue("HOST", "y");
  EXPECT_EQ(list.Strings, TextList{"HOST: y"});
  EXPECT_EQ(list.GetValue("host"), "y");
  list.Add("Accept: */*");
  list.Add("no colon here");
  list.SetValue("Cookie", "a=b; path=/");
  EXPECT_EQ(list.IndexOfName("Cookie"), 3);
  EXPECT_EQ(list.GetValue("cookie"), "a=b; path=/");
  EXPECT_EQ(list.IndexOfName("no colon here"), -1);
  EXPECT_EQ(list.GetValue("Missing"), "");
  list.SetValue("Host", "");
  EXPECT_EQ(list.IndexOfName("Host"), -1);
  EXPECT_EQ(list.Count(), 3);
  list.SetValue("Absent", "");  // deleting what is not there changes nothing
  EXPECT_EQ(list.Count(), 3);
  // Only one blank after the colon is dropped; a value without one keeps its first byte.
  list.Strings = {"A:  two", "B:x", "\xC8\xEC\xFF: \xE7"};
  EXPECT_EQ(list.GetValue("a"), " two");
  EXPECT_EQ(list.GetValue("b"), "x");
  EXPECT_EQ(list.GetValue("\xE8\xCC\xDF"), "\xE7");  // Cyrillic names match in any case
}

TEST(TExStringList, SortedListSearchesByHalving) {
  TExStringList list;
  list.Sorted = true;
  const char* names[] = {"Zeta", "alpha", "Mid", "beta", "Omega", "gamma", "Delta"};
  for (const char* name : names)
    list.SetValue(name, std::string("v") + name);
  ASSERT_EQ(list.Count(), 7);
  for (size_t i = 1; i < list.Strings.size(); ++i) {
    EXPECT_LE(CompareText(list.Strings[i - 1], list.Strings[i]), 0);
  }
  for (const char* name : names) {
    const int index = list.IndexOfName(name);
    ASSERT_GE(index, 0) << name;
    EXPECT_EQ(list.GetValue(name), std::string("v") + name);
  }
  EXPECT_EQ(list.IndexOfName("epsilon"), -1);
  list.SetValue("MID", "changed");
  EXPECT_EQ(list.GetValue("mid"), "changed");
  EXPECT_EQ(list.Count(), 7);
}

}  // namespace
}  // namespace pagelathe
