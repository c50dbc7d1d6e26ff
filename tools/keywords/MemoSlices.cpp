// Memo reads and fills in slices.
#include "tools/keywords/MemoSlices.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include "ui/QtText.h"

namespace pagelathe {
namespace {

// One slice keeps the window's thread this long at most (give or take one batch), so that
// the window answers between slices.
constexpr qint64 kSliceMs = 12;
// Blocks read, or lines filled, between two looks at the clock.
constexpr int kBatch = 128;
// A fill inserts up to this many characters at once: each insertion costs the document a
// fixed amount besides its characters, so few large ones fill faster than many small ones.
constexpr qsizetype kFillChars = 64 * 1024;

}  // namespace

QStringList MemoDisplayLines(const TextList& lines) {
  QStringList shown;
  shown.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) {
    // CR LF, CR or LF inside a line break it, as the memo shows it.
    size_t start = 0;
    for (size_t k = 0; k < line.size(); ++k) {
      if (line[k] != '\r' && line[k] != '\n') continue;
      shown.append(ToQ(std::string_view(line).substr(start, k - start)));
      if (line[k] == '\r' && k + 1 < line.size() && line[k + 1] == '\n') ++k;
      start = k + 1;
    }
    shown.append(ToQ(std::string_view(line).substr(start)));
  }
  return shown;
}

TextList LinesOfBlocks(const QStringList& blocks) {
  qsizetype length = 0;
  for (const QString& block : blocks)
    length += block.size() + 1;
  QString text;
  text.reserve(length);
  for (qsizetype i = 0; i < blocks.size(); ++i) {
    if (i > 0) text += QLatin1Char('\n');
    text += blocks[i];
  }
  // What the memo's plain text makes of these characters.
  for (QChar& c : text) {
    if (c == QChar::Nbsp) c = QLatin1Char(' ');
    if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator) c = QLatin1Char('\n');
  }
  return SplitLines(FromQ(text));
}

MemoSlices::MemoSlices(QObject* parent) : QObject(parent) {
  timer_.setInterval(0);  // runs whenever the window has no other event waiting
  connect(&timer_, &QTimer::timeout, this, &MemoSlices::Step);
}

void MemoSlices::Read(QPlainTextEdit* memo, std::function<void(QStringList)> done) {
  Stop();
  kind_ = Kind::Read;
  memo_ = memo;
  read_done_ = std::move(done);
  restart_ = true;
  changed_ =
      connect(memo->document(), &QTextDocument::contentsChanged, this, [this] { restart_ = true; });
  timer_.start();
}

void MemoSlices::Fill(QPlainTextEdit* memo, QStringList lines, std::function<void()> done) {
  Stop();
  kind_ = Kind::Fill;
  memo_ = memo;
  fill_done_ = std::move(done);
  lines_ = std::move(lines);
  next_line_ = 0;
  QTextDocument* document = memo->document();
  document->setUndoRedoEnabled(false);  // no history of the slices
  document->clear();
  cursor_ = QTextCursor(document);
  timer_.start();
}

void MemoSlices::Stop() {
  timer_.stop();
  if (kind_ == Kind::Fill) memo_->document()->setUndoRedoEnabled(true);
  disconnect(changed_);
  kind_ = Kind::None;
  memo_ = nullptr;
  lines_ = {};
  block_ = {};
  cursor_ = {};
  read_done_ = nullptr;
  fill_done_ = nullptr;
}

int MemoSlices::Percent() const {
  switch (kind_) {
    case Kind::Read:
      return blocks_total_ > 0 ? static_cast<int>(100 * lines_.size() / blocks_total_) : 0;
    case Kind::Fill:
      return lines_.isEmpty() ? 0 : static_cast<int>(100 * next_line_ / lines_.size());
    case Kind::None:
      break;
  }
  return 0;
}

void MemoSlices::Step() {
  QElapsedTimer clock;
  clock.start();
  const bool complete = kind_ == Kind::Read ? ReadSome(clock) : FillSome(clock);
  if (complete) {
    Finish();
  } else {
    emit Progress(Percent());
  }
}

bool MemoSlices::ReadSome(const QElapsedTimer& clock) {
  if (restart_) {
    restart_ = false;
    lines_.clear();
    block_ = memo_->document()->begin();
    blocks_total_ = memo_->document()->blockCount();
    lines_.reserve(blocks_total_);
  }
  while (clock.elapsed() < kSliceMs) {
    for (int i = 0; i < kBatch; ++i) {
      if (!block_.isValid()) return true;
      lines_.append(block_.text());
      block_ = block_.next();
    }
  }
  return !block_.isValid();
}

bool MemoSlices::FillSome(const QElapsedTimer& clock) {
  while (clock.elapsed() < kSliceMs && next_line_ < lines_.size()) {
    QString chunk;
    qsizetype i = next_line_;
    for (; i < lines_.size() && (i == next_line_ || chunk.size() < kFillChars); ++i) {
      if (i > 0) chunk += QLatin1Char('\n');
      chunk += lines_[i];
      lines_[i] = QString();  // freed slice by slice, not all at the end
    }
    cursor_.insertText(chunk);
    next_line_ = i;
  }
  return next_line_ >= lines_.size();
}

void MemoSlices::Finish() {
  timer_.stop();
  disconnect(changed_);
  const Kind kind = std::exchange(kind_, Kind::None);
  QPlainTextEdit* memo = std::exchange(memo_, nullptr);
  block_ = {};
  cursor_ = {};
  if (kind == Kind::Read) {
    auto done = std::move(read_done_);
    read_done_ = nullptr;
    QStringList blocks = std::move(lines_);
    lines_ = {};
    if (done) done(std::move(blocks));
    return;
  }
  lines_ = {};
  memo->document()->setUndoRedoEnabled(true);
  memo->document()->setModified(false);
  memo->moveCursor(QTextCursor::Start);
  auto done = std::move(fill_done_);
  fill_done_ = nullptr;
  if (done) done();
}

}  // namespace pagelathe
