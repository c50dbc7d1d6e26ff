// The one line rule, for a document that arrives in pieces and (as SplitLines, which feeds it
// the whole text at once) for one held whole: lines end at CR LF, CR or LF (a CR LF cut
// between two pieces is still one break), a last line without a break counts, a final line
// break starts no empty line, and a NUL byte ends the text.
#pragma once

#include <string>
#include <string_view>

namespace pagelathe {

class LineStream {
 public:
  // Calls `line(text)` for every line that `bytes` completes.
  template <typename Line>
  void Feed(std::string_view bytes, Line&& line);
  // The end of the document: the last line, when it had no line break.
  template <typename Line>
  void Finish(Line&& line);

  [[nodiscard]] bool Ended() const { return ended_; }

 private:
  std::string partial_;  // the start of a line that the next piece continues
  bool after_cr_ = false;
  bool ended_ = false;
};

template <typename Line>
void LineStream::Feed(std::string_view bytes, Line&& line) {
  if (ended_) return;
  if (const size_t nul = bytes.find('\0'); nul != std::string_view::npos) {
    bytes = bytes.substr(0, nul);
    ended_ = true;
  }
  size_t start = 0;
  if (after_cr_ && !bytes.empty()) {
    after_cr_ = false;
    if (bytes[0] == '\n') start = 1;
  }
  const char* const data = bytes.data();
  const size_t n = bytes.size();
  for (size_t i = start; i < n; ++i) {
    const char c = data[i];
    if (c != '\r' && c != '\n') continue;
    if (partial_.empty()) {
      line(std::string_view(data + start, i - start));
    } else {
      partial_.append(data + start, i - start);
      line(std::string_view(partial_));
      partial_.clear();
    }
    if (c == '\r') {
      if (i + 1 == n) {
        after_cr_ = true;
      } else if (data[i + 1] == '\n') {
        ++i;
      }
    }
    start = i + 1;
  }
  // An empty piece may have no data at all.
  if (start < n) partial_.append(data + start, n - start);
}

template <typename Line>
void LineStream::Finish(Line&& line) {
  if (!partial_.empty()) line(std::string_view(partial_));
  partial_.clear();
  after_cr_ = false;
}

}  // namespace pagelathe
