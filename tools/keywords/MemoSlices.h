// Reading and filling a memo a slice at a time on the window's thread. A memo of a hundred
// megabytes takes seconds to fill or to read whole; done in slices of a few milliseconds, with
// the window's events between them, the window answers all along. The Keywords tabs use it
// around the work they hand to a worker thread.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <functional>

#include "platform/TextList.h"

class QPlainTextEdit;

namespace pagelathe {

// The memo lines that `lines` (UTF-8) show as, one string per memo line: a line that
// holds line breaks of its own shows as several (as SetMemoLines shows it). Usable on any
// thread. Example: {"a", "b\r\nc"} gives {"a", "b", "c"}.
[[nodiscard]] QStringList MemoDisplayLines(const TextList& lines);

// The lines of a memo whose blocks hold `blocks`, exactly as MemoLines reads the memo: its
// plain text (non-breaking spaces as blanks) in UTF-8, split into lines. Usable on any
// thread.
[[nodiscard]] TextList LinesOfBlocks(const QStringList& blocks);

class MemoSlices : public QObject {
  Q_OBJECT
 public:
  explicit MemoSlices(QObject* parent = nullptr);

  // Collects the texts of the memo's blocks (its lines) and then calls `done` with them. A
  // change of the memo while it reads starts the reading again, so the result is the memo
  // as it stands at the end.
  void Read(QPlainTextEdit* memo, std::function<void(QStringList blocks)> done);

  // Replaces the memo's text by `lines`, one per memo line, then calls `done`. The memo's
  // undo history goes, as with a text set at once; the cursor ends at the start.
  void Fill(QPlainTextEdit* memo, QStringList lines, std::function<void()> done);

  // Ends a running read or fill; its `done` is not called. A stopped fill leaves the lines
  // filled so far.
  void Stop();

  [[nodiscard]] bool Running() const { return kind_ != Kind::None; }
  // How far the running read or fill is, 0 to 100.
  [[nodiscard]] int Percent() const;

 signals:
  void Progress(int percent);

 private:
  enum class Kind { None, Read, Fill };
  void Step();
  bool ReadSome(const QElapsedTimer& clock);
  bool FillSome(const QElapsedTimer& clock);
  void Finish();

  QTimer timer_;
  Kind kind_ = Kind::None;
  QPlainTextEdit* memo_ = nullptr;
  QMetaObject::Connection changed_;
  bool restart_ = false;  // the memo changed while it was read
  QTextBlock block_;      // the next block to read
  int blocks_total_ = 0;
  QStringList lines_;  // read so far, or to fill
  qsizetype next_line_ = 0;
  QTextCursor cursor_;  // where the fill goes on
  std::function<void(QStringList)> read_done_;
  std::function<void()> fill_done_;
};

}  // namespace pagelathe
