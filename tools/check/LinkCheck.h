// The link check: every distinct link of a LinkSet checked once, remote ones concurrently on
// one thread (libcurl's multi interface: no thread per link), local ones as files. Polite and
// bounded: only HEAD and GET (and robots.txt when asked), at most `max_connections` in all and
// `per_host` to one host, connections reused, no cookies kept, no body read past the header
// unless the fragment check needs it (then at most 8 MiB).
//
// How a remote link is checked: HEAD first; GET, stopped after the header, when the server
// refuses HEAD or answers it with 4xx/5xx. Redirects are followed up to `max_redirects` hops,
// the chain kept (a loop is broken). 429 and 503 are retried after their Retry-After (seconds
// or an HTTP date, at most 60 s) or after a capped backoff with jitter, up to `retries` times.
// Which link is asked when, and which are given up unasked after a whole round of time-outs:
// CheckQueue.h.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "net/Tls.h"
#include "tools/check/LinkSet.h"

namespace pagelathe {

class CheckCache;

// The status codes that count as success: "200..299,403" (ranges and single codes).
class AcceptCodes {
 public:
  AcceptCodes();  // 200..299
  // Raises std::invalid_argument naming the part that is not a code or a range of codes.
  [[nodiscard]] static AcceptCodes Parse(const std::string& text);
  [[nodiscard]] bool Accepts(int code) const;

 private:
  std::vector<std::pair<int, int>> ranges_;
};

// A browser's User-Agent: sites that turn away unknown robots answer it as they answer people.
inline constexpr const char* kDefaultUserAgent =
    "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/124.0 Safari/537.36 BrevanothPagelathe/1.51";

struct CheckOptions {
  double timeout_s = 20;          // a whole request
  double connect_timeout_s = 10;  // its connection
  int max_connections = 64;
  int per_host = 8;
  int retries = 2;  // of a 429 or 503
  int max_redirects = 10;
  double max_retry_wait_s = 60;  // the cap of Retry-After and of the backoff
  std::string user_agent = kDefaultUserAgent;
  AcceptCodes accept;
  std::vector<std::regex> exclude;  // a link matching one (anywhere) is excluded
  TlsOptions tls;
  bool fragments = false;  // check #fragments against the anchors of their targets
  bool robots = false;     // obey the robots.txt of each host (for our User-Agent)
};

struct CheckCallbacks {
  // Link `index` has its result. On the thread that runs Check.
  std::function<void(size_t index)> checked;
};

// Checks every link of `links` that is not checked yet, in place. Links that `cache` holds a
// fresh success for are taken from it (and marked cached); every success of this run goes
// into it. Returns when all are checked, or soon after `stop` is set (the rest then stay
// unchecked). Local links are looked up as files (see LocalCheck.h).
void CheckLinks(LinkSet& links, const CheckOptions& options, const CheckCallbacks& callbacks,
                const std::atomic<bool>* stop = nullptr, CheckCache* cache = nullptr);

// The state of a final HTTP answer: `code` after `redirects` redirects, with the response's
// header lines (for the challenge headers of bot walls). Exposed for the tests.
[[nodiscard]] LinkState StateOfAnswer(int code, int redirects, bool challenge,
                                      const AcceptCodes& accept);

// The seconds to wait before retry `attempt` (1, 2 ...) of a 429 or 503: the Retry-After
// value (seconds or an HTTP date, relative to `now`), else 1 s doubled per attempt with up to
// a quarter of jitter; never more than `cap`. `jitter` is a number in [0, 1).
[[nodiscard]] double RetryDelay(const std::string& retry_after, int attempt, double cap,
                                long long now, double jitter);

}  // namespace pagelathe
