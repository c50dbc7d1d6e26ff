// The free text functions of the program: clean-up of texts and lists (tags, blanks, control
// characters, entities, keyboard layouts) and the link and e-mail helpers built on them.
// Texts are UTF-8 and positions count characters; every function returns a new text and leaves its
// argument alone, except the list functions that are documented to change their list in place.
// Every function is linear in the length of its input.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/TextList.h"

namespace pagelathe {

// ---- Constant tables ----------------------------------------------------------------------

// The ten digits that ToLetInteger accepts.
inline constexpr std::string_view LetInteger = "0123456789";

// The 32 control codes 0 to 31, in code order.
inline constexpr std::string_view Spam{
    "\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F"
    "\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1A\x1B\x1C\x1D\x1E\x1F",
    32};

// The keys of the Latin and of the Cyrillic layout, paired by position: 33 keys without Shift,
// then the same 33 keys with Shift ("q" and "й", "[" and "х", "\"" and "Э", ">" and "Ю").
inline constexpr std::string_view EngLet =
    "`qwertyuiop[]asdfghjkl;'zxcvbnm,.~QWERTYUIOP{}ASDFGHJKL:\"ZXCVBNM<>";
inline constexpr std::string_view RusLet =
    "ёйцукенгшщзхъфывапролджэячсмитьбю"
    "ЁЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮ";

// HTML entities and the characters they stand for, paired by position. ChangeHSym decodes them
// in this order, so "&amp;" is decoded before "&lt;".
inline constexpr std::array<std::string_view, 5> HSym = {"&nbsp;", "&amp;", "&lt;", "&gt;",
                                                         "&quot;"};
inline constexpr std::array<std::string_view, 5> TSym = {" ", "&", "<", ">", "\""};

// Two-letter country zones in upper case and alphabetical order, and the Russian name
// of each zone in the same row.
inline constexpr std::size_t kZoneCount = 241;
extern const std::array<std::string_view, kZoneCount> zone;
extern const std::array<std::string_view, kZoneCount> state;

// Generic top-level domains, upper case.
extern const std::array<std::string_view, 14> Domain;

// Attribute texts cut out of tags before anchors are read, in the order they are cut.
extern const std::array<std::string_view, 20> Arbits;

// ---- Clean-up of texts --------------------------------------------------------------------

// Deletes every tag: from a "<" through the first ">" after it. Text between tags stays as it
// is, so words on both sides of a tag join: DeleteTag("a<b>b</b>c") == "abc". A ">" with no "<"
// before it stays; a "<" that no ">" follows is deleted with everything after it.
[[nodiscard]] std::string DeleteTag(const std::string& text);

// Reduces every run of blanks (code 32) to one blank; tabs and line breaks are not blanks.
[[nodiscard]] std::string DelDoubBlank(const std::string& text);

// Deletes every blank.
[[nodiscard]] std::string DeleteBlank(const std::string& text);

// Delete every control character (codes 0 to 31, line breaks and tabs included). The two give
// the same result; DeleteSpamA is the table-driven variant.
[[nodiscard]] std::string DeleteSpam(const std::string& text);
[[nodiscard]] std::string DeleteSpamA(const std::string& text);

// Upper-cases the first character and every character that follows a blank:
// LargeStr("hello  world") == "Hello  World".
[[nodiscard]] std::string LargeStr(const std::string& text);

// The text with its n-th character (counted from 1) upper-cased, Cyrillic letters too; an
// empty text or a position outside 1..length gives an empty text.
[[nodiscard]] std::string LargeLtterStr(const std::string& text, int n);

// The first letter of each word, upper-cased: AbbrevStr(" portable network graphics") == "PNG".
[[nodiscard]] std::string AbbrevStr(const std::string& text);

// The text reversed, character by character.
[[nodiscard]] std::string SrtTotrS(const std::string& text);

// Retype a text in the other keyboard layout: EngToRus("ghbdtn") == "привет"; characters of
// neither layout stay.
[[nodiscard]] std::string EngToRus(const std::string& text);
[[nodiscard]] std::string RusToEng(const std::string& text);

// The tags of the text, each from "<" through the first ">" after it, joined with nothing
// between them. A "<" that no ">" follows is copied with everything after it.
[[nodiscard]] std::string CopyTag(const std::string& text);

// Decodes the five entities of HSym, one after the other over the whole text:
// ChangeHSym("&amp;lt;") == "<".
[[nodiscard]] std::string ChangeHSym(const std::string& text);

// Escapes "&", "<" and ">" and writes each pair of blanks as " &nbsp;"; double quotes stay.
[[nodiscard]] std::string ChangeTSym(const std::string& text);

// True when every character is a digit 0-9; an empty text gives true.
[[nodiscard]] bool ToLetInteger(const std::string& text);

// Likeness of two texts in percent: the count of positions where both hold the same character,
// times (100 / length of a) in integer arithmetic. Two equal texts of three characters give
// 99. An empty `a` gives 0.
[[nodiscard]] int SimStrPro(const std::string& a, const std::string& b);

// ---- Clean-up of lists --------------------------------------------------------------------

// Deletes the blanks of every line; changes the list and returns it.
TextList& DelBlankStrings(TextList& list);

// Deletes every line that is empty or holds only blanks; changes the list and returns it.
TextList& DelEmpStrings(TextList& list);

// Keeps the first of equal lines (exact, case-sensitive) in their order; changes the list and
// returns it.
TextList& DeleteCopy(TextList& list);

// Deletes from `list` every line that equals a line of `mask`, then returns a copy of what is
// left. `list` is changed too.
[[nodiscard]] TextList DelCopyMask(TextList& list, const TextList& mask);

// ---- Links and e-mail addresses -----------------------------------------------------------

// The targets of the anchors of an HTML text, in lower case and in order, duplicates included.
// Targets beginning with "javascript:" or "mailto:" and those beginning with "@", "&", "?",
// "\", "#" or "+" are skipped; a target is cut before its first "#" or blank.
[[nodiscard]] TextList GetHtmllink(const std::string& html);

// The targets of the "mailto:" anchors of an HTML text, query tails included.
[[nodiscard]] TextList GetHtmlMail(const std::string& html);

// The e-mail addresses of any text, in order; an address followed by a full stop keeps it.
[[nodiscard]] TextList StrToMail(const std::string& text);

// The link without a leading "http://" (exact, lower case only).
[[nodiscard]] std::string DelHttp(const std::string& link);

// The server part of a link, or "0" when a link without "http://" or "www." has fewer than two
// dots before its first "/". An empty link gives an empty text.
[[nodiscard]] std::string CopyServer(const std::string& link);

// 0 when both links name the same server, 1 when not, 3 when `a` begins with "/".
[[nodiscard]] int CompareLink(const std::string& a, const std::string& b);

// The file extension of a link without its dot, or "0" when it has none or the extension is a
// country zone or generic domain: GetExtLink("page.HTML?x=1") == "HTML".
[[nodiscard]] std::string GetExtLink(const std::string& link);

// The country zone of an "http://" link's server ("DE"), or "0".
[[nodiscard]] std::string GetZone(const std::string& link);

// The Russian name of a country zone in any letter case, or "0".
[[nodiscard]] std::string ZoneToState(const std::string& zone_name);

// The folder part of a link, ending in "/": "http://example.com/a/b.html" gives
// "http://example.com/a/", and a link naming only a server gives the server and "/".
[[nodiscard]] std::string ExtractPath(const std::string& link);

// Resolves a link found on the page `base`: "../c.html" against "http://example.com/a/b.html"
// gives "http://example.com/c.html". Absolute links and links naming a server are returned as
// they are.
[[nodiscard]] std::string ConcatLink(const std::string& base, const std::string& link);

}  // namespace pagelathe
