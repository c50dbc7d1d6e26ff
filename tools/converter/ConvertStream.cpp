// The conversion of one file as a stream.
#include "tools/converter/ConvertStream.h"

#include <utility>

#include "platform/Errors.h"
#include "platform/Win1251.h"
#include "tools/converter/HtmlPage.h"

namespace pagelathe {
namespace {

constexpr size_t kPiece = size_t{1} << 18;  // read at a time

// The length of `text` up to its last whole UTF-8 sequence: a lead byte near the end whose
// continuation bytes have not all come yet is left out.
size_t WholeSequences(std::string_view text) {
  const size_t n = text.size();
  for (size_t back = 1; back <= 3 && back <= n; ++back) {
    const auto c = static_cast<unsigned char>(text[n - back]);
    if ((c & 0xC0) == 0x80) continue;  // a continuation byte
    const size_t length = c < 0xC0 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    return length > back ? n - back : n;
  }
  return n;
}

// Calls `take` with the bytes of `piece` that end on a whole UTF-8 sequence, the sequence cut
// at the end of the last piece (`carry`) completed first; keeps the cut end of `piece` in
// `carry`.
template <typename Take>
void WholeSequencesOf(std::string& carry, std::string_view piece, Take take) {
  if (!carry.empty()) {
    size_t i = 0;
    while (i < piece.size() && WholeSequences(carry) < carry.size())
      carry += piece[i++];
    piece.remove_prefix(i);
    if (WholeSequences(carry) < carry.size()) return;  // still cut: a piece of a byte or two
    take(std::string_view(carry));
    carry.clear();
  }
  const size_t whole = WholeSequences(piece);
  take(piece.substr(0, whole));
  carry.assign(piece.substr(whole));
}

}  // namespace

void TextScan::Feed(std::string_view joined) {
  utf8_.Feed(joined);
  if (!fits_ || !utf8_.Valid()) return;  // not UTF-8: Windows-1251, every byte a character
  if (carry_.empty() && IsAscii(joined)) return;
  WholeSequencesOf(carry_, joined, [this](std::string_view whole) {
    fits_ = fits_ && ::pagelathe::FitsWin1251(whole);
  });
}

ConvertStream::ConvertStream(const ConvertOptions& options, const std::string& base_name, Sink sink,
                             const TextScan& scan)
    : direction_(options.Direction),
      limit_(options.LimitLines),
      width_(options.CharsPerLine),
      sink_(std::move(sink)),
      text_(options.Separator, !options.LimitLines) {
  if (direction_ != kTextToHtml) return;
  input_ = scan.Encoding();
  const std::string title = DecodeText(base_name);
  TextList head = HtmlPageHead(title, title, title, options.Generator, title);
  page_1251_ = scan.FitsWin1251();
  for (const std::string& line : head)
    page_1251_ = page_1251_ && FitsWin1251(line);
  head[2] = page_1251_ ? kCharsetLine1251 : kCharsetLineUtf8;
  const std::string text = JoinLines(head) + "<br>";
  if (!page_1251_ || !Utf8ToWin1251(text, out_)) out_ = text;
}

// The page's body line: the joined text in the page's charset.
void ConvertStream::Body(std::string_view joined) {
  if (input_ == TextEncoding::kWin1251) {
    if (page_1251_) {
      out_.append(joined);
    } else {
      out_ += Win1251ToUtf8(joined);
    }
  } else if (!page_1251_) {
    out_.append(joined);
  } else {
    // A UTF-8 text whose every character has a Windows-1251 byte, as the scan found.
    WholeSequencesOf(carry_, joined, [this](std::string_view whole) {
      std::string bytes;
      if (Utf8ToWin1251(whole, bytes)) out_ += bytes;
    });
  }
}

bool ConvertStream::Ended() const {
  return direction_ == kTextToHtml ? joiner_.Ended() : text_.Ended();
}

void ConvertStream::Flush() {
  if (out_.empty()) return;
  sink_(out_);
  out_.clear();
}

// CutToWidth as the text comes: a line break after every `width_` bytes.
void ConvertStream::Cut(std::string_view text) {
  any_text_ = any_text_ || !text.empty();
  if (width_ <= 0) {
    out_.append(text);
    return;
  }
  const auto width = static_cast<size_t>(width_);
  while (!text.empty()) {
    const std::string_view part = text.substr(0, width - column_);
    out_.append(part);
    text.remove_prefix(part.size());
    column_ += part.size();
    if (column_ == width) {
      out_ += "\r\n";
      column_ = 0;
    }
  }
}

void ConvertStream::Feed(std::string_view bytes) {
  if (direction_ == kTextToHtml) {
    joined_.clear();
    joiner_.Feed(bytes, joined_);
    Body(joined_);
  } else if (limit_) {
    cleaned_.clear();
    text_.Feed(bytes, cleaned_);
    Cut(cleaned_);
  } else {
    text_.Feed(bytes, out_);
  }
  Flush();
}

void ConvertStream::Finish() {
  if (direction_ == kTextToHtml) {
    out_ += "\r\n";
    out_ += JoinLines(HtmlPageTail());
  } else if (limit_) {
    cleaned_.clear();
    text_.Finish(cleaned_);
    Cut(cleaned_);
    // The last, shorter line; an empty text is one empty line.
    if (!any_text_ || column_ != 0 || width_ <= 0) out_ += "\r\n";
  } else {
    text_.Finish(out_);
    if (text_.Wrote()) out_ += "\r\n";
  }
  Flush();
}

bool ConvertInput(const ConvertOptions& options, const std::string& base_name,
                  UserFileStream& input, const ConvertStream::Sink& sink,
                  const std::atomic<bool>* stop) {
  std::string piece(kPiece, '\0');
  TextScan scan;
  std::string held;  // the text of a stream, which cannot be read a second time
  if (options.Direction == kTextToHtml) {
    LineJoiner joiner;
    std::string joined;
    while (!joiner.Ended()) {
      if (stop && stop->load(std::memory_order_relaxed)) return false;
      const size_t n = input.Read(piece.data(), piece.size());
      if (n == 0) break;
      joined.clear();
      joiner.Feed(std::string_view(piece.data(), n), joined);
      scan.Feed(joined);
      if (input.IsStream()) held += joined;
    }
    if (!input.Status().ok()) return true;  // the caller names the failure
    if (input.IsStream()) {
      ConvertStream stream(options, base_name, sink, scan);
      stream.Feed(held);  // joined already: no line break or NUL left in it
      stream.Finish();
      return true;
    }
    if (!input.Rewind()) throw EFileError("Cannot read the file a second time.");
  }
  ConvertStream stream(options, base_name, sink, scan);
  while (!stream.Ended()) {
    if (stop && stop->load(std::memory_order_relaxed)) return false;
    const size_t n = input.Read(piece.data(), piece.size());
    if (n == 0) break;
    stream.Feed(std::string_view(piece.data(), n));
  }
  stream.Finish();
  return true;
}

std::string ConvertBytes(const ConvertOptions& options, std::string_view bytes,
                         const std::string& base_name) {
  TextScan scan;
  if (options.Direction == kTextToHtml) {
    LineJoiner joiner;
    std::string joined;
    joiner.Feed(bytes, joined);
    scan.Feed(joined);
  }
  std::string output;
  ConvertStream stream(
      options, base_name, [&output](std::string_view part) { output += part; }, scan);
  stream.Feed(bytes);
  stream.Finish();
  return output;
}

}  // namespace pagelathe
