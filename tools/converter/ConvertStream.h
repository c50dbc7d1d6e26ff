// Converting one file while it is read: the bytes of the input go in by pieces and the bytes
// of the output file come out by pieces, in memory that does not grow with the file. The
// batch (the page's and the command line's) and the command line's single document both
// convert through here, so a page of any size costs the same few hundred kilobytes.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <string_view>

#include "platform/FileStream.h"
#include "platform/Utf8.h"
#include "tools/converter/HtmlText.h"
#include "tools/converter/HtmlTextStream.h"

namespace pagelathe {

enum ConvertDirection { kHtmlToText = 0, kTextToHtml = 1 };

// The choices of the page, read from its controls when a batch starts.
struct ConvertOptions {
  std::string SourceFolder;
  std::string ResultFolder;
  int Direction = kHtmlToText;
  bool ScanSubfolders = false;
  bool LimitLines = false;
  int CharsPerLine = 75;
  std::string Mask = "*.htm;*.shtm";  // the file list's masks, applied to sub-folders too
  std::string Generator;              // the main window's title, written into HTML pages
  std::string Separator = std::string(kSeparatorText);
};

// The output file of one input file, made while the input is read. The output is exactly what
// the converter saves for the file's joined text (JoinedText: line breaks dropped, a NUL byte
// ends it), each line followed by CR LF:
//  - HTML to text: HtmlToText as one line, or nothing at all when it is empty;
//  - with the line limit: the text without tags and double blanks (the nine replacements
//    skipped), cut into lines of CharsPerLine as CutToWidth cuts it;
//  - text to HTML: the page template with the base name as title, keywords, description and
//    heading, and the joined text as its one body line. The text and the name are read as
//    text (decoded from Windows-1251 when they are not valid UTF-8) and the page is written in
//    the charset it declares: Windows-1251 when every character has a byte there, else UTF-8
//    (HtmlPageBytes). That is known only once the whole text is seen, so a page is made from a
//    TextScan of the text, taken in a first pass over it.
class TextScan {
 public:
  // The next joined bytes of the text (LineJoiner's output).
  void Feed(std::string_view joined);
  // The text's encoding by the rule of platform/Utf8.h.
  [[nodiscard]] TextEncoding Encoding() const {
    return utf8_.Complete() ? TextEncoding::kUtf8 : TextEncoding::kWin1251;
  }
  // True when every character of the decoded text has a Windows-1251 byte.
  [[nodiscard]] bool FitsWin1251() const {
    return Encoding() == TextEncoding::kWin1251 || (fits_ && carry_.empty());
  }

 private:
  Utf8Validator utf8_;
  bool fits_ = true;
  std::string carry_;  // a UTF-8 sequence cut at the end of the last piece
};

class ConvertStream {
 public:
  using Sink = std::function<void(std::string_view bytes)>;

  // `scan` is the scan of the whole text; text to HTML needs it, HTML to text does not.
  ConvertStream(const ConvertOptions& options, const std::string& base_name, Sink sink,
                const TextScan& scan = {});

  // The next bytes of the input.
  void Feed(std::string_view bytes);
  // The end of the input: the rest of the output.
  void Finish();
  // True once a NUL byte ended the input: nothing more changes the output.
  [[nodiscard]] bool Ended() const;

 private:
  void Cut(std::string_view text);
  void Flush();
  void Body(std::string_view joined);

  int direction_;
  bool limit_;
  int width_;
  Sink sink_;
  HtmlTextStream text_;
  LineJoiner joiner_;
  TextEncoding input_ = TextEncoding::kUtf8;  // of the text to HTML's text
  bool page_1251_ = false;                    // the page is written in Windows-1251
  std::string joined_;                        // scratch: the joined text of one piece
  std::string carry_;                         // a UTF-8 sequence cut between two pieces
  std::string out_;
  std::string cleaned_;  // scratch of the line limit: the text before the cut
  size_t column_ = 0;    // bytes of the line being cut
  bool any_text_ = false;
};

// Reads `input` to its end, a piece at a time, and converts it into `sink`. False when `stop`
// was set between two pieces: the output is then incomplete and must not be kept. A failed
// read ends the input early: see input.Status(). Text to HTML reads a file twice (the scan,
// then the page); a stream it cannot read again is held in memory.
bool ConvertInput(const ConvertOptions& options, const std::string& base_name,
                  UserFileStream& input, const ConvertStream::Sink& sink,
                  const std::atomic<bool>* stop = nullptr);

// The output file's bytes for an input already in memory.
[[nodiscard]] std::string ConvertBytes(const ConvertOptions& options, std::string_view bytes,
                                       const std::string& base_name);

}  // namespace pagelathe
