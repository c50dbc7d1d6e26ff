// TThreadConvert: the batch conversion's worker. It runs ConvertFiles on a worker thread and
// keeps what the window may show of a running or stopped batch (the walk's folders and
// counters, the skipped files) where the window's thread can read it at any moment.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "tools/converter/ConvertBatch.h"
#include "ui/LongJob.h"

namespace pagelathe {

class TThreadConvert : public LongJob {
  Q_OBJECT
 public:
  explicit TThreadConvert(QObject* parent = nullptr);

  // What a batch has made known so far.
  struct Outcome {
    bool FoldersCollected = false;  // the walk ended; Folders and Counters hold its result
    TextList Folders;               // the source folder, then the walk's sub-folders
    FolderCounters Counters;
    std::vector<std::string> Skipped;  // messages naming the skipped files
    int Converted = 0;
  };

  // Shows one file's progress on the window's thread: the listed name and 0 to 100.
  using ProgressShow = std::function<void(const std::string& name, int position)>;

  // Starts a batch over `names` (the listed names of the source folder). `finish` runs on the
  // window's thread when the batch ends, or at once on Stop.
  void StartBatch(ConvertOptions options, std::vector<std::string> names, ProgressShow show,
                  Finish finish);

  // A copy of the current batch's outcome; safe on the window's thread at any time.
  [[nodiscard]] Outcome Snapshot() const;

 private:
  struct Shared {
    mutable std::mutex mutex;
    Outcome outcome;
  };
  std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
};

}  // namespace pagelathe
