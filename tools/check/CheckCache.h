// The cache of a check between runs: the successes (ok and redirected, with their code and
// final URL) of earlier runs with the time each was checked, in one text file beside the
// settings. A success younger than the maximum age is reused; a failure is never kept, so a
// link is called broken only when it fails now.
#pragma once

#include <string>
#include <unordered_map>

#include "tools/check/LinkSet.h"

namespace pagelathe {

class CheckCache {
 public:
  // Reads `path` (a missing file is an empty cache; lines that cannot be read are dropped).
  CheckCache(std::string path, long long max_age_s, long long now);

  // Takes a fresh success for `link` (by its target) into it; false when there is none.
  bool Fill(CheckedLink& link) const;
  // Keeps a success (ok or redirected, not local) as checked at the cache's `now`, the time
  // its age is measured from; forgets a failure.
  void Store(const CheckedLink& link);
  // Writes the file (through AtomicFile), dropping stale entries. Raises EFileError.
  void Save() const;

  [[nodiscard]] size_t size() const { return entries_.size(); }

 private:
  struct Entry {
    long long time = 0;
    LinkState state = LinkState::kOk;
    int code = 0;
    bool permanent = false;
    std::string final_url;
  };
  std::string path_;
  long long max_age_s_;
  long long now_;
  std::unordered_map<std::string, Entry> entries_;
};

// "1d", "12h", "30m", "45s", "2w" or a number of seconds: the seconds. Raises
// std::invalid_argument for anything else.
[[nodiscard]] long long ParseDuration(const std::string& text);

}  // namespace pagelathe
