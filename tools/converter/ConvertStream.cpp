// The conversion of one file as a stream.
#include "tools/converter/ConvertStream.h"

#include <utility>

#include "tools/converter/HtmlPage.h"

namespace pagelathe {
namespace {

constexpr size_t kPiece = size_t{1} << 18;  // read at a time

}  // namespace

ConvertStream::ConvertStream(const ConvertOptions& options, const std::string& base_name, Sink sink)
    : direction_(options.Direction),
      limit_(options.LimitLines),
      width_(options.CharsPerLine),
      sink_(std::move(sink)),
      text_(options.Separator, !options.LimitLines) {
  if (direction_ == kTextToHtml) {
    out_ = JoinLines(HtmlPageHead(base_name, base_name, base_name, options.Generator, base_name));
    out_ += "<br>";
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
    joiner_.Feed(bytes, out_);
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
  ConvertStream stream(options, base_name, sink);
  std::string piece(kPiece, '\0');
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
  std::string output;
  ConvertStream stream(options, base_name, [&output](std::string_view part) { output += part; });
  stream.Feed(bytes);
  stream.Finish();
  return output;
}

}  // namespace pagelathe
