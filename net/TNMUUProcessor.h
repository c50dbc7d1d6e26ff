// Base64 (MIME) and uuencode coding of a stream, both directions. Encoded lines hold up to 45
// source bytes: 60 characters for MIME ("abc" -> "YWJj" CR LF), 61 for uuencode (a count
// character first; "abc" -> "#86)C" CR LF, then the closing "`" CR LF).
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

namespace pagelathe {

enum class UUMethods { uuMime = 0, uuCode = 1 };

class TNMUUProcessor;
using TUUNotifyEvent = std::function<void(TNMUUProcessor& sender)>;

// The Base64 alphabet, the uuencode alphabet (value 0 is "`"), and the decoder's table for
// "+" to "z": the 6-bit value, 64 for "=", 127 outside the alphabet.
extern const char MimeTable[65];
extern const char UUTABLE[65];
extern const unsigned char base64Table[80];

class TNMUUProcessor {
 public:
  UUMethods Method = UUMethods::uuMime;
  // Supplied and owned by the caller.
  std::iostream* SourceStream = nullptr;
  std::iostream* TargetStream = nullptr;
  TUUNotifyEvent OnBeginEncode;
  TUUNotifyEvent OnEndEncode;
  TUUNotifyEvent OnBeginDecode;
  TUUNotifyEvent OnEndDecode;

  // Reads SourceStream from its start and writes the encoded lines to TargetStream, which is
  // then set to its start.
  void Encode();
  // Decodes SourceStream from its current position into TargetStream.
  void Decode();

  // The next line (without its CR LF or LF) and moves the stream past its line feed; the
  // last line may lack one.
  [[nodiscard]] static std::string ReadLnFromStream(std::istream& stream);
  // The 6-bit value of a uuencode character: (code - 32) modulo 64.
  [[nodiscard]] static int UuDEC(char c) { return (static_cast<unsigned char>(c) - 32) & 63; }

 private:
  void Base64Decode();
  void StdDecode();
};

// The Base64 form of a text in one line, without line breaks (for the Basic authorization).
[[nodiscard]] std::string Base64Text(const std::string& bytes);

}  // namespace pagelathe
