// Form data coding for HTTP: URLEncode turns every byte but letters and digits into "%XX"
// (a blank into "+"); URLDecode reverses it.
#pragma once

#include <functional>
#include <string>

namespace pagelathe {

class TNMURL;
using TURLErrorEvent =
    std::function<void(TNMURL& sender, const std::string& operation, const std::string& errmsg)>;

class TNMURL {
 public:
  std::string InputString;
  TURLErrorEvent OnError;

  // "a b&c=d" -> "a+b%26c%3Dd".
  [[nodiscard]] std::string URLEncode(const std::string& text);
  // "a+b%26c%3Dd" -> "a b&c=d". A "%" without two hexadecimal digits after it calls OnError
  // with "Error during decode" and gives the input back unchanged.
  [[nodiscard]] std::string URLDecode(const std::string& text);
  [[nodiscard]] std::string GetEncodeString() { return URLEncode(InputString); }
  [[nodiscard]] std::string GetDecodeString() { return URLDecode(InputString); }
};

}  // namespace pagelathe
