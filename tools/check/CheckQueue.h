// The order of a link check's requests, apart from the transfers that carry them: which host a
// free connection goes to, and which of its links is asked first.
//
// Targets (a request each) are grouped by host and, within a host, by folder ("http://host/a/"
// of "http://host/a/page" and of "http://host/a/page/"): the links of one folder usually
// answer alike, and a folder served by a hung application answers none of them. So:
// - every folder's first link is asked before the rest, to learn early what each folder costs;
// - a folder whose request has waited kSlowAfter without a word is slow, and a slow folder's
//   links go before the quick ones, the costliest first, so that the long waits overlap
//   instead of coming last, one after another, when little else is left to do;
// - a slow folder that has answered nothing gets one round of requests (half a host's
//   connections, at least two); when every one of them has timed out, the rest are given up
//   rather than timed out one after another;
// - a free connection goes to the host owed it most: the one with folders not asked yet, then
//   the one whose silent folders' rounds need requests, then the one with the most work left
//   (what its folders' requests take, summed over the links not asked yet), so that no host
//   is left alone with a long queue when the others are done. A host that has work of its own
//   keeps the connection it has just freed unless another is owed it more.
//
// What it keeps is small, for a check of a hundred thousand links on as many hosts or
// folders: a few words per target (the lists of a host and of a folder run through them), a
// small record per folder and per host.
#pragma once

#include <algorithm>
#include <chrono>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <queue>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "tools/check/Robots.h"

namespace pagelathe {

// A first-in, first-out list of numbers that costs nothing while empty (a std::deque takes
// half a kilobyte at once, and a check may have a hundred thousand hosts).
class IndexQueue {
 public:
  [[nodiscard]] bool empty() const { return head_ == items_.size(); }
  [[nodiscard]] size_t size() const { return items_.size() - head_; }
  [[nodiscard]] size_t front() const { return items_[head_]; }
  void push(size_t item) { items_.push_back(item); }
  void pop() {
    if (++head_ < items_.size()) return;
    items_.clear();
    head_ = 0;
  }

 private:
  std::vector<size_t> items_;
  size_t head_ = 0;
};

// "https://host:port" of a URL, lower-cased: the unit of the per-host limit.
[[nodiscard]] std::string CheckHostKey(std::string_view url);

class CheckQueue {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr size_t kNone = static_cast<size_t>(-1);
  // How long a request may hear nothing before its folder counts as slow.
  static constexpr Clock::duration kSlowAfter = std::chrono::seconds(1);
  // What a request of a folder is taken to cost, in seconds, before one of them has ended,
  // and the least it is taken to cost after.
  static constexpr double kFirstGuess = 0.1;

  // A list of groups threaded through the queue's records of them.
  struct GroupList {
    uint32_t head = kEnd;
    uint32_t tail = kEnd;
    static constexpr uint32_t kEnd = static_cast<uint32_t>(-1);
    [[nodiscard]] bool empty() const { return head == kEnd; }
  };

  struct Host;

  struct Folder {
    Host* host = nullptr;
    std::string_view name;  // "http://host/a/", a view of a target
    GroupList groups;       // in their order; taken ones are passed over
    uint32_t left = 0;      // groups not taken
    int in_flight = 0;
    int timeouts_in_a_row = 0;
    int ended = 0;
    bool answered = false;  // a request of it got an HTTP answer
    bool slow = false;      // a request of it waited kSlowAfter without a word
    bool queued = false;    // an entry stands for it among its host's slow folders
    bool queued_silent = false;
    // What a request of it takes, in seconds: the mean of those that ended, or the longest
    // wait of one under way that has heard nothing, when that is longer.
    float mean = kFirstGuess;
    float waiting = 0;
    float cost = kFirstGuess;
    float queued_cost = 0;  // the cost of its newest entry among the slow folders
    // What its groups not taken add to its host's rank.
    double work = 0;
    uint32_t probes = 0;
    // Its place among its host's slow folders: silent ones first, then the costliest.
    [[nodiscard]] std::pair<bool, float> Order() const { return {!answered, cost}; }
  };

  // How much a host is owed a connection, compared member by member.
  struct Rank {
    size_t unknown = 0;  // folders not asked yet
    size_t probes = 0;   // requests that silent folders' rounds still need
    double work = 0;     // seconds of requests, one after another
    friend auto operator<=>(const Rank&, const Rank&) = default;
  };

  struct Host {
    const std::string* key = nullptr;  // CheckHostKey of its URLs
    // The transfer's side: requests under way, and jobs (a hop, a retry, a GET after a
    // refused HEAD) that wait for a connection of this host.
    int active = 0;
    IndexQueue jobs;
    bool robots_checked = false;
    bool robots_running = false;
    RobotsRules robots;
    // Whether it has answered at all, and the time-outs since its last answer.
    bool answered = false;
    int timeouts_in_a_row = 0;

    [[nodiscard]] bool HasWork() const { return !jobs.empty() || groups_left > 0; }
    [[nodiscard]] Rank CurrentRank() const {
      return {firsts_left, probes, work + kFirstGuess * static_cast<double>(jobs.size())};
    }

   private:
    friend class CheckQueue;
    // Its groups in their order, the first of each folder apart (asked first).
    GroupList firsts;
    GroupList groups;
    size_t firsts_left = 0;
    size_t groups_left = 0;
    std::priority_queue<std::pair<std::pair<bool, float>, Folder*>> slow_folders;
    double work = 0;
    size_t probes = 0;
    bool in_heap = false;  // an entry of `heap_rank` stands in the ready order
    Rank heap_rank;
  };

  // What a request of a group came to, for what the queue learns of its folder and host.
  enum class Outcome { kAnswered, kTimedOut, kFailed };

  // The groups of a silent folder given up when its round has timed out.
  struct GivenUp {
    std::vector<size_t> groups;
    std::string folder;
    int timeouts = 0;
  };

  explicit CheckQueue(int per_host);
  CheckQueue(const CheckQueue&) = delete;
  CheckQueue& operator=(const CheckQueue&) = delete;

  // Adds a group (numbered from 0 in the order added) that asks for `target`, a text that
  // stays in place as long as the queue.
  size_t AddGroup(std::string_view target);
  [[nodiscard]] size_t size() const { return places_.size(); }
  [[nodiscard]] size_t HostCount() const { return hosts_.size(); }

  [[nodiscard]] Host& HostOf(std::string_view url);
  // The requests a slow folder that has answered nothing is given.
  [[nodiscard]] int FolderRound() const { return std::max(2, per_host_ / 2); }

  // Puts a host that has work into the ready order (again, when its rank has grown).
  void MarkReady(Host& host);
  // Takes the host owed a connection most out of the ready order; nullptr when none has work.
  // MarkReady puts it back.
  [[nodiscard]] Host* PopReady();
  // Whether a host that has just freed a connection should keep it for its next request.
  [[nodiscard]] bool KeepsConnection(Host& host);
  // The next group of `host` to ask, taken (it is not given again), or kNone when every group
  // left waits for a silent folder's round to end.
  [[nodiscard]] size_t TakeNext(Host& host);

  // A request of `group` has started.
  void Started(size_t group);
  // A request of `group` that `host` served (a redirect may lead to another host) ended after
  // `took`. Returns the groups given up because of it.
  GivenUp Ended(Host& host, size_t group, Clock::duration took, Outcome outcome);
  // A look at the requests under way: `waiting` holds the group of each request that has heard
  // nothing yet and how long it has waited.
  void Look(const std::vector<std::pair<size_t, Clock::duration>>& waiting);

 private:
  struct Place {
    Folder* folder = nullptr;
    uint32_t next_in_folder = GroupList::kEnd;
    uint32_t next_in_host = GroupList::kEnd;  // in its host's `firsts` or `groups`
    bool taken = false;
    bool first = false;  // the first of its folder
  };
  void Append(GroupList& list, uint32_t group, uint32_t Place::*next);
  // The first group of `list` not taken (dropping the taken ones before it), or kNone.
  [[nodiscard]] size_t Front(GroupList& list, uint32_t Place::*next);
  void PopFront(GroupList& list, uint32_t Place::*next);
  [[nodiscard]] Rank TopRank();
  [[nodiscard]] bool Held(const Folder& folder) const;
  void Take(size_t group);
  // Takes what changed of a folder (its cost, its slowness, its requests) into its host's rank
  // and the order of its host's slow folders.
  void Refresh(Folder& folder);
  // Its share of its host's rank.
  void Reweigh(Folder& folder);
  void QueueSlow(Folder& folder);

  int per_host_;
  std::vector<Place> places_;
  std::unordered_map<std::string, Host> hosts_;
  std::unordered_map<std::string_view, Folder> folders_;  // by their URL, a view of a target
  std::priority_queue<std::pair<Rank, Host*>> ready_;
  std::vector<Folder*> waiting_;  // the folders the last look found a request waiting in
};

}  // namespace pagelathe
