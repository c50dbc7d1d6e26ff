// Form data coding.
#include "net/TNMURL.h"

#include "platform/Errors.h"

namespace pagelathe {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool IsAlphaNumeric(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::string TNMURL::URLEncode(const std::string& text) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string result;
  result.reserve(text.size() * 3);
  for (const char c : text) {
    if (c == ' ') {
      result += '+';
    } else if (IsAlphaNumeric(c)) {
      result += c;
    } else {
      const auto byte = static_cast<unsigned char>(c);
      result += '%';
      result += kDigits[byte >> 4];
      result += kDigits[byte & 0x0F];
    }
  }
  return result;
}

std::string TNMURL::URLDecode(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+') {
      result += ' ';
    } else if (c == '%') {
      const std::string digits = text.substr(i + 1, 2);
      const int high = digits.size() == 2 ? HexValue(digits[0]) : -1;
      const int low = digits.size() == 2 ? HexValue(digits[1]) : -1;
      if (high < 0 || low < 0) {
        if (OnError) OnError(*this, "Error during decode", InvalidIntegerMessage("$" + digits));
        return text;
      }
      result += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      result += c;
    }
  }
  return result;
}

}  // namespace pagelathe
