// The character data of the letter rules, from ICU, with a cache per code point of the basic
// plane so that a text's characters cost a table look-up each after the first time.
#include "platform/Letters.h"

#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <stdexcept>

#include "platform/Utf8.h"
#include "platform/Win1251.h"

namespace pagelathe {
namespace {

// What the rules need to know of one code point, packed into 64 bits:
//   bit 63      filled in (the cache starts as zeros)
//   bit 62      NFC-safe: a text of such characters is in NFC as it stands (quick check
//               "yes" and canonical combining class 0)
//   bits 60-61  kind of the folded character: 0 neither letter nor digit, 1 digit, 2 letter
//   bits 21-41  primary: the folded character (kind 0), the digit's value, the base letter
//   bits 0-20   the character folded with simple case folding
constexpr uint64_t kFilled = uint64_t{1} << 63;
constexpr uint64_t kNfcSafe = uint64_t{1} << 62;
constexpr uint32_t kMask21 = (1u << 21) - 1;

enum Kind : unsigned { kOther = 0, kDigit = 1, kLetter = 2 };

struct Props {
  bool nfc_safe;
  unsigned kind;
  char32_t primary;
  char32_t folded;
};

Props Unpack(uint64_t bits) {
  return {(bits & kNfcSafe) != 0, static_cast<unsigned>((bits >> 60) & 3),
          static_cast<char32_t>((bits >> 21) & kMask21), static_cast<char32_t>(bits & kMask21)};
}

const UNormalizer2* Nfd() {
  static const UNormalizer2* const nfd = [] {
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* n = unorm2_getNFDInstance(&status);
    if (U_FAILURE(status)) throw std::runtime_error("The Unicode data cannot be loaded.");
    return n;
  }();
  return nfd;
}

const icu::Normalizer2& NfcNormalizer() {
  static const icu::Normalizer2* const nfc = [] {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* n = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) throw std::runtime_error("The Unicode data cannot be loaded.");
    return n;
  }();
  return *nfc;
}

uint64_t Compute(char32_t c) {
  const auto code = static_cast<UChar32>(c);
  const auto folded = static_cast<UChar32>(u_foldCase(code, U_FOLD_CASE_DEFAULT));
  const bool safe = u_getIntPropertyValue(code, UCHAR_NFC_QUICK_CHECK) == UNORM_YES &&
                    u_getCombiningClass(code) == 0;
  unsigned kind = kOther;
  UChar32 primary = folded;
  if (u_isdigit(folded)) {
    kind = kDigit;
    primary = std::max(0, u_charDigitValue(folded));
  } else if (u_isalpha(folded)) {
    kind = kLetter;
    std::array<UChar, 32> decomposition{};
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = unorm2_getDecomposition(
        Nfd(), folded, decomposition.data(), static_cast<int32_t>(decomposition.size()), &status);
    if (U_SUCCESS(status) && length > 0) {
      UChar32 base = 0;
      U16_GET(decomposition.data(), 0, 0, length, base);
      // Folded as the letters are: "İ", which folding keeps, has "I" as its base and comes
      // right after "i", the letter its base stands for.
      primary = static_cast<UChar32>(u_foldCase(base, U_FOLD_CASE_DEFAULT));
    }
  }
  return kFilled | (safe ? kNfcSafe : 0) | (uint64_t{kind} << 60) |
         (uint64_t{static_cast<uint32_t>(primary) & kMask21} << 21) |
         (static_cast<uint32_t>(folded) & kMask21);
}

// Filled lazily; two threads that fill one entry at once write the same value.
std::array<std::atomic<uint64_t>, 0x10000> g_basic_plane{};

Props PropsOf(char32_t c) {
  if (c == kInvalidCodePoint) c = 0xFFFD;
  if (c < 0x10000) {
    std::atomic<uint64_t>& entry = g_basic_plane[c];
    uint64_t bits = entry.load(std::memory_order_relaxed);
    if (bits == 0) {
      bits = Compute(c);
      entry.store(bits, std::memory_order_relaxed);
    }
    return Unpack(bits);
  }
  return Unpack(Compute(c));
}

// ASCII without ICU: the fold, and the one-byte sort key of each byte. The 66 bytes that are
// neither letter nor digit take 0x01-0x42 by code; digits 0x44 + 2 × value; letters 0x58 +
// 2 × (letter - 'a'). The odd bytes between lead the keys of other characters of the same
// class (a digit of another script, a letter with a mark), so that they fall in between.
constexpr unsigned char kOtherEscape = 0x43;
constexpr unsigned char kDigitKey = 0x44;
constexpr unsigned char kLetterKey = 0x58;
constexpr unsigned char kOtherBaseKey = 0x8C;  // letters whose base is not an ASCII letter

struct AsciiTables {
  std::array<unsigned char, 128> lower{};
  std::array<unsigned char, 128> key{};
  constexpr AsciiTables() {
    unsigned char next = 1;
    for (int c = 0; c < 128; ++c) {
      lower[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
      const int f = lower[c];
      if (f >= '0' && f <= '9') {
        key[c] = static_cast<unsigned char>(kDigitKey + 2 * (f - '0'));
      } else if (f >= 'a' && f <= 'z') {
        key[c] = static_cast<unsigned char>(kLetterKey + 2 * (f - 'a'));
      } else {
        key[c] = next++;
      }
    }
  }
};
constexpr AsciiTables kAscii;

void AppendThree(std::string& key, char32_t value) {
  key += static_cast<char>((value >> 16) & 0xFF);
  key += static_cast<char>((value >> 8) & 0xFF);
  key += static_cast<char>(value & 0xFF);
}

// The key bytes of one (not ASCII) character.
void AppendKey(std::string& key, char32_t c) {
  const Props p = PropsOf(c);
  if (p.folded < 0x80) {  // "K" (Kelvin) folds to "k", "ſ" to "s"
    key += static_cast<char>(kAscii.key[p.folded]);
    return;
  }
  switch (p.kind) {
    case kDigit:
      key += static_cast<char>(kDigitKey + 2 * static_cast<int>(p.primary) + 1);
      AppendThree(key, p.folded);
      return;
    case kLetter:
      if (p.primary >= 'a' && p.primary <= 'z') {
        key += static_cast<char>(kLetterKey + 2 * static_cast<int>(p.primary - 'a') + 1);
        AppendThree(key, p.folded);
      } else {
        key += static_cast<char>(kOtherBaseKey);
        AppendThree(key, p.primary);
        AppendThree(key, p.folded);
      }
      return;
    default:
      key += static_cast<char>(kOtherEscape);
      AppendThree(key, p.folded);
  }
}

// True when every character is NFC-safe by the cache (a text of such characters is in NFC).
bool LooksNfc(std::string_view text) {
  return EveryNonAsciiCharacter(text, [](char32_t c) { return PropsOf(c).nfc_safe; });
}

// Valid UTF-8: a byte of no valid sequence becomes U+FFFD.
std::string Repaired(std::string_view text) {
  std::string repaired;
  repaired.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    const char32_t c = NextCodePoint(text, at);
    AppendUtf8(repaired, c == kInvalidCodePoint ? 0xFFFD : c);
  }
  return repaired;
}

// The start of the first character at which the two texts' plain-ASCII walk cannot go on,
// backed up by one so that a mark there may still join the letter before it.
size_t AsciiPrefix(std::string_view a, std::string_view b, bool& differs, int& order) {
  const size_t n = std::min(a.size(), b.size());
  size_t i = 0;
  differs = false;
  for (; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if ((ca | cb) >= 0x80) break;
    if (kAscii.key[ca] != kAscii.key[cb]) {
      differs = true;
      order = kAscii.key[ca] < kAscii.key[cb] ? -1 : 1;
      return i;
    }
  }
  return i;
}

template <typename Map>
std::string MapCodePoints(std::string_view text, Map map) {
  std::string result;
  result.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80) {
      result += static_cast<char>(map(char32_t{byte}));
      ++at;
      continue;
    }
    const size_t start = at;
    const char32_t c = NextCodePoint(text, at);
    if (c == kInvalidCodePoint) {
      result += text[start];  // kept as it was
    } else {
      AppendUtf8(result, map(c));
    }
  }
  return result;
}

}  // namespace

std::string Nfc(std::string_view text) {
  if (LooksNfc(text)) return std::string(text);
  const std::string valid = IsValidUtf8(text) ? std::string(text) : Repaired(text);
  std::string result;
  icu::StringByteSink<std::string> sink(&result, static_cast<int32_t>(valid.size()));
  UErrorCode status = U_ZERO_ERROR;
  NfcNormalizer().normalizeUTF8(
      0, icu::StringPiece(valid.data(), static_cast<int32_t>(valid.size())), sink, nullptr, status);
  if (U_FAILURE(status)) return valid;
  return result;
}

bool IsNfc(std::string_view text) {
  if (LooksNfc(text)) return true;
  if (!IsValidUtf8(text)) return false;
  UErrorCode status = U_ZERO_ERROR;
  const bool normal = NfcNormalizer().isNormalizedUTF8(
      icu::StringPiece(text.data(), static_cast<int32_t>(text.size())), status);
  return U_SUCCESS(status) && normal;
}

size_t CharLength(std::string_view text) {
  if (IsAscii(text)) return text.size();
  if (LooksNfc(text)) return CodePointCount(text);
  return CodePointCount(Nfc(text));
}

std::vector<std::string> Characters(std::string_view text) {
  const std::string normal = Nfc(text);
  std::vector<std::string> characters;
  size_t at = 0;
  while (at < normal.size()) {
    const size_t start = at;
    (void)NextCodePoint(normal, at);
    characters.emplace_back(normal.substr(start, at - start));
  }
  return characters;
}

std::string FoldCase(std::string_view text) {
  if (IsAscii(text)) {
    std::string folded(text);
    for (char& c : folded)
      c = static_cast<char>(kAscii.lower[static_cast<unsigned char>(c)]);
    return folded;
  }
  const std::string normal = Nfc(text);
  return MapCodePoints(
      normal, [](char32_t c) { return c < 0x80 ? char32_t{kAscii.lower[c]} : PropsOf(c).folded; });
}

bool SameText(std::string_view a, std::string_view b) {
  bool differs = false;
  int order = 0;
  size_t i = AsciiPrefix(a, b, differs, order);
  if (differs) return false;
  if (i == a.size() && i == b.size()) return true;
  if (i > 0) --i;
  return FoldCase(a.substr(i)) == FoldCase(b.substr(i));
}

std::string UpperCase(std::string_view text) {
  return MapCodePoints(text, [](char32_t c) { return UpperChar(c); });
}

std::string LowerCase(std::string_view text) {
  return MapCodePoints(text, [](char32_t c) {
    return c < 0x80 ? char32_t{kAscii.lower[c]}
                    : static_cast<char32_t>(u_tolower(static_cast<UChar32>(c)));
  });
}

char32_t UpperChar(char32_t c) {
  if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
  return static_cast<char32_t>(u_toupper(static_cast<UChar32>(c)));
}

std::string AsciiLowerCase(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    c = AsciiLower(c);
  return result;
}

std::string AsciiUpperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return result;
}

std::string SortKey(std::string_view text) {
  std::string key;
  key.reserve(text.size());
  if (IsAscii(text)) {
    for (const char c : text)
      key += static_cast<char>(kAscii.key[static_cast<unsigned char>(c)]);
    return key;
  }
  std::string normal;
  if (!LooksNfc(text)) {
    normal = Nfc(text);
    text = normal;
  }
  size_t at = 0;
  while (at < text.size()) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80) {
      key += static_cast<char>(kAscii.key[byte]);
      ++at;
      continue;
    }
    AppendKey(key, NextCodePoint(text, at));
  }
  return key;
}

int CompareText(std::string_view a, std::string_view b) {
  bool differs = false;
  int order = 0;
  size_t i = AsciiPrefix(a, b, differs, order);
  if (differs) return order;
  if (i == a.size() || i == b.size()) {
    if (i == a.size() && i == b.size()) return 0;
    // One text ended within the plain part; the other goes on, and a mark that follows
    // could still join the last letter, so only a plain continuation is decided here.
    const std::string_view longer = i == a.size() ? b : a;
    if (static_cast<unsigned char>(longer[i]) < 0x80) return i == a.size() ? -1 : 1;
  }
  if (i > 0) --i;
  const std::string ka = SortKey(a.substr(i));
  const std::string kb = SortKey(b.substr(i));
  const int c = ka.compare(kb);
  return (c > 0) - (c < 0);
}

namespace {

template <typename KeyOf>
void StableSortByKey(std::vector<std::string>& texts, KeyOf key_of) {
  std::vector<std::pair<std::string, uint32_t>> keys(texts.size());
  for (size_t i = 0; i < texts.size(); ++i)
    keys[i] = {key_of(texts[i]), static_cast<uint32_t>(i)};
  std::sort(keys.begin(), keys.end());  // equal keys keep their order through the index
  std::vector<std::string> sorted;
  sorted.reserve(texts.size());
  for (const auto& key : keys)
    sorted.push_back(std::move(texts[key.second]));
  texts = std::move(sorted);
}

}  // namespace

void SortTexts(std::vector<std::string>& texts) {
  StableSortByKey(texts, [](const std::string& text) { return SortKey(text); });
}

void SortShownBytes(std::vector<std::string>& texts) {
  StableSortByKey(texts, [](const std::string& bytes) {
    return IsValidUtf8(bytes) ? SortKey(bytes) : SortKey(Win1251ToUtf8(bytes));
  });
}

}  // namespace pagelathe
