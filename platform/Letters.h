// Letters of every script: the lengths, letter case and order of the program's UTF-8 texts.
// A length counts characters (code points after NFC); case is Unicode simple case folding, one
// code point at a time ("Σ", "σ" and "ς" are one letter, "ß" is not "ss", "İ" stays itself);
// texts compare after NFC, so a decomposed "café" is the same word as a composed one. The
// character data comes from ICU; plain ASCII takes a path of its own that never calls it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pagelathe {

// The text in Normalization Form C. A byte of no valid UTF-8 sequence becomes U+FFFD.
[[nodiscard]] std::string Nfc(std::string_view text);

// True when `text` is valid UTF-8 in NFC (plain ASCII always is; most texts are told by a
// look at their characters alone).
[[nodiscard]] bool IsNfc(std::string_view text);

// The length in characters: code points after NFC. CharLength("日本語") == 3, and "cafe" with
// a combining acute accent is 4 long.
[[nodiscard]] size_t CharLength(std::string_view text);

// The characters of the text (after NFC), each as its UTF-8 bytes: "Ä日" gives {"Ä", "日"}.
[[nodiscard]] std::vector<std::string> Characters(std::string_view text);

// The text after NFC with every character simple-case-folded: the key under which two texts
// are equal without regard to letter case. FoldCase("ΟΔΟΣ") == FoldCase("οδος") == "οδοσ";
// FoldCase("Straße") == "straße", which is not FoldCase("STRASSE").
[[nodiscard]] std::string FoldCase(std::string_view text);

// True when the two texts are equal without regard to letter case (FoldCase equal).
[[nodiscard]] bool SameText(std::string_view a, std::string_view b);

// Upper and lower case, one code point at a time (simple case mapping, no NFC): the text keeps
// its length in code points. UpperCase("straße ёж") == "STRAßE ЁЖ".
[[nodiscard]] std::string UpperCase(std::string_view text);
[[nodiscard]] std::string LowerCase(std::string_view text);
[[nodiscard]] char32_t UpperChar(char32_t code_point);

// ASCII letters only; every other byte stays (for protocol names, extensions, header fields).
[[nodiscard]] constexpr char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
[[nodiscard]] std::string AsciiLowerCase(std::string_view text);
// Equal without regard to the case of ASCII letters; the start of `text` equal so to `prefix`.
[[nodiscard]] constexpr bool SameAsciiText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}
[[nodiscard]] constexpr bool StartsWithAsciiText(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameAsciiText(text.substr(0, prefix.size()), prefix);
}
[[nodiscard]] std::string AsciiUpperCase(std::string_view text);

// The order of every list sorted without regard to letter case, the same on every machine:
// the texts after NFC and folding, character by character, first every character that is
// neither letter nor digit (by code point), then the digits (by value, then code point), then
// the letters (by base letter, the first character of the canonical decomposition, then the
// letter itself); a text that is the start of the other comes first. So "ä" comes right after
// "a", "ё" right after "е", and Latin before Greek before Cyrillic before CJK.
// Negative, zero or positive; "Apple" and "apple" compare equal.
[[nodiscard]] int CompareText(std::string_view a, std::string_view b);

struct TextLess {
  bool operator()(std::string_view a, std::string_view b) const { return CompareText(a, b) < 0; }
};

// A key whose byte order (memcmp, a shorter key first) is the order of CompareText: made
// once per text, it turns the comparisons of a sort into plain byte comparisons. An ASCII
// text's key has one byte per character.
[[nodiscard]] std::string SortKey(std::string_view text);

// Stable sorts in that order: texts equal in it keep the order they had. The second takes
// bytes of documents or file names and orders them as they are shown, decoded by the rule of
// platform/Utf8.h (valid UTF-8, else Windows-1251), leaving the bytes themselves alone.
void SortTexts(std::vector<std::string>& texts);
void SortShownBytes(std::vector<std::string>& texts);

}  // namespace pagelathe
