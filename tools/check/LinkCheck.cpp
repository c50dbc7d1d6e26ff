// The link check engine: one libcurl multi handle, our own queue per host (so a slow host
// holds no slot another host could use; CheckQueue.h says in which order), redirects followed
// by hand to keep their chain and see their loops, retries of 429 and 503 held in a timer heap
// rather than in a connection.
//
// What it costs is kept in bounds for big sites: a link set of 100,000 links has one small
// group record per target, and only the requests under way (at most the connection limit, and
// those waiting for a retry) have a job; transfers reuse a pool of easy handles, so the
// options that never change are set once, and one share handle keeps the DNS answers and the
// TLS sessions of every transfer (a second connection to a host resumes its session).
#include "tools/check/LinkCheck.h"

#include <openssl/x509.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <memory>
#include <queue>
#include <random>
#include <stdexcept>
#include <thread>
#include <unordered_map>

#include "net/Curl.h"
#include "platform/Letters.h"
#include "tools/check/CheckCache.h"
#include "tools/check/CheckQueue.h"
#include "tools/check/HtmlScan.h"
#include "tools/check/LocalCheck.h"
#include "tools/check/Robots.h"

namespace pagelathe {
namespace {

constexpr size_t kMaxRobots = size_t{512} << 10;  // what is read of a robots.txt
constexpr size_t kNone = CheckQueue::kNone;
constexpr size_t kMostHostsToCache = 1000;  // see TakeHandle

using Clock = CheckQueue::Clock;
using Host = CheckQueue::Host;

bool IsWebUrl(std::string_view url) {
  return StartsWithAsciiText(url, "http://") || StartsWithAsciiText(url, "https://");
}

// The host name of a URL as TLS checks it ("127.0.0.1" of "https://127.0.0.1:8443/a").
std::string HostName(std::string_view url) {
  std::string key = CheckHostKey(url);
  key.erase(0, key.find("://") + 3);
  if (key.starts_with("[")) return key.substr(1, key.find(']') - 1);
  return key.substr(0, key.rfind(':') == std::string::npos ? key.size() : key.rfind(':'));
}

std::string Seconds(double s) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", s);
  return text;
}

// One target (a URL without its fragment) and the links that share it, chained through
// Engine::next_in_group_.
struct Group {
  size_t first = kNone;
  size_t last = kNone;
  bool want_body = false;
};

// A request under way: the hops, retries and the GET after a refused HEAD of one group.
struct Job {
  size_t id = 0;         // its place in the engine's job table
  size_t group = kNone;  // kNone: the robots.txt of `host`
  Host* host = nullptr;
  std::string url;  // this hop
  bool get = false;
  bool tried_get = false;
  int attempt = 0;  // retries of 429/503 done
  int hops = 0;
  bool permanent = true;
  std::vector<std::string> chain;
  Clock::time_point started;
  // Of the response being read.
  bool heard = false;  // a header line came
  bool connected = false;
  bool challenge = false;
  std::string retry_after;
  std::string body;
  bool stopped_by_us = false;
  bool keep_body = false;
  char error[CURL_ERROR_SIZE] = {};
  CURL* easy = nullptr;  // while it runs
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
        curl_(Curl()),
        queue_(options.per_host),
        random_(std::random_device{}()) {}
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  void Run();

 private:
  bool Stopped() const { return stop_ && stop_->load(std::memory_order_relaxed); }
  void Done(size_t index) {
    links_[index].checked = true;
    if (cache_ && !links_[index].cached) cache_->Store(links_[index]);
    if (callbacks_.checked) callbacks_.checked(index);
  }
  void AddToGroup(size_t index);
  void Queue(size_t job_id);
  size_t NewJob();
  void Fill();
  // Starts requests of `host` while it has work and room, at most `most` of them.
  void FillHost(Host& host, int most);
  // Tells the queue how long the requests that have heard nothing so far have waited.
  void Look();
  void Start(size_t job_id);
  CURL* TakeHandle();
  void Finished(CURL* easy, CURLcode result);
  void Conclude(Job& job, LinkState state, int code, const std::string& message);
  void Release(size_t job_id);
  void RobotsDone(Job& job, int code);
  std::string FailureText(CURL* easy, const Job& job, CURLcode result) const;

  static size_t OnHeader(char* data, size_t size, size_t count, void* user);
  static size_t OnBody(char* data, size_t size, size_t count, void* user);
  static int OnConnected(void* user, char*, char*, int, int);
  static CURLcode OnSslContext(CURL*, void* context, void* user);

  LinkSet& links_;
  const CheckOptions& options_;
  const CheckCallbacks& callbacks_;
  const std::atomic<bool>* stop_;
  CheckCache* cache_;
  const CurlLibrary& curl_;
  CURLM* multi_ = nullptr;
  CURLSH* share_ = nullptr;
  curl_slist* headers_ = nullptr;
  std::vector<CURL*> idle_handles_;
  std::vector<Group> groups_;
  std::vector<size_t> next_in_group_;
  std::vector<std::unique_ptr<Job>> jobs_;
  std::vector<size_t> free_jobs_;
  TextIndex by_target_;  // the groups by their target, while they are made
  CheckQueue queue_;
  // The hosts whose transfers ended since the last fill, one entry per transfer: each left a
  // connection open to its host, which the host's next request takes over.
  std::vector<Host*> freed_;
  Clock::time_point last_look_;
  int active_ = 0;
  size_t unfinished_ = 0;  // groups not concluded
  using Delayed = std::pair<Clock::time_point, size_t>;
  std::priority_queue<Delayed, std::vector<Delayed>, std::greater<>> delayed_;
  std::minstd_rand random_;
};

Engine::~Engine() {
  // Transfers still under way (after a stop) leave the multi handle before it goes.
  for (const auto& job : jobs_) {
    if (!job || job->easy == nullptr) continue;
    curl_.multi_remove_handle(multi_, job->easy);
    curl_.easy_cleanup(job->easy);
  }
  for (CURL* easy : idle_handles_)
    curl_.easy_cleanup(easy);
  if (multi_ != nullptr) curl_.multi_cleanup(multi_);
  if (share_ != nullptr) curl_.share_cleanup(share_);
  curl_.slist_free_all(headers_);
}

size_t Engine::OnHeader(char* data, size_t size, size_t count, void* user) {
  Job& job = *static_cast<Job*>(user);
  const std::string_view line(data, size * count);
  job.heard = true;
  if (line.starts_with("HTTP/")) {  // a new response (after a 100 Continue, say)
    job.challenge = false;
    job.retry_after.clear();
  } else if (StartsWithAsciiText(line, "cf-mitigated:") &&
             line.find("challenge") != std::string_view::npos) {
    job.challenge = true;
  } else if (StartsWithAsciiText(line, "retry-after:")) {
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
  const size_t most = job.group == kNone ? kMaxRobots : kMaxFragmentBody;
  if (job.keep_body) {
    job.body.append(data, std::min(bytes, most - job.body.size()));
    if (job.body.size() < most) return bytes;
  }
  // The header is all a check needs (or the body has what it may read): stop here.
  job.stopped_by_us = true;
  return CURL_WRITEFUNC_ERROR;
}

int Engine::OnConnected(void* user, char*, char*, int, int) {
  static_cast<Job*>(user)->connected = true;
  return CURL_PREREQFUNC_OK;
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

size_t Engine::NewJob() {
  size_t id = jobs_.size();
  if (!free_jobs_.empty()) {
    id = free_jobs_.back();
    free_jobs_.pop_back();
  } else {
    jobs_.emplace_back();
  }
  jobs_[id] = std::make_unique<Job>();
  jobs_[id]->id = id;
  return id;
}

void Engine::Queue(size_t job_id) {
  Job& job = *jobs_[job_id];
  job.host = &queue_.HostOf(job.url);
  job.host->jobs.push(job_id);
  queue_.MarkReady(*job.host);
}

void Engine::Fill() {
  const auto now = Clock::now();
  while (!delayed_.empty() && delayed_.top().first <= now) {
    const size_t id = delayed_.top().second;
    delayed_.pop();
    Queue(id);
  }
  // A request that ended left its connection open: the next request of the same host takes
  // it, unless another host is owed it far more.
  const std::vector<Host*> freed = std::move(freed_);
  freed_.clear();
  for (Host* host : freed) {
    if (active_ >= options_.max_connections) break;
    if (queue_.KeepsConnection(*host)) FillHost(*host, 1);
  }
  // The hosts owed a connection most first; each within its own limit, so that one slow host
  // cannot take every connection. Hosts at their limit wait for the next fill.
  std::vector<Host*> full;
  while (active_ < options_.max_connections) {
    Host* host = queue_.PopReady();
    if (host == nullptr) break;
    FillHost(*host, options_.per_host);
    full.push_back(host);
  }
  for (Host* host : full)
    queue_.MarkReady(*host);
}

void Engine::FillHost(Host& host, int most) {
  for (int started = 0; started < most && active_ < options_.max_connections &&
                        host.active < options_.per_host && host.HasWork();) {
    if (options_.robots && !host.robots_checked) {
      // The host's rules first; its links wait for them.
      if (host.robots_running) return;
      host.robots_running = true;
      const size_t id = NewJob();
      Job& robots = *jobs_[id];
      robots.host = &host;
      robots.get = true;
      robots.url = *host.key + "/robots.txt";
      Start(id);
      return;
    }
    // Of a host that has answered nothing yet, one round of requests at a time: a request
    // that timed out is not followed by another while the rest of its round may time out too.
    const int round = std::max(2, options_.per_host);
    if (!host.answered && host.timeouts_in_a_row > 0 && host.timeouts_in_a_row < round &&
        host.active + host.timeouts_in_a_row >= round)
      return;
    size_t id = kNone;
    if (!host.jobs.empty()) {
      id = host.jobs.front();
      host.jobs.pop();
    } else {
      const size_t group = queue_.TakeNext(host);
      if (group == kNone) return;
      id = NewJob();
      Job& job = *jobs_[id];
      job.group = group;
      job.host = &host;
      job.url = links_[groups_[group].first].target;
      job.get = groups_[group].want_body;
    }
    Job& job = *jobs_[id];
    // A host that answered none of a whole round of requests will answer no more: its other
    // links are timed out at once rather than one time-out after another.
    if (!host.answered && host.timeouts_in_a_row >= round) {
      Conclude(job, LinkState::kTimeout, 0,
               "the host answered none of " + std::to_string(host.timeouts_in_a_row) +
                   " requests within the time-out");
      Release(id);
      continue;
    }
    if (options_.robots) {
      const std::string_view path = std::string_view(job.url).substr(host.key->size());
      if (!host.robots.Allows(path.empty() ? "/" : path)) {
        Conclude(job, LinkState::kExcluded, 0, "disallowed by the host's robots.txt");
        Release(id);
        continue;
      }
    }
    Start(id);
    ++started;
  }
}

CURL* Engine::TakeHandle() {
  if (!idle_handles_.empty()) {
    CURL* easy = idle_handles_.back();
    idle_handles_.pop_back();
    return easy;
  }
  CURL* easy = curl_.easy_init();
  if (easy == nullptr) throw std::runtime_error("libcurl cannot make a transfer");
  // What every transfer of this check shares.
  curl_.easy_setopt(easy, CURLOPT_SHARE, share_);
  // libcurl looks through its whole cache of host names at every look-up: with many thousand
  // hosts that costs more than the look-ups it saves (a check of 100,000 hosts took minutes).
  curl_.easy_setopt(easy, CURLOPT_DNS_CACHE_TIMEOUT,
                    queue_.HostCount() > kMostHostsToCache ? 0L : 60L);
  curl_.easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_.easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_.easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
  curl_.easy_setopt(easy, CURLOPT_USERAGENT, options_.user_agent.c_str());
  curl_.easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS,
                    static_cast<long>(options_.connect_timeout_s * 1000));
  curl_.easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(options_.timeout_s * 1000));
  curl_.easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Engine::OnHeader);
  curl_.easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Engine::OnBody);
  curl_.easy_setopt(easy, CURLOPT_PREREQFUNCTION, &Engine::OnConnected);
  if (!options_.tls.ca_file.empty()) {
    curl_.easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, &Engine::OnSslContext);
    curl_.easy_setopt(easy, CURLOPT_SSL_CTX_DATA, &options_.tls);
  }
  // The system's bundle alone, so that libcurl may read it once and keep it for every
  // connection (a folder of authorities beside it would make it read the bundle again for
  // each one: nine tenths of the work of a check of https links).
  curl_.easy_setopt(easy, CURLOPT_CAPATH, nullptr);
  curl_.easy_setopt(easy, CURLOPT_CA_CACHE_TIMEOUT, 86400L);
  curl_.easy_setopt(easy, CURLOPT_HTTPHEADER, headers_);
  return easy;
}

void Engine::Start(size_t job_id) {
  Job& job = *jobs_[job_id];
  CURL* easy = TakeHandle();
  job.started = Clock::now();
  job.heard = false;
  job.connected = false;
  job.challenge = false;
  job.retry_after.clear();
  job.stopped_by_us = false;
  job.error[0] = '\0';
  job.body.clear();
  job.keep_body = job.group == kNone || (job.get && groups_[job.group].want_body);
  curl_.easy_setopt(easy, CURLOPT_URL, job.url.c_str());
  curl_.easy_setopt(easy, CURLOPT_PRIVATE, &job);
  if (job.get) {
    curl_.easy_setopt(easy, CURLOPT_HTTPGET, 1L);
  } else {
    curl_.easy_setopt(easy, CURLOPT_NOBODY, 1L);
  }
  curl_.easy_setopt(easy, CURLOPT_HEADERDATA, &job);
  curl_.easy_setopt(easy, CURLOPT_WRITEDATA, &job);
  curl_.easy_setopt(easy, CURLOPT_PREREQDATA, &job);
  curl_.easy_setopt(easy, CURLOPT_ERRORBUFFER, job.error);
  if (curl_.multi_add_handle(multi_, easy) != CURLM_OK) {
    idle_handles_.push_back(easy);
    throw std::runtime_error("libcurl cannot start a transfer");
  }
  job.easy = easy;
  ++active_;
  ++job.host->active;
  if (job.group != kNone) queue_.Started(job.group);
}

void Engine::Look() {
  const auto now = Clock::now();
  if (now - last_look_ < std::chrono::milliseconds(100)) return;
  last_look_ = now;
  std::vector<std::pair<size_t, Clock::duration>> waiting;
  for (const auto& job : jobs_) {
    if (job && job->easy != nullptr && job->group != kNone && !job->heard)
      waiting.emplace_back(job->group, now - job->started);
  }
  queue_.Look(waiting);
}

void Engine::Conclude(Job& job, LinkState state, int code, const std::string& message) {
  if (job.group == kNone) return;
  --unfinished_;
  const Group& group = groups_[job.group];
  const bool body_read = job.get && group.want_body && !job.body.empty();
  std::vector<std::string> anchors;
  if (body_read && state != LinkState::kBroken) anchors = ScanHtmlAnchors(job.body);
  for (size_t index = group.first; index != kNone; index = next_in_group_[index]) {
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
  Host& host = *job.host;
  host.robots_checked = true;
  host.robots_running = false;
  if (code >= 200 && code < 300) host.robots = ParseRobots(job.body, options_.user_agent);
  queue_.MarkReady(host);
}

// Why a transfer got no answer, in the words a webmaster looks for.
std::string Engine::FailureText(CURL* easy, const Job& job, CURLcode result) const {
  const std::string why = job.error[0] != '\0' ? job.error : curl_.easy_strerror(result);
  long os_error = 0;
  switch (result) {
    case CURLE_COULDNT_RESOLVE_HOST:
      return "the host name cannot be found: " + HostName(job.url);
    case CURLE_COULDNT_CONNECT:
      curl_.easy_getinfo(easy, CURLINFO_OS_ERRNO, &os_error);
      return os_error != 0
                 ? std::string("cannot connect: ") + std::strerror(static_cast<int>(os_error))
                 : "cannot connect: " + why;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
      return "the connection was reset: " + why;
    case CURLE_GOT_NOTHING:
      return "the server closed the connection without an answer";
    case CURLE_PEER_FAILED_VERIFICATION: {
      long verify = X509_V_OK;
      curl_.easy_getinfo(easy, CURLINFO_SSL_VERIFYRESULT, &verify);
      // libcurl checks the name itself, after a chain that OpenSSL found good, and records
      // only "unspecified" for a certificate made out to another name.
      if (verify == X509_V_ERR_UNSPECIFIED) verify = X509_V_OK;
      return "TLS: " + CertificateRefusalText(verify, HostName(job.url));
    }
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
      return "TLS: " + why;
    default:
      return why;
  }
}

void Engine::Finished(CURL* easy, CURLcode result) {
  Job* job_pointer = nullptr;
  curl_.easy_getinfo(easy, CURLINFO_PRIVATE, reinterpret_cast<char**>(&job_pointer));
  Job& job = *job_pointer;
  const size_t job_id = job.id;
  long code = 0;
  curl_.easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &code);
  const char* location = nullptr;
  curl_.easy_getinfo(easy, CURLINFO_REDIRECT_URL, &location);
  std::string next = location != nullptr ? location : "";
  const bool answered = code > 0 && (result == CURLE_OK || job.stopped_by_us);
  const std::string failure = answered ? std::string() : FailureText(easy, job, result);
  curl_.multi_remove_handle(multi_, easy);
  idle_handles_.push_back(easy);
  job.easy = nullptr;
  --active_;
  Host& host = *job.host;
  --host.active;
  queue_.MarkReady(host);
  freed_.push_back(&host);

  if (job.group == kNone) {
    RobotsDone(job, answered ? static_cast<int>(code) : 0);
    return Release(job_id);
  }
  const bool timed_out = !answered && result == CURLE_OPERATION_TIMEDOUT;
  const CheckQueue::GivenUp given_up = queue_.Ended(host, job.group, Clock::now() - job.started,
                                                    answered    ? CheckQueue::Outcome::kAnswered
                                                    : timed_out ? CheckQueue::Outcome::kTimedOut
                                                                : CheckQueue::Outcome::kFailed);
  if (timed_out) {
    Conclude(job, LinkState::kTimeout, 0,
             job.connected
                 ? "no answer within " + Seconds(options_.timeout_s) + " s"
                 : "no connection within " +
                       Seconds(std::min(options_.connect_timeout_s, options_.timeout_s)) + " s");
    Release(job_id);
    if (given_up.groups.empty()) return;
    // The rest of a folder whose every request of a round timed out: not asked.
    const std::string message = "not asked: " + std::to_string(given_up.timeouts) +
                                " requests in " + given_up.folder + " got no answer within " +
                                Seconds(options_.timeout_s) + " s";
    for (const size_t group : given_up.groups) {
      Job unasked;
      unasked.group = group;
      Conclude(unasked, LinkState::kTimeout, 0, message);
    }
    return;
  }
  if (!answered) {
    // A server that drops a HEAD may well answer a GET.
    if (!job.get && (result == CURLE_GOT_NOTHING || result == CURLE_RECV_ERROR ||
                     result == CURLE_PARTIAL_FILE || result == CURLE_WEIRD_SERVER_REPLY)) {
      job.get = true;
      job.tried_get = true;
      return Queue(job_id);
    }
    Conclude(job, LinkState::kBroken, static_cast<int>(code), failure);
    return Release(job_id);
  }
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
    ++job.hops;
    job.permanent = job.permanent && (status == 301 || status == 308);
    const bool loop = next == links_[groups_[job.group].first].target ||
                      std::find(job.chain.begin(), job.chain.end(), next) != job.chain.end();
    job.chain.push_back(next);
    job.url = std::move(next);
    if (loop) {
      Conclude(
          job, LinkState::kBroken, status,
          "redirect loop: back to " + job.url + " after " + std::to_string(job.hops) + " hops");
      return Release(job_id);
    }
    if (job.hops > options_.max_redirects) {
      Conclude(job, LinkState::kBroken, status,
               "more than " + std::to_string(options_.max_redirects) + " redirects");
      return Release(job_id);
    }
    if (!IsWebUrl(job.url)) {
      Conclude(job, LinkState::kBroken, status, "a redirect to " + job.url + " is not followed");
      return Release(job_id);
    }
    job.attempt = 0;
    job.tried_get = false;
    job.get = groups_[job.group].want_body;
    return Queue(job_id);
  }
  // HEAD refused, or answered with an error that a GET may not share. A 429 is no refusal
  // of HEAD: asking again at once with another method is what a rate limit forbids.
  if (!job.get && !job.tried_get && status >= 400 && status != 429) {
    job.get = true;
    job.tried_get = true;
    job.attempt = 0;
    return Queue(job_id);
  }
  const LinkState state = StateOfAnswer(status, job.hops, job.challenge, options_.accept);
  std::string message;
  if (job.challenge) {
    message = "a bot challenge stands in front of the page";
  } else if (state == LinkState::kRedirected) {
    message = std::string(job.permanent ? "permanent" : "temporary") + " redirect" +
              (job.hops > 1 ? ", " + std::to_string(job.hops) + " hops" : "");
  } else if (state == LinkState::kBlocked || state == LinkState::kBroken) {
    message = "HTTP " + std::to_string(status);
    if (status == 429 || status == 503)
      message += ", still after " + std::to_string(job.attempt) + " retries";
  }
  // The fragment check needs the page itself.
  if ((state == LinkState::kOk || state == LinkState::kRedirected) && !job.get &&
      groups_[job.group].want_body) {
    job.get = true;
    return Queue(job_id);
  }
  Conclude(job, state, status, message);
  Release(job_id);
}

void Engine::AddToGroup(size_t index) {
  CheckedLink& link = links_[index];
  const bool wants_body = options_.fragments && !link.fragment.empty();
  if (cache_ && !wants_body && cache_->Fill(link)) return Done(index);
  next_in_group_[index] = kNone;
  // Links of one target are usually next to each other only by chance: look the target up.
  const auto target_of = [this](uint32_t group) -> std::string_view {
    return links_[groups_[group].first].target;
  };
  const uint32_t found = by_target_.Find(link.target, target_of);
  if (found == TextIndex::kNone) {
    groups_.push_back({index, index, wants_body});
    by_target_.Insert(static_cast<uint32_t>(groups_.size() - 1), target_of);
    static_cast<void>(queue_.AddGroup(link.target));
    ++unfinished_;
    return;
  }
  Group& group = groups_[found];
  next_in_group_[group.last] = index;
  group.last = index;
  group.want_body = group.want_body || wants_body;
}

void Engine::Run() {
  next_in_group_.assign(links_.size(), kNone);
  for (size_t i = 0; i < links_.size(); ++i) {
    CheckedLink& link = links_[i];
    if (link.checked) continue;
    if (link.local) {
      CheckLocalLink(link, options_.fragments);
      Done(i);
      continue;
    }
    bool excluded = false;
    for (const std::regex& pattern : options_.exclude)
      excluded = excluded || std::regex_search(link.url, pattern);
    if (excluded) {
      link.state = LinkState::kExcluded;
      link.message = "matches an --exclude pattern";
      Done(i);
      continue;
    }
    if (!IsWebUrl(link.target)) {
      // ftp://, news:// ... and a file:// link on a web page: not requested, and no failure.
      link.state = LinkState::kExcluded;
      const size_t colon = link.target.find(':');
      link.message = colon == std::string::npos
                         ? std::string("a link without a protocol is not checked")
                         : link.target.substr(0, colon) + ": links are not checked";
      Done(i);
      continue;
    }
    AddToGroup(i);
  }
  by_target_ = {};
  if (groups_.empty()) return;

  multi_ = curl_.multi_init();
  share_ = curl_.share_init();
  if (multi_ == nullptr || share_ == nullptr) throw std::runtime_error("libcurl cannot start");
  curl_.share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
  curl_.share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
  curl_.multi_setopt(multi_, CURLMOPT_MAX_TOTAL_CONNECTIONS,
                     static_cast<long>(options_.max_connections));
  curl_.multi_setopt(multi_, CURLMOPT_MAX_HOST_CONNECTIONS, static_cast<long>(options_.per_host));
  curl_.multi_setopt(multi_, CURLMOPT_MAXCONNECTS, static_cast<long>(options_.max_connections));
  headers_ = curl_.slist_append(
      nullptr, "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8");
  headers_ = curl_.slist_append(headers_, "Accept-Language: en;q=0.9,*;q=0.5");

  while (unfinished_ > 0 && !Stopped()) {
    Look();
    Fill();
    int running = 0;
    curl_.multi_perform(multi_, &running);
    int left = 0;
    while (CURLMsg* message = curl_.multi_info_read(multi_, &left)) {
      if (message->msg == CURLMSG_DONE) Finished(message->easy_handle, message->data.result);
    }
    if (unfinished_ == 0 || Stopped()) break;
    Fill();
    // Wait for the sockets, the next retry, or a stop (looked at ten times a second).
    int wait_ms = 100;
    if (!delayed_.empty()) {
      const auto until =
          std::chrono::duration_cast<std::chrono::milliseconds>(delayed_.top().first - Clock::now())
              .count();
      wait_ms = static_cast<int>(std::clamp<long long>(until, 0, 100));
    }
    if (active_ > 0) {
      curl_.multi_poll(multi_, nullptr, 0, wait_ms, nullptr);
    } else if (wait_ms > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(wait_ms));
    }
  }
}

}  // namespace

void CheckLinks(LinkSet& links, const CheckOptions& options, const CheckCallbacks& callbacks,
                const std::atomic<bool>* stop, CheckCache* cache) {
  if (!options.tls.ca_file.empty()) static_cast<void>(SharedClientContext(options.tls));
  Engine engine(links, options, callbacks, stop, cache);
  engine.Run();
}

}  // namespace pagelathe
