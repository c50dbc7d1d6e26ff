// The link check engine: one libcurl multi handle, our own queue per host (so a slow host
// holds no slot another host could use), redirects followed by hand to keep their chain and
// see their loops, retries of 429 and 503 held in a timer heap rather than in a connection.
#include "tools/check/LinkCheck.h"

#include <curl/curl.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <deque>
#include <memory>
#include <queue>
#include <random>
#include <stdexcept>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "tools/check/CheckCache.h"
#include "tools/check/HtmlScan.h"
#include "tools/check/Robots.h"

namespace pagelathe {
namespace {

constexpr size_t kMaxBody = size_t{8} << 20;      // what the fragment check reads of a page
constexpr size_t kMaxRobots = size_t{512} << 10;  // of a robots.txt

using Clock = std::chrono::steady_clock;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  return true;
}

bool IsWebUrl(std::string_view url) {
  return StartsWithNoCase(url, "http://") || StartsWithNoCase(url, "https://");
}

// "https://host:port" of a URL, lower-cased: the unit of the per-host limit.
std::string HostKey(std::string_view url) {
  const size_t scheme = url.find("://");
  const size_t start = scheme == std::string_view::npos ? 0 : scheme + 3;
  size_t end = url.find_first_of("/?#", start);
  if (end == std::string_view::npos) end = url.size();
  std::string key(url.substr(0, end));
  for (char& c : key)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

std::string Seconds(double s) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", s);
  return text;
}

// A local link: the file (a folder means its index file), then its anchor.
void CheckLocal(CheckedLink& link, bool fragments) {
  link.checked = true;
  std::string path = link.target;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    link.state = LinkState::kBroken;
    link.message = "no such file: " + path;
    return;
  }
  if (S_ISDIR(info.st_mode)) {
    if (path.back() != '/') path += '/';
    bool found = false;
    for (const char* index : {"index.html", "index.htm", "index.shtml", "index.php"}) {
      if (::stat((path + index).c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        path += index;
        found = true;
        break;
      }
    }
    if (!found) {
      link.state = LinkState::kBroken;
      link.message = "the folder has no index file: " + path;
      return;
    }
  }
  link.state = LinkState::kOk;
  link.final_url = path == link.target ? std::string() : path;
  if (!fragments || link.fragment.empty()) return;
  std::string bytes;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[65536];
    size_t got = 0;
    while (bytes.size() < kMaxBody && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
      bytes.append(buffer, got);
    std::fclose(file);
  }
  const std::vector<std::string> anchors = ScanHtmlAnchors(bytes);
  if (!std::binary_search(anchors.begin(), anchors.end(), link.fragment)) {
    link.state = LinkState::kBroken;
    link.message = "no anchor #" + link.fragment + " in " + path;
  }
}

// One target (a URL without its fragment) and the links that share it.
struct Group {
  std::string url;
  std::vector<size_t> links;
  bool want_body = false;
};

struct Host {
  std::deque<size_t> pending;  // jobs waiting for a slot
  int active = 0;
  bool queued = false;  // in the ready list
  int timeouts_in_a_row = 0;
  bool answered = false;
  bool robots_checked = false;
  bool robots_running = false;
  std::deque<size_t> waiting_for_robots;
  RobotsRules robots;
};

struct Job {
  size_t id = 0;  // its place in the engine's job table
  size_t group = 0;
  std::string url;  // this hop
  bool get = false;
  bool tried_get = false;
  bool robots = false;  // this job fetches a host's robots.txt
  int attempt = 0;      // retries of 429/503 done
  int hops = 0;
  bool permanent = true;
  std::vector<std::string> chain;
  std::unordered_set<std::string> seen;
  std::string host;
  // Of the response being read.
  bool challenge = false;
  std::string retry_after;
  std::string body;
  bool stopped_by_us = false;
  bool keep_body = false;
  char error[CURL_ERROR_SIZE] = {};
  CURL* easy = nullptr;
};

class Engine {
 public:
  Engine(LinkSet& links, const CheckOptions& options, const CheckCallbacks& callbacks,
         const std::atomic<bool>* stop, CheckCache* cache)
      : links_(links),
        options_(options),
        callbacks_(callbacks),
        stop_(stop),
        cache_(cache),
        random_(std::random_device{}()) {}
  ~Engine() {
    for (auto& job : jobs_)
      if (job && job->easy) {
        curl_multi_remove_handle(multi_, job->easy);
        curl_easy_cleanup(job->easy);
      }
    if (multi_) curl_multi_cleanup(multi_);
  }

  void Run();

 private:
  bool Stopped() const { return stop_ && stop_->load(std::memory_order_relaxed); }
  void Done(size_t index) {
    links_[index].checked = true;
    if (cache_ && !links_[index].cached) cache_->Store(links_[index], std::time(nullptr));
    if (callbacks_.checked) callbacks_.checked(index);
  }
  void Queue(size_t job_id);
  void Fill();
  void Start(size_t job_id);
  void Finished(CURL* easy, CURLcode result);
  void Conclude(Job& job, LinkState state, int code, std::string message);
  void Release(size_t job_id);
  void RobotsDone(Job& job, int code);

  static size_t OnHeader(char* data, size_t size, size_t count, void* user);
  static size_t OnBody(char* data, size_t size, size_t count, void* user);
  static CURLcode OnSslContext(CURL*, void* context, void* user);

  LinkSet& links_;
  const CheckOptions& options_;
  const CheckCallbacks& callbacks_;
  const std::atomic<bool>* stop_;
  CheckCache* cache_;
  CURLM* multi_ = nullptr;
  std::vector<Group> groups_;
  std::vector<std::unique_ptr<Job>> jobs_;
  std::vector<size_t> free_jobs_;
  std::unordered_map<std::string, Host> hosts_;
  std::deque<std::string> ready_;
  int active_ = 0;
  size_t unfinished_ = 0;  // jobs not concluded
  using Delayed = std::pair<Clock::time_point, size_t>;
  std::priority_queue<Delayed, std::vector<Delayed>, std::greater<>> delayed_;
  std::minstd_rand random_;
};

size_t Engine::OnHeader(char* data, size_t size, size_t count, void* user) {
  Job& job = *static_cast<Job*>(user);
  const std::string_view line(data, size * count);
  if (line.starts_with("HTTP/")) {  // a new response (after a 100 Continue, say)
    job.challenge = false;
    job.retry_after.clear();
  } else if (StartsWithNoCase(line, "cf-mitigated:") &&
             line.find("challenge") != std::string_view::npos) {
    job.challenge = true;
  } else if (StartsWithNoCase(line, "retry-after:")) {
    std::string_view value = line.substr(12);
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
      value.remove_prefix(1);
    while (!value.empty() && (value.back() == '\r' || value.back() == '\n' || value.back() == ' '))
      value.remove_suffix(1);
    job.retry_after.assign(value);
  }
  return size * count;
}

size_t Engine::OnBody(char* data, size_t size, size_t count, void* user) {
  Job& job = *static_cast<Job*>(user);
  const size_t bytes = size * count;
  const size_t most = job.robots ? kMaxRobots : kMaxBody;
  if (job.keep_body) {
    job.body.append(data, std::min(bytes, most - job.body.size()));
    if (job.body.size() < most) return bytes;
  }
  // The header is all a check needs (or the body has what it may read): stop here.
  job.stopped_by_us = true;
  return CURL_WRITEFUNC_ERROR;
}

CURLcode Engine::OnSslContext(CURL*, void* context, void* user) {
  try {
    // libcurl has loaded the system's store (and keeps it, CURLOPT_CA_CACHE_TIMEOUT).
    AddExtraAuthorities(static_cast<SSL_CTX*>(context), *static_cast<const TlsOptions*>(user));
    return CURLE_OK;
  } catch (const std::exception&) {
    return CURLE_SSL_CACERT_BADFILE;
  }
}

void Engine::Queue(size_t job_id) {
  Job& job = *jobs_[job_id];
  job.host = HostKey(job.url);
  Host& host = hosts_[job.host];
  if (options_.robots && !job.robots && !host.robots_checked) {
    host.waiting_for_robots.push_back(job_id);
    if (!host.robots_running) {
      host.robots_running = true;
      size_t id;
      if (!free_jobs_.empty()) {
        id = free_jobs_.back();
        free_jobs_.pop_back();
        jobs_[id] = std::make_unique<Job>();
      } else {
        id = jobs_.size();
        jobs_.push_back(std::make_unique<Job>());
      }
      Job& robots = *jobs_[id];
      robots.id = id;
      robots.robots = true;
      robots.get = true;
      robots.url = job.host + "/robots.txt";
      robots.host = job.host;
      host.pending.push_front(id);
      if (!host.queued) {
        host.queued = true;
        ready_.push_back(job.host);
      }
    }
    return;
  }
  host.pending.push_back(job_id);
  if (!host.queued) {
    host.queued = true;
    ready_.push_back(job.host);
  }
}

void Engine::Fill() {
  const auto now = Clock::now();
  while (!delayed_.empty() && delayed_.top().first <= now) {
    const size_t id = delayed_.top().second;
    delayed_.pop();
    Queue(id);
  }
  size_t tries = ready_.size();
  while (active_ < options_.max_connections && !ready_.empty() && tries-- > 0) {
    const std::string key = std::move(ready_.front());
    ready_.pop_front();
    Host& host = hosts_[key];
    host.queued = false;
    while (active_ < options_.max_connections && host.active < options_.per_host &&
           !host.pending.empty()) {
      const size_t id = host.pending.front();
      host.pending.pop_front();
      // A host that answered none of a whole round of requests will answer no more: its other
      // links are timed out at once rather than one time-out after another.
      if (!jobs_[id]->robots && !host.answered &&
          host.timeouts_in_a_row >= std::max(2, options_.per_host)) {
        Conclude(*jobs_[id], LinkState::kTimeout, 0,
                 "the host answered none of " + std::to_string(host.timeouts_in_a_row) +
                     " requests within the time-out");
        Release(id);
        continue;
      }
      Start(id);
    }
    if (!host.pending.empty() && !host.queued) {
      host.queued = true;
      ready_.push_back(key);
    }
  }
}

void Engine::Start(size_t job_id) {
  Job& job = *jobs_[job_id];
  CURL* easy = curl_easy_init();
  if (easy == nullptr) throw std::runtime_error("libcurl cannot make a transfer");
  job.easy = easy;
  job.challenge = false;
  job.retry_after.clear();
  job.stopped_by_us = false;
  job.error[0] = '\0';
  job.body.clear();
  job.keep_body = job.robots || (job.get && groups_[job.group].want_body);
  curl_easy_setopt(easy, CURLOPT_URL, job.url.c_str());
  curl_easy_setopt(easy, CURLOPT_PRIVATE, &job);
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  if (job.get) {
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
  } else {
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
  }
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(easy, CURLOPT_USERAGENT, options_.user_agent.c_str());
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS,
                   static_cast<long>(options_.connect_timeout_s * 1000));
  curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(options_.timeout_s * 1000));
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Engine::OnHeader);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, &job);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Engine::OnBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &job);
  curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, job.error);
  curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, &Engine::OnSslContext);
  curl_easy_setopt(easy, CURLOPT_SSL_CTX_DATA, &options_.tls);
  curl_easy_setopt(easy, CURLOPT_CA_CACHE_TIMEOUT, 86400L);
  static const struct curl_slist* const headers = [] {
    curl_slist* list = curl_slist_append(
        nullptr, "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8");
    return curl_slist_append(list, "Accept-Language: en;q=0.9,*;q=0.5");
  }();
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
  curl_multi_add_handle(multi_, easy);
  ++active_;
  ++hosts_[job.host].active;
}

void Engine::Conclude(Job& job, LinkState state, int code, std::string message) {
  --unfinished_;
  Group& group = groups_[job.group];
  const bool body_read = job.get && group.want_body && !job.body.empty();
  std::vector<std::string> anchors;
  if (body_read && state != LinkState::kBroken) anchors = ScanHtmlAnchors(job.body);
  for (const size_t index : group.links) {
    CheckedLink& link = links_[index];
    link.state = state;
    link.code = code;
    link.message = message;
    link.chain = job.chain;
    link.permanent = job.hops > 0 && job.permanent;
    link.final_url = job.hops > 0 ? job.url : std::string();
    if (options_.fragments && !link.fragment.empty() &&
        (state == LinkState::kOk || state == LinkState::kRedirected) && body_read &&
        !std::binary_search(anchors.begin(), anchors.end(), link.fragment)) {
      link.state = LinkState::kBroken;
      link.message = "no anchor #" + link.fragment + " on the page";
    }
    Done(index);
  }
}

void Engine::Release(size_t job_id) {
  jobs_[job_id].reset();
  free_jobs_.push_back(job_id);
}

void Engine::RobotsDone(Job& job, int code) {
  Host& host = hosts_[job.host];
  host.robots_checked = true;
  host.robots_running = false;
  if (code >= 200 && code < 300) host.robots = ParseRobots(job.body, options_.user_agent);
  for (const size_t id : host.waiting_for_robots) {
    Job& waiting = *jobs_[id];
    const std::string path = waiting.url.substr(std::min(waiting.url.size(), job.host.size()));
    if (!host.robots.Allows(path.empty() ? "/" : path)) {
      Conclude(waiting, LinkState::kExcluded, 0, "disallowed by the host's robots.txt");
      Release(id);
    } else {
      host.pending.push_back(id);
    }
  }
  host.waiting_for_robots.clear();
  if (!host.pending.empty() && !host.queued) {
    host.queued = true;
    ready_.push_back(job.host);
  }
}

void Engine::Finished(CURL* easy, CURLcode result) {
  Job* job_pointer = nullptr;
  curl_easy_getinfo(easy, CURLINFO_PRIVATE, reinterpret_cast<char**>(&job_pointer));
  Job& job = *job_pointer;
  const size_t job_id = job.id;
  long code = 0;
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &code);
  const char* location = nullptr;
  curl_easy_getinfo(easy, CURLINFO_REDIRECT_URL, &location);
  const std::string next = location != nullptr ? location : "";
  long connected = 0;
  curl_easy_getinfo(easy, CURLINFO_CONNECT_TIME_T, &connected);
  curl_multi_remove_handle(multi_, easy);
  curl_easy_cleanup(easy);
  job.easy = nullptr;
  --active_;
  Host& host = hosts_[job.host];
  --host.active;
  if (!host.pending.empty() && !host.queued) {
    host.queued = true;
    ready_.push_back(job.host);
  }

  const bool answered = code > 0 && (result == CURLE_OK || job.stopped_by_us);
  if (job.robots) {
    RobotsDone(job, answered ? static_cast<int>(code) : 0);
    Release(job_id);
    return;
  }
  if (!answered) {
    const std::string why = job.error[0] != '\0' ? job.error : curl_easy_strerror(result);
    if (result == CURLE_OPERATION_TIMEDOUT) {
      ++host.timeouts_in_a_row;
      const bool no_connection = connected == 0;
      Conclude(job, LinkState::kTimeout, 0,
               no_connection ? "no connection within " + Seconds(options_.connect_timeout_s) + " s"
                             : "no answer within " + Seconds(options_.timeout_s) + " s");
      return Release(job_id);
    }
    host.timeouts_in_a_row = 0;
    // A server that drops a HEAD may well answer a GET.
    if (!job.get && (result == CURLE_GOT_NOTHING || result == CURLE_RECV_ERROR ||
                     result == CURLE_PARTIAL_FILE || result == CURLE_WEIRD_SERVER_REPLY)) {
      job.get = true;
      job.tried_get = true;
      Queue(job_id);
      return;
    }
    std::string message = why;
    if (result == CURLE_RECV_ERROR || result == CURLE_SEND_ERROR)
      message = "the connection was reset: " + why;
    else if (result == CURLE_GOT_NOTHING)
      message = "the server closed the connection without an answer";
    else if (result == CURLE_PEER_FAILED_VERIFICATION || result == CURLE_SSL_CONNECT_ERROR ||
             result == CURLE_SSL_CACERT_BADFILE || result == CURLE_SSL_CERTPROBLEM)
      message = "TLS: " + why;
    Conclude(job, LinkState::kBroken, static_cast<int>(code), message);
    return Release(job_id);
  }
  host.timeouts_in_a_row = 0;
  host.answered = true;
  const int status = static_cast<int>(code);
  // 429 and 503: wait as the server asks (or back off), then ask again.
  if ((status == 429 || status == 503) && job.attempt < options_.retries && !job.challenge) {
    ++job.attempt;
    std::uniform_real_distribution<double> draw(0.0, 1.0);
    const double wait = RetryDelay(job.retry_after, job.attempt, options_.max_retry_wait_s,
                                   static_cast<long long>(std::time(nullptr)), draw(random_));
    delayed_.emplace(Clock::now() + std::chrono::milliseconds(static_cast<long long>(wait * 1000)),
                     job_id);
    return;
  }
  const bool redirect =
      status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
  if (redirect && !next.empty()) {
    if (job.seen.empty()) job.seen.insert(job.url);
    ++job.hops;
    job.permanent = job.permanent && (status == 301 || status == 308);
    job.chain.push_back(next);
    if (!job.seen.insert(next).second) {
      job.url = next;
      Conclude(job, LinkState::kBroken, status,
               "redirect loop: back to " + next + " after " + std::to_string(job.hops) + " hops");
      return Release(job_id);
    }
    if (job.hops > options_.max_redirects) {
      job.url = next;
      Conclude(job, LinkState::kBroken, status,
               "more than " + std::to_string(options_.max_redirects) + " redirects");
      return Release(job_id);
    }
    if (!IsWebUrl(next)) {
      job.url = next;
      Conclude(job, LinkState::kBroken, status, "a redirect to " + next + " is not followed");
      return Release(job_id);
    }
    job.url = next;
    job.attempt = 0;
    job.tried_get = false;
    job.get = groups_[job.group].want_body;
    Queue(job_id);
    return;
  }
  // HEAD refused, or answered with an error that a GET may not share.
  if (!job.get && !job.tried_get && status >= 400) {
    job.get = true;
    job.tried_get = true;
    job.attempt = 0;
    Queue(job_id);
    return;
  }
  LinkState state = StateOfAnswer(status, job.hops, job.challenge, options_.accept);
  std::string message;
  if (job.challenge) {
    message = "a bot challenge stands in front of the page";
  } else if (state == LinkState::kRedirected) {
    message = std::string(job.permanent ? "permanent" : "temporary") + " redirect" +
              (job.hops > 1 ? ", " + std::to_string(job.hops) + " hops" : "");
  } else if (state == LinkState::kBlocked || state == LinkState::kBroken) {
    message = "HTTP " + std::to_string(status);
    if (status == 429) message += ", still after " + std::to_string(job.attempt) + " retries";
  }
  // The fragment check needs the page itself.
  if ((state == LinkState::kOk || state == LinkState::kRedirected) && !job.get &&
      groups_[job.group].want_body) {
    job.get = true;
    Queue(job_id);
    return;
  }
  Conclude(job, state, status, message);
  Release(job_id);
}

void Engine::Run() {
  // One request per target; local links, excluded ones and fresh cached ones need none.
  std::unordered_map<std::string_view, size_t> by_target;
  for (size_t i = 0; i < links_.size(); ++i) {
    CheckedLink& link = links_[i];
    if (link.checked) continue;
    if (link.local) {
      CheckLocal(link, options_.fragments);
      Done(i);
      continue;
    }
    bool excluded = false;
    for (const std::regex& pattern : options_.exclude)
      if (std::regex_search(link.url, pattern)) excluded = true;
    if (excluded) {
      link.state = LinkState::kExcluded;
      link.message = "matches an --exclude pattern";
      Done(i);
      continue;
    }
    if (!IsWebUrl(link.target)) {
      link.state = LinkState::kBroken;
      const size_t colon = link.target.find(':');
      link.message =
          (colon == std::string::npos ? std::string("a link without a protocol")
                                      : link.target.substr(0, colon) + ": links are not checked");
      Done(i);
      continue;
    }
    const bool wants_body = options_.fragments && !link.fragment.empty();
    if (cache_ && !wants_body && cache_->Fill(link)) {
      Done(i);
      continue;
    }
    const auto [found, added] = by_target.try_emplace(link.target, groups_.size());
    if (added) groups_.push_back({link.target, {}, false});
    groups_[found->second].links.push_back(i);
    groups_[found->second].want_body |= wants_body;
  }
  by_target.clear();
  if (groups_.empty()) return;

  multi_ = curl_multi_init();
  curl_multi_setopt(multi_, CURLMOPT_MAX_TOTAL_CONNECTIONS,
                    static_cast<long>(options_.max_connections));
  curl_multi_setopt(multi_, CURLMOPT_MAX_HOST_CONNECTIONS, static_cast<long>(options_.per_host));
  curl_multi_setopt(multi_, CURLMOPT_MAXCONNECTS, static_cast<long>(options_.max_connections));
  for (size_t g = 0; g < groups_.size(); ++g) {
    auto job = std::make_unique<Job>();
    job->id = jobs_.size();
    job->group = g;
    job->url = groups_[g].url;
    job->get = groups_[g].want_body;
    jobs_.push_back(std::move(job));
    ++unfinished_;
    Queue(jobs_.size() - 1);
  }
  while (unfinished_ > 0 && !Stopped()) {
    Fill();
    int running = 0;
    curl_multi_perform(multi_, &running);
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
      if (message->msg == CURLMSG_DONE) Finished(message->easy_handle, message->data.result);
    }
    if (unfinished_ == 0 || Stopped()) break;
    Fill();
    int wait_ms = 100;
    if (!delayed_.empty()) {
      const auto until =
          std::chrono::duration_cast<std::chrono::milliseconds>(delayed_.top().first - Clock::now())
              .count();
      wait_ms = static_cast<int>(std::clamp<long long>(until, 0, 100));
    }
    if (active_ > 0) {
      curl_multi_poll(multi_, nullptr, 0, wait_ms, nullptr);
    } else if (wait_ms > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(wait_ms));
    }
  }
}

}  // namespace

AcceptCodes::AcceptCodes() : ranges_{{200, 299}} {}

AcceptCodes AcceptCodes::Parse(const std::string& text) {
  AcceptCodes codes;
  codes.ranges_.clear();
  size_t at = 0;
  while (at <= text.size()) {
    size_t comma = text.find(',', at);
    if (comma == std::string::npos) comma = text.size();
    const std::string part = text.substr(at, comma - at);
    at = comma + 1;
    if (part.empty()) continue;
    const size_t dots = part.find("..");
    const auto number = [&part](const std::string& digits) {
      if (digits.empty() || digits.size() > 3 ||
          digits.find_first_not_of("0123456789") != std::string::npos)
        throw std::invalid_argument("'" + part + "' is not a status code or a range of them");
      return std::stoi(digits);
    };
    const int first = number(part.substr(0, dots));
    const int last = dots == std::string::npos ? first : number(part.substr(dots + 2));
    if (first < 100 || last > 599 || last < first)
      throw std::invalid_argument("'" + part + "' is not a status code or a range of them");
    codes.ranges_.emplace_back(first, last);
  }
  if (codes.ranges_.empty()) throw std::invalid_argument("no status code given");
  return codes;
}

bool AcceptCodes::Accepts(int code) const {
  for (const auto& [first, last] : ranges_)
    if (code >= first && code <= last) return true;
  return false;
}

LinkState StateOfAnswer(int code, int redirects, bool challenge, const AcceptCodes& accept) {
  if (challenge) return LinkState::kBlocked;
  if (accept.Accepts(code)) return redirects > 0 ? LinkState::kRedirected : LinkState::kOk;
  if (code == 401 || code == 403 || code == 429) return LinkState::kBlocked;
  return LinkState::kBroken;
}

double RetryDelay(const std::string& retry_after, int attempt, double cap, long long now,
                  double jitter) {
  if (!retry_after.empty()) {
    if (retry_after.find_first_not_of("0123456789") == std::string::npos && retry_after.size() < 10)
      return std::min(cap, static_cast<double>(std::stoll(retry_after)));
    std::tm when{};
    const char* end = strptime(retry_after.c_str(), "%a, %d %b %Y %H:%M:%S GMT", &when);
    if (end != nullptr) {
      const long long at = static_cast<long long>(timegm(&when));
      return std::clamp(static_cast<double>(at - now), 0.0, cap);
    }
  }
  const double base = static_cast<double>(1LL << std::min(attempt - 1, 20));
  return std::min(cap, base * (1.0 + 0.25 * jitter));
}

void CheckLinks(LinkSet& links, const CheckOptions& options, const CheckCallbacks& callbacks,
                const std::atomic<bool>* stop, CheckCache* cache) {
  static const bool started = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  if (!started) throw std::runtime_error("libcurl cannot start");
  if (!options.tls.ca_file.empty()) static_cast<void>(SharedClientContext(options.tls));
  Engine engine(links, options, callbacks, stop, cache);
  engine.Run();
}

}  // namespace pagelathe
