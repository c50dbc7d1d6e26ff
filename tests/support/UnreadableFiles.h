// Files a job must skip instead of waiting on or reading for ever: a pipe, a link to an endless
// device and a huge sparse file, made under the names a listing gave before they were put there;
// and folders that cannot be read, for root as for anyone.
#pragma once

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/TempFolder.h"

namespace pagelathe::testing {

struct UnreadableFile {
  std::string name;
  const char* kind;
};

// Makes `folder` + each name: a FIFO, a symbolic link to /dev/zero and a sparse file of 1 TB
// (2 GiB where the file system takes no such size; both are over every read limit).
inline std::vector<UnreadableFile> MakeUnreadableFiles(const std::string& folder,
                                                       const std::string& extension) {
  const std::vector<UnreadableFile> files = {{"fifo" + extension, "a pipe"},
                                             {"zero" + extension, "a link to /dev/zero"},
                                             {"sparse" + extension, "a sparse file of 1 TB"}};
  ::mkfifo((folder + files[0].name).c_str(), 0600);
  [[maybe_unused]] const int linked = ::symlink("/dev/zero", (folder + files[1].name).c_str());
  const int fd = ::open((folder + files[2].name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (::ftruncate(fd, off_t{1} << 40) != 0) {
    [[maybe_unused]] const int smaller = ::ftruncate(fd, off_t{2} << 30);
  }
  ::close(fd);
  return files;
}

// While alive, makes sure that a reader blocked in open() on the FIFO `path` cannot hang the
// test: after a generous wait the FIFO gets a writer, which ends such a blocking open (the
// test then fails on what it finds, instead of never ending).
class FifoWatchdog {
 public:
  explicit FifoWatchdog(std::string path) : path_(std::move(path)) {
    thread_ = std::thread([this] {
      std::unique_lock lock(mutex_);
      if (done_condition_.wait_for(lock, std::chrono::seconds(60), [this] { return done_; }))
        return;
      const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) ::close(fd);
    });
  }
  ~FifoWatchdog() {
    {
      const std::lock_guard lock(mutex_);
      done_ = true;
    }
    done_condition_.notify_all();
    thread_.join();
  }
  FifoWatchdog(const FifoWatchdog&) = delete;
  FifoWatchdog& operator=(const FifoWatchdog&) = delete;

 private:
  std::string path_;
  std::mutex mutex_;
  std::condition_variable done_condition_;
  bool done_ = false;
  std::thread thread_;
};

// While alive, the calling thread (and the threads it starts meanwhile) opens folders as any
// user does: root's power to read a folder without read permission (CAP_DAC_OVERRIDE and
// CAP_DAC_READ_SEARCH) leaves its effective set and comes back at the end. So a folder with no
// permissions is unreadable for real in a test run as root too. (The sets of one thread only:
// the raw calls, which the C library's wrappers would apply to the whole process.)
class WithoutReadOverride {
 public:
  WithoutReadOverride() {
    header_.version = _LINUX_CAPABILITY_VERSION_3;
    ::syscall(SYS_capget, &header_, saved_);
    __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
    lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    ::syscall(SYS_capset, &header_, lowered);
  }
  ~WithoutReadOverride() { ::syscall(SYS_capset, &header_, saved_); }
  WithoutReadOverride(const WithoutReadOverride&) = delete;
  WithoutReadOverride& operator=(const WithoutReadOverride&) = delete;

 private:
  __user_cap_header_struct header_{};
  __user_cap_data_struct saved_[2]{};
};

}  // namespace pagelathe::testing
