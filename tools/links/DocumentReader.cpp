// Reading the documents of a search, one after the other into one reused buffer.
#include "tools/links/DocumentReader.h"

#include <fcntl.h>

#include <cerrno>
#include <utility>

#include "platform/FileIO.h"
#include "platform/Letters.h"

namespace pagelathe {

const char* const kDocumentExtensions[6] = {".txt", ".htm", ".html", ".shtm", ".shtml", ".php"};

bool IsDocumentFile(std::string_view name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string extension = AsciiLowerCase(name.substr(dot));
  for (const char* known : kDocumentExtensions)
    if (extension == known) return true;
  return false;
}

DocumentReader::DocumentReader(const TextList& folders, std::string masks,
                               const std::atomic<bool>* stop,
                               std::vector<std::vector<FolderEntry>> listings)
    : folders_(folders), listings_(std::move(listings)), masks_(std::move(masks)), stop_(stop) {}

bool DocumentReader::Stopped() const {
  return stop_ && stop_->load(std::memory_order_relaxed);
}

bool DocumentReader::Next(Item& item) {
  for (;;) {
    if (Stopped()) return false;
    if (!in_folder_) {
      if (folder_ == folders_.size()) return false;
      const std::string& folder = folders_[folder_];
      names_ = folder_ < listings_.size()
                   ? FilesAmong(folder, std::move(listings_[folder_]), masks_)
                   : ListFiles(folder, masks_);
      next_name_ = 0;
      in_folder_ = true;
      folder_error_ = 0;
      item.folder_start = true;
      item.folder = folder_;
      item.name.clear();
      item.percent = 0;
      item.failure.clear();
      item.document.Clear();
      return true;
    }
    while (next_name_ < names_.size()) {
      const size_t i = next_name_++;
      if (Stopped()) return false;
      if (!IsDocumentFile(names_[i])) continue;
      if (folder_fd_.get() < 0 && folder_error_ == 0) {
        // Opened at its first document: most folders hold none.
        folder_fd_.reset(::open(folders_[folder_].c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder_fd_.get() < 0) folder_error_ = errno;
      }
      const ReadResult result = folder_error_ != 0
                                    ? ReadResult{ReadStatus::kCannotOpen, folder_error_}
                                    : item.document.ReadAt(folder_fd_.get(), names_[i]);
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
    folder_fd_.reset();
    in_folder_ = false;
    ++folder_;
  }
}

}  // namespace pagelathe
