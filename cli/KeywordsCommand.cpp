// pagelathe keywords: the keyword search of the Keywords page over one document, counted
// line by line while it is read; rows "count<TAB>word" in UTF-8, highest count first as the
// search shows them, or by word.
#include "cli/Commands.h"
#include "cli/Input.h"
#include "cli/Interrupt.h"
#include "cli/Output.h"
#include "platform/Errors.h"
#include "platform/LineStream.h"
#include "platform/Utf8.h"
#include "platform/Win1251.h"
#include "textlib/Dizerezez.h"
#include "tools/keywords/KeywordCounter.h"

namespace pagelathe::cli {
namespace {

constexpr size_t kPiece = 1 << 18;

// Feeds every line of the document to `counter` as UTF-8 text: decoded from Windows-1251 when
// the document is not valid UTF-8, cleaned of tags and double blanks with `clean` (the Open
// button's clean-up).
class LineCounter {
 public:
  LineCounter(KeywordCounter& counter, bool clean) : counter_(counter), clean_(clean) {}

  void Decode1251() { decode_ = true; }

  void operator()(std::string_view line) {
    const bool plain = IsAscii(line);
    fed_letters_ = fed_letters_ || !plain;
    if (!clean_ && (plain || !decode_)) {
      counter_.AddLine(line);
      return;
    }
    std::string text = decode_ && !plain ? Win1251ToUtf8(line) : std::string(line);
    if (clean_) text = DelDoubBlank(DeleteTag(text));
    counter_.AddLine(text);
  }

  // Whether a line with a byte above 0x7F was counted, that is, whether the count so far
  // depends on the document's encoding.
  [[nodiscard]] bool FedLetters() const { return fed_letters_; }

 private:
  KeywordCounter& counter_;
  bool clean_;
  bool decode_ = false;
  bool fed_letters_ = false;
};

struct CountOptions {
  int min_length;
  bool case_sensitive;
  bool clean;
};

// Counts the lines of `bytes` (a whole document) into `counter`.
void CountHeld(std::string_view bytes, KeywordCounter& counter, const CountOptions& options) {
  LineStream lines;
  LineCounter take(counter, options.clean);
  if (!IsValidUtf8(bytes)) take.Decode1251();
  lines.Feed(bytes, take);
  lines.Finish(take);
}

// Counts the lines of the document `operand` into `counter`, decoded by the platform's rule.
void CountDocument(const std::string& operand, KeywordCounter& counter,
                   const CountOptions& options) {
  UserFileStream stream;
  OpenDocument(operand, stream);
  // A stream cannot be read twice: it is held, judged, then counted.
  if (stream.IsStream()) return CountHeld(ReadRest(operand, stream), counter, options);
  // One pass that takes the document for UTF-8 while its bytes allow it. Should a byte, or
  // the end, say otherwise after a line with letters beyond ASCII was counted, the file is
  // counted again from the start as Windows-1251; up to there every line was ASCII, which
  // reads the same either way, so then the count just goes on decoding.
  std::string piece(kPiece, '\0');
  Utf8Validator validator;
  LineStream lines;
  LineCounter take(counter, options.clean);
  bool utf8 = true;
  for (;;) {
    const size_t n = stream.Read(piece.data(), piece.size());
    if (n == 0) break;
    const std::string_view bytes(piece.data(), n);
    if (utf8) {
      validator.Feed(bytes);
      if (!validator.Valid()) {
        if (take.FedLetters()) break;
        utf8 = false;
        take.Decode1251();
      }
    }
    lines.Feed(bytes, take);
    ThrowIfInterrupted();
  }
  CheckStream(operand, stream);
  if (utf8 && !validator.Complete() && !take.FedLetters()) {
    utf8 = false;  // a sequence cut by the end: the last line is Windows-1251
    take.Decode1251();
  }
  if (validator.Complete() || !utf8 || !take.FedLetters()) {
    lines.Finish(take);
    return;
  }
  if (!stream.Rewind()) throw EFileError("Cannot read file \"" + operand + "\" again.");
  counter = KeywordCounter(options.min_length, options.case_sensitive);
  LineStream raw;
  LineCounter raw_take(counter, options.clean);
  raw_take.Decode1251();
  while (!raw.Ended()) {
    const size_t n = stream.Read(piece.data(), piece.size());
    if (n == 0) break;
    raw.Feed(std::string_view(piece.data(), n), raw_take);
    ThrowIfInterrupted();
  }
  CheckStream(operand, stream);
  raw.Finish(raw_take);
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
    line.assign(row.Count).append("\t").append(row.Word).append("\n");
    output.Write(line);
  }
  output.Commit();
  return 0;
}

}  // namespace pagelathe::cli
