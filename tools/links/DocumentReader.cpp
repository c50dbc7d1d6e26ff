// Reading the documents of a search, one after the other into one reused buffer.
#include "tools/links/DocumentReader.h"

#include <cerrno>
#include <utility>

#include "platform/FileIO.h"
#include "platform/Letters.h"

namespace pagelathe {

const char* const kDocumentExtensions[6] = {".txt", ".htm", ".html", ".shtm", ".shtml", ".php"};

bool IsDocumentFile(std::string_view name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  // Compared without a copy: every name of a searched tree comes here.
  for (const char* known : kDocumentExtensions)
    if (SameAsciiText(name.substr(dot), known)) return true;
  return false;
}

DocumentReader::DocumentReader(const TextList& folders, FolderTree tree, std::string masks,
                               const std::atomic<bool>* stop)
    : folders_(folders),
      tree_(std::move(tree)),
      opener_(tree_, folders.empty() ? std::string() : folders[0]),
      masks_(std::move(masks)),
      stop_(stop) {}

bool DocumentReader::Stopped() const {
  return stop_ && stop_->load(std::memory_order_relaxed);
}

int DocumentReader::Folder() {
  if (folder_fd_ >= 0 || folder_failed_) return folder_fd_;
  folder_fd_ = opener_.Open(folder_);
  if (folder_fd_ < 0) {
    folder_failed_ = true;
    if (errno != 0) failure_ = FolderFailureMessage(folders_[folder_], errno, false);
  }
  return folder_fd_;
}

void DocumentReader::ListFolder() {
  listed_ = true;
  const FolderPlace& place = tree_.places[folder_];
  if (place.error != 0) {
    failure_ = FolderFailureMessage(folders_[folder_], place.error, place.opened);
    if (!place.opened) return;  // nothing of it is known
  }
  std::vector<FolderEntry> entries;
  const bool walked = folder_ < tree_.listings.size();
  if (walked) entries = std::move(tree_.listings[folder_]);
  if (!walked || NeedsLookUp(entries)) {
    if (Folder() < 0) return;
    if (!walked) {
      if (const int error = ReadFolderEntriesAt(folder_fd_, entries); error != 0)
        failure_ = FolderFailureMessage(folders_[folder_], error, true);
    }
  }
  names_ = FilesAmong(folder_fd_, std::move(entries), masks_);
}

void DocumentReader::Fail(Item& item, const std::string& name, std::string failure) {
  item.folder_start = false;
  item.folder = folder_;
  item.name = name;
  item.percent = 0;
  item.failure = std::move(failure);
  item.document.Clear();
}

bool DocumentReader::Next(Item& item) {
  for (;;) {
    if (Stopped()) return false;
    if (!in_folder_) {
      if (folder_ == folders_.size()) return false;
      names_.clear();
      next_name_ = 0;
      in_folder_ = true;
      listed_ = false;
      folder_fd_ = -1;
      folder_failed_ = false;
      item.folder_start = true;
      item.folder = folder_;
      item.name.clear();
      item.percent = 0;
      item.failure.clear();
      item.document.Clear();
      return true;
    }
    if (!listed_) ListFolder();
    if (!failure_.empty()) {
      Fail(item, folders_[folder_], std::exchange(failure_, {}));
      return true;
    }
    while (!folder_failed_ && next_name_ < names_.size()) {
      const size_t i = next_name_++;
      if (Stopped()) return false;
      if (!IsDocumentFile(names_[i])) continue;
      if (Folder() < 0) break;  // its failure is told next
      const ReadResult result = item.document.ReadAt(folder_fd_, names_[i]);
      item.folder_start = false;
      item.folder = folder_;
      item.name = names_[i];
      item.percent = static_cast<int>(100 * i / names_.size());
      item.failure.clear();
      if (!result.ok()) {
        item.document.Clear();
        item.failure =
            ReadFailureMessage(JoinPath(folders_[folder_], names_[i]), result, kDocumentLimit);
      }
      return true;
    }
    if (!failure_.empty()) continue;
    in_folder_ = false;
    ++folder_;
  }
}

}  // namespace pagelathe
