// HTML to text for a document that arrives in pieces: the same bytes as a file's joined text
// through HtmlToText (one line of text, ended by CR LF when it is not empty, as the converter
// saves it), made while reading, in memory that does not grow with the document.
#pragma once

#include <string>
#include <string_view>

namespace pagelathe {

class HtmlTextStream {
 public:
  explicit HtmlTextStream(std::string_view separator);

  // Takes the next bytes of the file and appends to `out` the text they complete. Line breaks
  // are dropped as JoinedText drops them; a NUL byte ends the document (what follows it is
  // ignored, see Ended).
  void Feed(std::string_view bytes, std::string& out);
  // The end of the file: appends the text still held back and the closing CR LF.
  void Finish(std::string& out);

  // True once a NUL byte was seen: nothing more can change the text.
  [[nodiscard]] bool Ended() const { return ended_; }

 private:
  void Replace(std::string_view joined, bool last, std::string& out);
  void Clean(std::string_view replaced, std::string& out);

  std::string separator_;
  std::string carry_;     // joined bytes at the end of a piece that may begin a markup pattern
  std::string joined_;    // scratch: the piece without line breaks, after the carry
  std::string replaced_;  // scratch: the replaced text of a piece
  std::string pending_;   // replaced text that may begin "<hr>" (held until it cannot)
  bool in_tag_ = false;
  bool after_blank_ = false;
  bool wrote_ = false;
  bool ended_ = false;
};

}  // namespace pagelathe
