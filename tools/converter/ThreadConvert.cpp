// The worker of the batch conversion.
#include "tools/converter/ThreadConvert.h"

namespace pagelathe {

TThreadConvert::TThreadConvert(QObject* parent) : LongJob(parent) {
  setObjectName("ThreadConvert");
}

void TThreadConvert::StartBatch(ConvertOptions options, std::vector<std::string> names,
                                ProgressShow show, Finish finish) {
  // A fresh record per batch: a stopped worker still running keeps writing into its own.
  auto shared = std::make_shared<Shared>();
  shared->outcome.Folders = {options.SourceFolder};
  shared_ = shared;
  Start(
      [shared, options = std::move(options), names = std::move(names),
       show = std::move(show)](Context& context) {
        ConvertObserver observer;
        observer.FoldersCollected = [&shared](const TextList& folders,
                                              const FolderCounters& counters) {
          const std::lock_guard lock(shared->mutex);
          shared->outcome.Folders = folders;
          shared->outcome.Counters = counters;
          shared->outcome.FoldersCollected = true;
        };
        observer.Skipped = [&shared](const std::string& message) {
          const std::lock_guard lock(shared->mutex);
          shared->outcome.Skipped.push_back(message);
        };
        if (show) {
          observer.Progress = [&context, &show](const std::string& name, int position) {
            context.Progress([show, name, position] { show(name, position); });
          };
        }
        TextList folders = {options.SourceFolder};
        FolderCounters counters;
        const ConvertResult result =
            ConvertFiles(options, names, folders, counters, &context.StopFlag(), observer);
        const std::lock_guard lock(shared->mutex);
        shared->outcome.Converted = result.Converted;
      },
      std::move(finish));
}

TThreadConvert::Outcome TThreadConvert::Snapshot() const {
  const std::lock_guard lock(shared_->mutex);
  return shared_->outcome;
}

}  // namespace pagelathe
