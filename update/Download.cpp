// DownloadFile on libcurl, streaming the body into a temporary file beside the target.
#include "update/Download.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/Errors.h"

namespace pagelathe {
namespace {

struct Sink {
  int fd = -1;
  int error = 0;  // errno of a failed write
};

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
  auto* sink = static_cast<Sink*>(user);
  const size_t total = size * count;
  size_t written = 0;
  while (written < total) {
    const ssize_t n = ::write(sink->fd, data + written, total - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      sink->error = errno;
      return 0;  // curl stops with CURLE_WRITE_ERROR
    }
    written += static_cast<size_t>(n);
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

[[noreturn]] void FailFile(const std::string& path, int error) {
  throw EFileError("Cannot write file \"" + path + "\". " + std::strerror(error));
}

// The permissions of the file we replace, or those a new file would get. The umask is read
// from /proc rather than through umask(), which would change it for every thread for a moment.
mode_t ModeFor(const std::string& path) {
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) return old.st_mode & 07777;
  mode_t mask = 022;
  if (FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    unsigned value = 0;
    while (std::fgets(line, sizeof line, status) != nullptr) {
      if (std::sscanf(line, "Umask: %o", &value) == 1) {
        mask = static_cast<mode_t>(value);
        break;
      }
    }
    std::fclose(status);
  }
  return 0666 & ~mask;
}

struct CurlDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct HeaderListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

bool DownloadFile(const std::string& url, const std::string& path, const DownloadOptions& options) {
  static std::once_flag global_init;
  std::call_once(global_init, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

  std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
  if (!curl) return false;

  std::string temp = path + ".tmp-XXXXXX";
  Sink sink;
  sink.fd = ::mkstemp(temp.data());
  if (sink.fd < 0) FailFile(path, errno);
  ::fchmod(sink.fd, ModeFor(path));

  curl_slist* list = curl_slist_append(nullptr, "Cache-Control: no-cache");
  if (list != nullptr) {
    curl_slist* longer = curl_slist_append(list, "Pragma: no-cache");
    if (longer != nullptr) list = longer;
  }
  const std::unique_ptr<curl_slist, HeaderListDeleter> headers(list);
  const std::string agent = CleanHeaderValue(options.agent);

  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_USERAGENT, agent.c_str());
  curl_easy_setopt(c, CURLOPT_PROXY, "");  // direct, even when *_proxy variables are set
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(c, CURLOPT_MAXREDIRS, 20L);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, options.connect_seconds);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, options.stall_seconds);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &WriteBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
  curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &CheckStop);
  curl_easy_setopt(c, CURLOPT_XFERINFODATA, options.stop);

  const CURLcode code = curl_easy_perform(c);
  const int close_result = ::close(sink.fd);
  const int close_error = errno;
  if (sink.error != 0 || (code == CURLE_OK && close_result != 0)) {
    ::unlink(temp.c_str());
    FailFile(path, sink.error != 0 ? sink.error : close_error);
  }
  if (code != CURLE_OK) {
    ::unlink(temp.c_str());
    return false;
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    FailFile(path, error);
  }
  return true;
}

}  // namespace pagelathe
