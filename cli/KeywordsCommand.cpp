// pagelathe keywords: the keyword search of the Keywords page over one document, counted
// line by line while it is read; rows "count<TAB>word", highest count first as the search
// shows them, or by word.
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

// Feeds every line of the document to `counter`: converted to Windows-1251 when the document
// is UTF-8, cleaned of tags and double blanks with `clean` (the Open button's clean-up).
class LineCounter {
 public:
  LineCounter(KeywordCounter& counter, bool utf8, bool clean)
      : counter_(counter), utf8_(utf8), clean_(clean) {}

  void operator()(std::string_view line) {
    if (!utf8_ && !clean_) {
      counter_.AddLine(line);
      return;
    }
    std::string text = utf8_ ? Utf8To1251(line) : std::string(line);
    if (clean_) text = DelDoubBlank(DeleteTag(text));
    counter_.AddLine(text);
  }

 private:
  KeywordCounter& counter_;
  bool utf8_;
  bool clean_;
};

// Whether the document is UTF-8, judged over all its bytes (a first pass over a file).
bool IsUtf8Stream(const std::string& operand, UserFileStream& stream, std::string& piece) {
  Utf8Validator validator;
  while (validator.Valid()) {
    const size_t n = stream.Read(piece.data(), piece.size());
    if (n == 0) break;
    validator.Feed(std::string_view(piece.data(), n));
    ThrowIfInterrupted();
  }
  CheckStream(operand, stream);
  // An invalid byte settles it: the rest need not be read.
  return validator.IsUtf8Document();
}

// Counts the lines of the document `operand` into `counter`. Returns whether it was UTF-8.
bool CountDocument(const std::string& operand, KeywordCounter& counter, bool clean) {
  UserFileStream stream;
  OpenDocument(operand, stream);
  LineStream lines;
  if (stream.IsStream()) {
    // A stream cannot be read twice: it is held, judged, then counted.
    const std::string bytes = ReadRest(operand, stream);
    const bool utf8 = IsUtf8Document(bytes);
    LineCounter take(counter, utf8, clean);
    lines.Feed(bytes, take);
    lines.Finish(take);
    return utf8;
  }
  std::string piece(kPiece, '\0');
  const bool utf8 = IsUtf8Stream(operand, stream, piece);
  if (!stream.Rewind()) throw EFileError("Cannot read file \"" + operand + "\" again.");
  LineCounter take(counter, utf8, clean);
  while (!lines.Ended()) {
    const size_t n = stream.Read(piece.data(), piece.size());
    if (n == 0) break;
    lines.Feed(std::string_view(piece.data(), n), take);
    ThrowIfInterrupted();
  }
  CheckStream(operand, stream);
  lines.Finish(take);
  return utf8;
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
  const bool utf8 = CountDocument(operands[0], counter, arguments.Has("clean"));
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
