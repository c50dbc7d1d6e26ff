// The one-pass functions against models that follow the written rules step by step ("while the
// text holds ..., delete the first ..."), on many random texts built from the pieces that make
// the rules interesting. The models are slow on purpose and only run on short texts.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/Letters.h"
#include "textlib/Dizerezez.h"

namespace pagelathe {
namespace {

std::string RandomText(std::mt19937& random, const std::vector<std::string>& pieces,
                       int max_pieces) {
  std::uniform_int_distribution<int> count(0, max_pieces);
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::string text;
  for (int n = count(random); n > 0; --n)
    text += pieces[pick(random)];
  return text;
}

std::string ReplaceEach(std::string text, const std::string& from, const std::string& to) {
  std::string result;
  std::size_t pos = 0, hit;
  while ((hit = text.find(from, pos)) != std::string::npos) {
    result += text.substr(pos, hit - pos) + to;
    pos = hit + from.size();
  }
  return result + text.substr(pos);
}

std::string DeleteTagModel(std::string s) {
  for (std::size_t open; (open = s.find('<')) != std::string::npos;) {
    const std::size_t close = s.find('>', open);
    s.erase(open, close == std::string::npos ? std::string::npos : close - open + 1);
  }
  return s;
}

std::string CopyTagModel(const std::string& s) {
  std::string tags;
  for (std::size_t open = s.find('<'); open != std::string::npos; open = s.find('<', open)) {
    const std::size_t close = s.find('>', open);
    if (close == std::string::npos) return tags + s.substr(open);
    tags += s.substr(open, close - open + 1);
    open = close + 1;
  }
  return tags;
}

std::string DelDoubBlankModel(std::string s) {
  for (std::size_t pair; (pair = s.find("  ")) != std::string::npos;)
    s.erase(pair, 1);
  return s;
}

std::string ChangeHSymModel(std::string s) {
  for (std::size_t row = 0; row < HSym.size(); ++row)
    s = ReplaceEach(s, std::string(HSym[row]), std::string(TSym[row]));
  return s;
}

std::string ChangeTSymModel(std::string s) {
  for (std::size_t row = 1; row < 4; ++row)
    s = ReplaceEach(s, std::string(TSym[row]), std::string(HSym[row]));
  return ReplaceEach(s, "  ", " &nbsp;");
}

std::string PreparedTagsModel(const std::string& html) {
  std::string s = CopyTagModel(html);
  std::string kept;
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 32 && c != '"') kept += c;
  s = LowerCase(kept);
  for (std::string_view row : Arbits)
    s = ReplaceEach(s, std::string(row), "");
  return s;
}

TextList GetHtmllinkModel(const std::string& html) {
  std::string s = DelDoubBlankModel(PreparedTagsModel(html));
  TextList list;
  const std::string prefix = "<a href=";
  for (std::size_t at; (at = s.find(prefix)) != std::string::npos;) {
    const std::size_t close = s.find('>', at);
    if (close == std::string::npos) break;
    const std::size_t from = at + prefix.size();
    std::string value = s.substr(from, close - from);
    s.erase(at, close - at + 1);
    if (!value.empty() && std::string("@&?\\#+").find(value[0]) != std::string::npos) continue;
    while (!value.empty() && static_cast<unsigned char>(value[0]) <= 32)
      value.erase(0, 1);
    while (!value.empty() && static_cast<unsigned char>(value.back()) <= 32)
      value.pop_back();
    value = value.substr(0, value.find_first_of("# "));
    if (value.rfind("javascript:", 0) == 0 || value.rfind("mailto:", 0) == 0) continue;
    list.push_back(value);
  }
  return list;
}

TextList GetHtmlMailModel(const std::string& html) {
  std::string s = PreparedTagsModel(html);
  std::erase(s, ' ');
  TextList list;
  const std::string prefix = "<ahref=mailto:";
  for (std::size_t at; (at = s.find(prefix)) != std::string::npos;) {
    const std::size_t close = s.find('>', at);
    if (close == std::string::npos) break;
    list.push_back(s.substr(at + prefix.size(), close - at - prefix.size()));
    s.erase(at, close - at + 1);
  }
  return list;
}

// The address walk with positions counted from 1, as written.
TextList StrToMailModel(std::string t) {
  auto is_address = [](char c) {
    return c == '-' || c == '.' || c == '@' || c == '_' || (c >= '0' && c <= '9') ||
           (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  };
  TextList list;
  for (std::size_t at; (at = t.find('@')) != std::string::npos; t.erase(at, 1)) {
    const std::size_t p = at + 1;
    std::size_t i = p == 1 ? 1 : p - 1;
    while (is_address(t[i - 1]) && i > 1)
      --i;
    if (!is_address(t[i - 1])) ++i;
    const std::string piece = t.substr(i - 1, 255);
    const std::size_t piece_at = piece.find('@');
    if (piece_at == std::string::npos) continue;  // the piece ends before the "@"
    std::size_t j = piece_at + 1;
    while (is_address(piece[j - 1]) && j < piece.size())
      ++j;
    if (!is_address(piece[j - 1])) --j;
    const std::string candidate = piece.substr(0, j);
    const std::size_t first_at = candidate.find('@');
    const std::string name = candidate.substr(0, first_at);
    const std::string host = candidate.substr(first_at + 1);
    if (name.empty() || host.empty()) continue;
    if (host.substr(0, host.size() - 1).find('.') == std::string::npos) continue;
    list.push_back(candidate);
  }
  return list;
}

constexpr int kRounds = 3000;

TEST(RuleModels, TagsBlanksAndEntities) {
  std::mt19937 random(20240501);
  const std::vector<std::string> tag_pieces = {"<", ">", "a", " ", "  ", "<b>", "\r\n", "\xE0"};
  const std::vector<std::string> entity_pieces = {
      "&",   "amp;", "lt;", "gt;", "quot;", "nbsp;", "&amp;", "&lt;", "&nbsp;",
      "&gt", ";",    " ",   "  ",  "<",     ">",     "\"",    "x",    "&quot;"};
  for (int round = 0; round < kRounds; ++round) {
    const std::string tags = RandomText(random, tag_pieces, 12);
    ASSERT_EQ(DeleteTag(tags), DeleteTagModel(tags)) << tags;
    ASSERT_EQ(CopyTag(tags), CopyTagModel(tags)) << tags;
    ASSERT_EQ(DelDoubBlank(tags), DelDoubBlankModel(tags)) << tags;
    const std::string entities = RandomText(random, entity_pieces, 10);
    ASSERT_EQ(ChangeHSym(entities), ChangeHSymModel(entities)) << entities;
    ASSERT_EQ(ChangeTSym(entities), ChangeTSymModel(entities)) << entities;
  }
}

TEST(RuleModels, AnchorScans) {
  std::mt19937 random(7);
  const std::vector<std::string> pieces = {"<a href=",
                                           "<A HREF=\"",
                                           "\"",
                                           ">",
                                           "x.html",
                                           "#t",
                                           " ",
                                           "<",
                                           "mailto:",
                                           "a@b.c",
                                           "<a",
                                           " href=",
                                           "target=\"_blank\"",
                                           "\n",
                                           "@",
                                           "?q",
                                           "javascript:",
                                           "'",
                                           "<ahref=mailto:",
                                           "<p>",
                                           "class=top",
                                           "text"};
  for (int round = 0; round < kRounds; ++round) {
    const std::string html = RandomText(random, pieces, 10);
    ASSERT_EQ(GetHtmllink(html), GetHtmllinkModel(html)) << html;
    ASSERT_EQ(GetHtmlMail(html), GetHtmlMailModel(html)) << html;
  }
}

TEST(RuleModels, AddressWalk) {
  std::mt19937 random(99);
  const std::vector<std::string> pieces = {
      "a",     "@", ".", " ", "-", "\xE0", "b.c", "@@", std::string(60, 'n'), std::string(120, 'h'),
      "x@y.z", ","};
  for (int round = 0; round < kRounds; ++round) {
    const std::string text = RandomText(random, pieces, 14);
    ASSERT_EQ(StrToMail(text), StrToMailModel(text)) << text;
  }
}

}  // namespace
}  // namespace pagelathe
