// Writing a command's result.
#include "cli/Output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cli/Interrupt.h"
#include "platform/Errors.h"

namespace pagelathe::cli {
namespace {

constexpr size_t kBufferLimit = 1 << 18;

}  // namespace

Output::Output() : name_("standard output"), fd_(STDOUT_FILENO) {}

Output::Output(const std::string& path) : name_(path) {
  if (path == "-") {
    name_ = "standard output";
    fd_ = STDOUT_FILENO;
    return;
  }
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
    // A device, a FIFO or a terminal: written as it is. O_NONBLOCK only for the open, so that
    // a FIFO without a reader is reported instead of waited on for ever.
    owned_.reset(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (owned_.get() < 0)
      throw EFileError("Cannot open file \"" + path + "\". " + std::strerror(errno));
    const int flags = ::fcntl(owned_.get(), F_GETFL);
    if (flags >= 0) ::fcntl(owned_.get(), F_SETFL, flags & ~O_NONBLOCK);
    fd_ = owned_.get();
    return;
  }
  file_ = std::make_unique<AtomicFile>(path);  // a folder is refused there, naming it
}

Output::~Output() = default;  // an uncommitted AtomicFile removes its temporary file

void Output::Write(std::string_view bytes) {
  if (buffer_.size() + bytes.size() > kBufferLimit) {
    Flush();
    if (bytes.size() >= kBufferLimit) {
      if (file_) {
        file_->Write(bytes);
      } else {
        WriteDirect(bytes);
      }
      return;
    }
  }
  buffer_.append(bytes);
}

void Output::Flush() {
  if (buffer_.empty()) return;
  if (file_) {
    file_->Write(buffer_);
  } else {
    WriteDirect(buffer_);
  }
  buffer_.clear();
}

void Output::WriteDirect(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) {
        ThrowIfInterrupted();
        continue;
      }
      throw EFileError("Cannot write file \"" + name_ + "\". " + std::strerror(errno));
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

void Output::Commit() {
  Flush();
  if (file_) file_->Commit();
}

}  // namespace pagelathe::cli
