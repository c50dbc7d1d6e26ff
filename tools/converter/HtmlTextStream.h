// HTML to text for a text that arrives in pieces, in memory that does not grow with it: the
// one engine of the conversion (HtmlToText runs it over a whole text). It takes either the
// bytes of a file, whose lines it joins as JoinedText does, or a text already joined.
#pragma once

#include <string>
#include <string_view>

namespace pagelathe {

// JoinedText for bytes that arrive in pieces: appends to `out` the bytes without CR and LF, up
// to the first NUL byte, which ends the text (what follows it is ignored, see Ended).
class LineJoiner {
 public:
  void Feed(std::string_view bytes, std::string& out);
  [[nodiscard]] bool Ended() const { return ended_; }

 private:
  bool ended_ = false;
};

class HtmlTextStream {
 public:
  // `separator` stands for a "<hr>". Without `replace` the nine markup replacements are
  // skipped and only the tags are removed and blanks collapsed (DelDoubBlank(DeleteTag(...))),
  // as the converter's line limit wants it.
  explicit HtmlTextStream(std::string_view separator, bool replace = true);

  // Takes the next bytes of a file and appends to `out` the text they complete (lines joined,
  // a NUL byte ends the document).
  void Feed(std::string_view bytes, std::string& out);
  // Takes the next bytes of a text already joined: every byte is text, a NUL byte too.
  void FeedJoined(std::string_view joined, std::string& out);
  // The end of the text: appends the text still held back.
  void Finish(std::string& out);

  // True once a NUL byte of a file was seen: nothing more can change the text.
  [[nodiscard]] bool Ended() const { return joiner_.Ended(); }
  // True once any text came out.
  [[nodiscard]] bool Wrote() const { return wrote_; }

 private:
  void Take(bool last, std::string& out);
  void Replace(std::string_view joined, bool last, std::string& out);
  void Clean(std::string_view replaced, std::string& out);

  std::string separator_;
  bool replace_;
  LineJoiner joiner_;
  std::string carry_;     // joined bytes at the end of a piece that may begin a markup pattern
  std::string joined_;    // scratch: the piece without line breaks, after the carry
  std::string replaced_;  // scratch: the replaced text of a piece
  std::string pending_;   // replaced text that may begin "<hr>" (held until it cannot)
  bool in_tag_ = false;
  bool after_blank_ = false;
  bool wrote_ = false;
};

}  // namespace pagelathe
