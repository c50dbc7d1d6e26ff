// pagelathe keywords: the keyword search of the Keywords page over one document, counted
// line by line while it is read; rows "count<TAB>word", highest count first as the search
// shows them, or by word.
#include <cstdint>
#include <cstring>

#include "cli/Commands.h"
#include "cli/Input.h"
#include "cli/Interrupt.h"
#include "cli/Output.h"
#include "cli/TextCodes.h"
#include "platform/Errors.h"
#include "platform/LineStream.h"
#include "platform/Utf8.h"
#include "textlib/Dizerezez.h"
#include "tools/keywords/KeywordCounter.h"

namespace pagelathe::cli {
namespace {

constexpr size_t kPiece = 1 << 18;

// True when every byte of `text` is ASCII, which reads the same in UTF-8 and Windows-1251.
bool IsAscii(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  for (; end - p >= 8; p += 8) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    if (word & 0x8080808080808080ull) return false;
  }
  for (; p < end; ++p)
    if (static_cast<unsigned char>(*p) >= 0x80) return false;
  return true;
}

// Feeds every line of the document to `counter`: converted to Windows-1251 when the document
// is taken for UTF-8, cleaned of tags and double blanks with `clean` (the Open button's
// clean-up).
class LineCounter {
 public:
  LineCounter(KeywordCounter& counter, bool utf8, bool clean)
      : counter_(counter), utf8_(utf8), clean_(clean) {}

  void operator()(std::string_view line) {
    const bool convert = utf8_ && !IsAscii(line);
    converted_ = converted_ || convert;
    if (!convert && !clean_) {
      counter_.AddLine(line);
      return;
    }
    std::string text = convert ? Utf8To1251(line) : std::string(line);
    if (clean_) text = DelDoubBlank(DeleteTag(text));
    counter_.AddLine(text);
  }

  // Whether a line was converted, that is, whether the count differs from one of the bytes.
  [[nodiscard]] bool Converted() const { return converted_; }

 private:
  KeywordCounter& counter_;
  bool utf8_;
  bool clean_;
  bool converted_ = false;
};

struct CountOptions {
  int min_length;
  bool case_sensitive;
  bool clean;
};

// Counts the lines of `bytes` (a whole document) into a fresh `counter`.
bool CountHeld(std::string_view bytes, KeywordCounter& counter, const CountOptions& options) {
  const bool utf8 = IsUtf8Document(bytes);
  LineStream lines;
  LineCounter take(counter, utf8, options.clean);
  lines.Feed(bytes, take);
  lines.Finish(take);
  return utf8;
}

// Counts the lines of the document `operand` into `counter`. Returns whether it was UTF-8.
bool CountDocument(const std::string& operand, KeywordCounter& counter,
                   const CountOptions& options) {
  UserFileStream stream;
  OpenDocument(operand, stream);
  // A stream cannot be read twice: it is held, judged, then counted.
  if (stream.IsStream()) return CountHeld(ReadRest(operand, stream), counter, options);
  // One pass that takes the document for UTF-8 while its bytes allow it. Should a byte, or
  // the end, say otherwise after a line was converted, the file is counted again as bytes.
  std::string piece(kPiece, '\0');
  Utf8Validator validator;
  LineStream lines;
  LineCounter take(counter, true, options.clean);
  for (;;) {
    const size_t n = stream.Read(piece.data(), piece.size());
    if (n == 0) break;
    const std::string_view bytes(piece.data(), n);
    validator.Feed(bytes);
    if (!validator.Valid()) break;
    lines.Feed(bytes, take);
    ThrowIfInterrupted();
  }
  CheckStream(operand, stream);
  lines.Finish(take);
  if (validator.IsUtf8Document()) return true;
  if (validator.Valid() && !take.Converted()) return false;  // plain ASCII: the same count
  if (!stream.Rewind()) throw EFileError("Cannot read file \"" + operand + "\" again.");
  counter = KeywordCounter(options.min_length, options.case_sensitive);
  LineStream raw;
  LineCounter raw_take(counter, false, options.clean);
  while (!raw.Ended()) {
    const size_t n = stream.Read(piece.data(), piece.size());
    if (n == 0) break;
    raw.Feed(std::string_view(piece.data(), n), raw_take);
    ThrowIfInterrupted();
  }
  CheckStream(operand, stream);
  raw.Finish(raw_take);
  return false;
}

}  // namespace

int RunKeywords(const ParsedArguments& arguments) {
  const int min_length = arguments.IntValue("min-length").value_or(4);
  const int min_frequency = arguments.IntValue("min-frequency").value_or(4);
  const bool case_sensitive = arguments.Has("case-sensitive");
  const std::string sort = arguments.ValueOr("sort", "count");
  if (sort != "count" && sort != "word")
    throw UsageError("option --sort: '" + sort + "' is not one of count word");
  const std::vector<std::string>& operands = arguments.Operands();
  if (operands.size() != 1) throw UsageError(operands.empty() ? "no FILE given" : "one FILE only");

  KeywordCounter counter(min_length, case_sensitive);
  const bool utf8 =
      CountDocument(operands[0], counter, {min_length, case_sensitive, arguments.Has("clean")});
  std::vector<KeywordEntry> rows = counter.Rows(min_frequency);
  // As the Search button leaves them: by count, highest first; then, for --sort word, as a
  // click on "Word" orders them A to Z (rows of one word keep their order by count).
  KeywordSortState state;
  state.Direction = -1;
  SortKeywordList(rows, 1, state);
  if (sort == "word") {
    state = {0, 1};
    SortKeywordList(rows, 0, state);
  }
  Output output;
  std::string line;
  for (const KeywordEntry& row : rows) {
    line.assign(row.Count).append("\t").append(ForOutput(row.Word, utf8)).append("\n");
    output.Write(line);
  }
  output.Commit();
  return 0;
}

}  // namespace pagelathe::cli
