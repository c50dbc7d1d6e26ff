// Base64 and uuencode coders.
#include "net/TNMUUProcessor.h"

#include <iostream>
#include <sstream>

namespace pagelathe {

const char MimeTable[65] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const char UUTABLE[65] = "`!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_";

// Index: character - '+'.
const unsigned char base64Table[80] = {
    62,  127, 127, 127, 63,                         // + , - . /
    52,  53,  54,  55,  56,  57,  58,  59, 60, 61,  // 0-9
    127, 127, 127, 64,  127, 127, 127,              // : ; < = > ? @
    0,   1,   2,   3,   4,   5,   6,   7,  8,  9,  10, 11, 12,
    13,  14,  15,  16,  17,  18,  19,  20, 21, 22, 23, 24, 25,  // A-Z
    127, 127, 127, 127, 127, 127,                               // [ \ ] ^ _ `
    26,  27,  28,  29,  30,  31,  32,  33, 34, 35, 36, 37, 38,
    39,  40,  41,  42,  43,  44,  45,  46, 47, 48, 49, 50, 51,  // a-z
};

namespace {

// The decoder's value of a character: 0-63, 64 for "=", 127 for anything else.
int Base64Value(char c) {
  if (c < '+' || c > 'z') return 127;
  return base64Table[c - '+'];
}

bool AtEnd(std::istream& stream) {
  return stream.peek() == std::char_traits<char>::eof();
}

}  // namespace

std::string TNMUUProcessor::ReadLnFromStream(std::istream& stream) {
  std::string line;
  std::getline(stream, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (stream.eof()) stream.clear(std::ios::eofbit);
  return line;
}

void TNMUUProcessor::Encode() {
  std::iostream& source = *SourceStream;
  std::iostream& target = *TargetStream;
  source.clear();
  source.seekg(0);
  if (OnBeginEncode) OnBeginEncode(*this);
  const bool mime = Method == UUMethods::uuMime;
  const char* alphabet = mime ? MimeTable : UUTABLE;
  try {
    char block[45];
    std::string line;
    for (;;) {
      source.read(block, sizeof block);
      const auto count = static_cast<size_t>(source.gcount());
      if (count == 0) break;
      line.clear();
      if (!mime) line += alphabet[count];
      size_t i = 0;
      for (; i + 3 <= count; i += 3) {
        const auto b1 = static_cast<unsigned char>(block[i]);
        const auto b2 = static_cast<unsigned char>(block[i + 1]);
        const auto b3 = static_cast<unsigned char>(block[i + 2]);
        line += alphabet[b1 >> 2];
        line += alphabet[((b1 & 3) << 4) | (b2 >> 4)];
        line += alphabet[((b2 & 15) << 2) | (b3 >> 6)];
        line += alphabet[b3 & 63];
      }
      if (count - i == 1) {
        const auto b1 = static_cast<unsigned char>(block[i]);
        line += alphabet[b1 >> 2];
        line += alphabet[(b1 & 3) << 4];
        if (mime) line += "==";
      } else if (count - i == 2) {
        const auto b1 = static_cast<unsigned char>(block[i]);
        const auto b2 = static_cast<unsigned char>(block[i + 1]);
        line += alphabet[b1 >> 2];
        line += alphabet[((b1 & 3) << 4) | (b2 >> 4)];
        line += alphabet[(b2 & 15) << 2];
        if (mime) line += "=";
      }
      line += "\r\n";
      target.write(line.data(), static_cast<std::streamsize>(line.size()));
      if (count < sizeof block) break;
    }
    if (!mime) target.write("`\r\n", 3);
  } catch (...) {
    target.clear();
    target.seekg(0);
    target.seekp(0);
    if (OnEndEncode) OnEndEncode(*this);
    throw;
  }
  target.clear();
  target.seekg(0);
  target.seekp(0);
  if (OnEndEncode) OnEndEncode(*this);
}

void TNMUUProcessor::Decode() {
  if (OnBeginDecode) OnBeginDecode(*this);
  if (Method == UUMethods::uuMime) {
    Base64Decode();
  } else {
    StdDecode();
  }
  if (OnEndDecode) OnEndDecode(*this);
}

void TNMUUProcessor::Base64Decode() {
  std::istream& source = *SourceStream;
  std::ostream& target = *TargetStream;
  int group[4];
  int filled = 0;  // characters of the current group; a group may go on in the next line
  while (!AtEnd(source)) {
    const std::string line = ReadLnFromStream(source);
    if (line.size() <= 2 || line.compare(0, 4, "====") == 0) continue;
    size_t i = 0;
    if (filled == 0) {
      // At the start of a line, pass over what is not in the alphabet; a line end or "="
      // there ends the data.
      while (i < line.size() && Base64Value(line[i]) >= 64) {
        if (line[i] == '\r' || line[i] == '\n' || line[i] == '=') return;
        ++i;
      }
    }
    for (; i < line.size(); ++i) {
      const int value = Base64Value(line[i]);
      if (value == 127) continue;  // a character outside the alphabet is passed over
      if (value == 64) {
        // "=" as the third character gives one byte, as the fourth two; either ends the data.
        if (filled == 2) {
          const char out = static_cast<char>((group[0] << 2) | (group[1] >> 4));
          target.write(&out, 1);
        } else if (filled == 3) {
          const char out[2] = {static_cast<char>((group[0] << 2) | (group[1] >> 4)),
                               static_cast<char>(((group[1] & 15) << 4) | (group[2] >> 2))};
          target.write(out, 2);
        }
        return;
      }
      group[filled++] = value;
      if (filled == 4) {
        const char out[3] = {static_cast<char>((group[0] << 2) | (group[1] >> 4)),
                             static_cast<char>(((group[1] & 15) << 4) | (group[2] >> 2)),
                             static_cast<char>(((group[2] & 3) << 6) | group[3])};
        target.write(out, 3);
        filled = 0;
      }
    }
  }
  // A group that runs past the end of the last line ends the data unfinished.
}

void TNMUUProcessor::StdDecode() {
  std::istream& source = *SourceStream;
  std::ostream& target = *TargetStream;
  while (!AtEnd(source)) {
    const std::string line = ReadLnFromStream(source);
    if (line.size() <= 2) continue;
    const int count = UuDEC(line[0]);
    if (count == 0) {
      // The closing line follows.
      if (!AtEnd(source)) (void)ReadLnFromStream(source);
      continue;
    }
    std::string out;
    out.reserve(static_cast<size_t>(count));
    // Characters missing at the end of a short line count as value 0 (a stripped blank).
    auto value = [&line](size_t index) { return index < line.size() ? UuDEC(line[index]) : 0; };
    for (size_t i = 1; static_cast<int>(out.size()) < count; i += 4) {
      const int c1 = value(i), c2 = value(i + 1), c3 = value(i + 2), c4 = value(i + 3);
      out += static_cast<char>((c1 << 2) | (c2 >> 4));
      if (static_cast<int>(out.size()) < count)
        out += static_cast<char>(((c2 & 15) << 4) | (c3 >> 2));
      if (static_cast<int>(out.size()) < count) out += static_cast<char>(((c3 & 3) << 6) | c4);
      if (i > line.size() + 4) break;  // the line is far shorter than its count says
    }
    target.write(out.data(), static_cast<std::streamsize>(out.size()));
  }
}

std::string Base64Text(const std::string& bytes) {
  std::stringstream source(bytes);
  std::stringstream target;
  TNMUUProcessor coder;
  coder.Method = UUMethods::uuMime;
  coder.SourceStream = &source;
  coder.TargetStream = &target;
  coder.Encode();
  std::string text;
  for (const char c : target.str()) {
    if (c != '\r' && c != '\n') text += c;
  }
  return text;
}

}  // namespace pagelathe
