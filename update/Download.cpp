// DownloadFile on libcurl, streaming the body into the file's replacement (platform/AtomicFile.h).
#include "update/Download.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string_view>

#include "net/Curl.h"
#include "platform/AtomicFile.h"
#include "platform/Errors.h"

namespace pagelathe {
namespace {

struct Sink {
  AtomicFile* file = nullptr;
  uint64_t limit = 0;  // 0: none
  uint64_t written = 0;
  std::string error;  // the message of a failed write
};

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
  auto* sink = static_cast<Sink*>(user);
  const size_t total = size * count;
  sink->written += total;
  if (sink->limit != 0 && sink->written > sink->limit) return 0;  // curl stops: the answer fails
  try {
    sink->file->Write(std::string_view(data, total));
  } catch (const EFileError& error) {  // nothing may be thrown through curl
    sink->error = error.what();
    return 0;
  }
  return total;
}

int CheckStop(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const auto* stop = static_cast<const std::atomic<bool>*>(user);
  return stop != nullptr && stop->load() ? 1 : 0;
}

std::string CleanHeaderValue(std::string value) {
  for (char& c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = ' ';
  }
  return value;
}

struct CurlDeleter {
  void operator()(CURL* curl) const { Curl().easy_cleanup(curl); }
};
struct HeaderListDeleter {
  void operator()(curl_slist* list) const { Curl().slist_free_all(list); }
};

}  // namespace

bool DownloadFile(const std::string& url, const std::string& path, const DownloadOptions& options) {
  const CurlLibrary* library = nullptr;
  try {
    library = &Curl();
  } catch (const std::runtime_error&) {
    return false;  // no libcurl: nothing can be downloaded
  }
  const CurlLibrary& lib = *library;
  std::unique_ptr<CURL, CurlDeleter> curl(lib.easy_init());
  if (!curl) return false;

  // Gone with the writer unless the whole answer came: the old file then stays as it was.
  AtomicFile file(path);
  Sink sink;
  sink.file = &file;
  sink.limit = options.max_bytes;

  curl_slist* list = lib.slist_append(nullptr, "Cache-Control: no-cache");
  if (list != nullptr) {
    curl_slist* longer = lib.slist_append(list, "Pragma: no-cache");
    if (longer != nullptr) list = longer;
  }
  const std::unique_ptr<curl_slist, HeaderListDeleter> headers(list);
  const std::string agent = CleanHeaderValue(options.agent);

  CURL* c = curl.get();
  lib.easy_setopt(c, CURLOPT_URL, url.c_str());
  lib.easy_setopt(c, CURLOPT_USERAGENT, agent.c_str());
  lib.easy_setopt(c, CURLOPT_PROXY, "");  // direct, even when *_proxy variables are set
  lib.easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
  lib.easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  lib.easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  lib.easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  lib.easy_setopt(c, CURLOPT_MAXREDIRS, 20L);
  lib.easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  lib.easy_setopt(c, CURLOPT_CONNECTTIMEOUT, options.connect_seconds);
  lib.easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
  lib.easy_setopt(c, CURLOPT_LOW_SPEED_TIME, options.stall_seconds);
  lib.easy_setopt(c, CURLOPT_WRITEFUNCTION, &WriteBody);
  lib.easy_setopt(c, CURLOPT_WRITEDATA, &sink);
  lib.easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  lib.easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &CheckStop);
  lib.easy_setopt(c, CURLOPT_XFERINFODATA, options.stop);

  const CURLcode code = lib.easy_perform(c);
  if (!sink.error.empty()) throw EFileError(sink.error);
  if (code != CURLE_OK) return false;
  file.Commit();
  return true;
}

}  // namespace pagelathe
