// Fetching one address into a file over HTTP, through libcurl: the update check's download.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace pagelathe {

struct DownloadOptions {
  // Sent as the User-Agent; control characters become blanks so that no header can be forged.
  std::string agent;
  // When set, a running download is broken off as soon as it turns true.
  const std::atomic<bool>* stop = nullptr;
  // A server that accepts the connection and then sends nothing for this long counts as
  // unreachable, so a check never hangs for good.
  long stall_seconds = 60;
  long connect_seconds = 30;
  // An answer longer than this many bytes counts as broken off (0: no limit).
  uint64_t max_bytes = 0;
};

// Fetches `url` with a plain GET: no proxy (whatever the environment says), no cached copy
// (the request asks every cache for a fresh answer), redirects followed, http and https only.
// The body, whatever the status (an error page too), replaces the file at `path` in one step,
// through an AtomicFile (platform/AtomicFile.h): a link is followed, the permissions kept.
// Gives false when the address cannot be opened or the answer breaks off (or passes
// max_bytes); the old file then stays as it was. Raises EFileError naming `path` when the file
// cannot be written.
[[nodiscard]] bool DownloadFile(const std::string& url, const std::string& path,
                                const DownloadOptions& options = {});

}  // namespace pagelathe
