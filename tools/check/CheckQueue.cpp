// The check's ready order is a heap of hosts by rank whose entries may go stale: a host's rank
// changes with every request, and an entry is pushed anew only when the rank has grown. An
// entry is passed over when a newer one stands for its host, and put back as the host ranks
// now when its rank has fallen. Each host's slow folders are a heap of the same kind.
#include "tools/check/CheckQueue.h"

#include <cmath>
#include <stdexcept>

#include "platform/Letters.h"

namespace pagelathe {
namespace {

// Where "https://host:port" of a URL ends.
size_t HostEnd(std::string_view url) {
  const size_t scheme = url.find("://");
  return std::min(url.size(),
                  url.find_first_of("/?#", scheme == std::string_view::npos ? 0 : scheme + 3));
}

// "http://host:port/a/b/" of "http://host:port/a/b/page?x=1/2" and of "http://host:port/a/b/page/"
// (a page named by a folder, as many sites name theirs); "http://host:port/" of the host itself.
std::string_view FolderOf(std::string_view url) {
  const size_t host_end = HostEnd(url);
  if (host_end == url.size() || url[host_end] != '/') return url.substr(0, host_end);
  size_t end = std::min(url.size(), url.find_first_of("?#", host_end));
  if (end > host_end + 1 && url[end - 1] == '/') --end;
  return url.substr(0, url.rfind('/', end - 1) + 1);
}

double Seconds(CheckQueue::Clock::duration span) {
  return std::chrono::duration<double>(span).count();
}

}  // namespace

std::string CheckHostKey(std::string_view url) {
  return AsciiLowerCase(url.substr(0, HostEnd(url)));
}

CheckQueue::CheckQueue(int per_host) : per_host_(std::max(1, per_host)) {}

CheckQueue::Host& CheckQueue::HostOf(std::string_view url) {
  const auto [found, added] = hosts_.try_emplace(CheckHostKey(url));
  if (added) found->second.key = &found->first;
  return found->second;
}

void CheckQueue::Append(GroupList& list, uint32_t group, uint32_t Place::*next) {
  if (list.empty()) {
    list.head = group;
  } else {
    places_[list.tail].*next = group;
  }
  list.tail = group;
}

size_t CheckQueue::Front(GroupList& list, uint32_t Place::*next) {
  while (!list.empty() && places_[list.head].taken)
    PopFront(list, next);
  return list.empty() ? kNone : list.head;
}

void CheckQueue::PopFront(GroupList& list, uint32_t Place::*next) {
  const uint32_t after = places_[list.head].*next;
  list.head = after;
  if (after == GroupList::kEnd) list.tail = GroupList::kEnd;
}

size_t CheckQueue::AddGroup(std::string_view target) {
  if (places_.size() >= GroupList::kEnd) throw std::length_error("too many links to check");
  Host& host = HostOf(target);
  const std::string_view name = FolderOf(target);
  const auto [found, added] = folders_.try_emplace(name);
  Folder& folder = found->second;
  if (added) {
    folder.host = &host;
    folder.name = name;
  }
  const auto group = static_cast<uint32_t>(places_.size());
  places_.push_back({&folder, GroupList::kEnd, GroupList::kEnd, false, added});
  Append(added ? host.firsts : host.groups, group, &Place::next_in_host);
  Append(folder.groups, group, &Place::next_in_folder);
  ++host.groups_left;
  if (added) ++host.firsts_left;
  ++folder.left;
  Reweigh(folder);
  MarkReady(host);
  return group;
}

void CheckQueue::MarkReady(Host& host) {
  if (!host.HasWork()) return;
  const Rank rank = host.CurrentRank();
  // A standing entry keeps its place unless the host now ranks above it.
  if (host.in_heap && rank <= host.heap_rank) return;
  host.in_heap = true;
  host.heap_rank = rank;
  ready_.emplace(rank, &host);
}

CheckQueue::Rank CheckQueue::TopRank() {
  while (!ready_.empty()) {
    const auto [rank, host] = ready_.top();
    if (host->in_heap && rank == host->heap_rank && rank == host->CurrentRank()) return rank;
    ready_.pop();
    if (!host->in_heap || rank != host->heap_rank) continue;  // overtaken by a newer entry
    host->in_heap = false;  // gone stale: put back as it ranks now
    MarkReady(*host);
  }
  return {};
}

CheckQueue::Host* CheckQueue::PopReady() {
  static_cast<void>(TopRank());
  if (ready_.empty()) return nullptr;
  Host* host = ready_.top().second;
  ready_.pop();
  host->in_heap = false;
  return host;
}

bool CheckQueue::KeepsConnection(Host& host) {
  if (!host.HasWork()) return false;
  // Sending every freed connection to the host ranked first would open a new connection for
  // nearly every link (and close an idle one of another host to stay within the limit).
  const Rank top = TopRank();
  const Rank rank = host.CurrentRank();
  if (rank.unknown > 0 || top.unknown > 0) return rank.unknown > 0;
  if (rank.probes > 0 || top.probes > 0) return rank.probes > 0;
  return rank.work * 2 >= top.work;
}

bool CheckQueue::Held(const Folder& folder) const {
  return folder.slow && !folder.answered &&
         folder.in_flight + folder.timeouts_in_a_row >= FolderRound();
}

size_t CheckQueue::TakeNext(Host& host) {
  // The slow folders first. A held one is put back afterwards (there are at most as many as
  // the host's requests under way); one with nothing left goes.
  size_t next = kNone;
  std::vector<Folder*> held;
  while (next == kNone && !host.slow_folders.empty()) {
    const auto [order, folder] = host.slow_folders.top();
    if (!folder->queued || order != std::pair(folder->queued_silent, folder->queued_cost)) {
      host.slow_folders.pop();  // a newer entry stands for it
      continue;
    }
    const size_t front = Front(folder->groups, &Place::next_in_folder);
    if (front == kNone || Held(*folder)) {
      host.slow_folders.pop();
      folder->queued = false;
      if (front != kNone) held.push_back(folder);
      continue;
    }
    next = front;
  }
  for (Folder* folder : held)
    QueueSlow(*folder);
  // Then the first group of each folder, then the others in their order, passing over those
  // of held folders (they come through the slow folders when the round ends).
  for (GroupList* list : {&host.firsts, &host.groups}) {
    while (next == kNone) {
      const size_t front = Front(*list, &Place::next_in_host);
      if (front == kNone) break;
      if (!Held(*places_[front].folder)) {
        next = front;
      } else {
        PopFront(*list, &Place::next_in_host);
      }
    }
  }
  if (next != kNone) Take(next);
  return next;
}

void CheckQueue::Take(size_t group) {
  Place& place = places_[group];
  place.taken = true;
  --place.folder->host->groups_left;
  if (place.first) --place.folder->host->firsts_left;
  --place.folder->left;
  Reweigh(*place.folder);
}

void CheckQueue::Started(size_t group) {
  Folder& folder = *places_[group].folder;
  ++folder.in_flight;
  Reweigh(folder);
}

CheckQueue::GivenUp CheckQueue::Ended(Host& host, size_t group, Clock::duration took,
                                      Outcome outcome) {
  Folder& folder = *places_[group].folder;
  --folder.in_flight;
  ++folder.ended;
  const auto seconds = static_cast<float>(Seconds(took));
  folder.mean = folder.ended == 1 ? seconds : folder.mean + (seconds - folder.mean) / folder.ended;
  switch (outcome) {
    case Outcome::kAnswered:
      host.answered = true;
      host.timeouts_in_a_row = 0;
      folder.answered = true;
      folder.timeouts_in_a_row = 0;
      break;
    case Outcome::kTimedOut:
      ++host.timeouts_in_a_row;
      ++folder.timeouts_in_a_row;
      folder.slow = true;
      break;
    case Outcome::kFailed:
      host.timeouts_in_a_row = 0;
      folder.timeouts_in_a_row = 0;
      break;
  }
  Refresh(folder);
  GivenUp given_up;
  if (!folder.answered && folder.timeouts_in_a_row >= FolderRound() && folder.left > 0) {
    given_up.folder.assign(folder.name);
    given_up.timeouts = folder.timeouts_in_a_row;
    for (size_t waiting = Front(folder.groups, &Place::next_in_folder); waiting != kNone;
         waiting = Front(folder.groups, &Place::next_in_folder)) {
      Take(waiting);
      given_up.groups.push_back(waiting);
    }
  }
  MarkReady(*folder.host);  // given up: its rank fell
  MarkReady(host);
  return given_up;
}

void CheckQueue::Look(const std::vector<std::pair<size_t, Clock::duration>>& waiting) {
  // Each look finds every folder's longest wait anew.
  std::vector<Folder*> folders = std::move(waiting_);
  waiting_.clear();
  for (Folder* folder : folders)
    folder->waiting = 0;
  for (const auto& [group, waited] : waiting) {
    if (waited < kSlowAfter) continue;
    Folder& folder = *places_[group].folder;
    if (folder.waiting == 0) waiting_.push_back(&folder);
    folder.waiting = std::max(folder.waiting, static_cast<float>(Seconds(waited)));
    folder.slow = true;
  }
  folders.insert(folders.end(), waiting_.begin(), waiting_.end());
  for (Folder* folder : folders)
    Refresh(*folder);
}

void CheckQueue::Refresh(Folder& folder) {
  // Quick requests count alike, whatever the jitter of their few milliseconds: a host is not
  // owed another's connection (and a new one opened) because its answers came a little slower.
  // A small change is not worth a new place in the order.
  const float cost = std::max({folder.mean, folder.waiting, static_cast<float>(kFirstGuess)});
  if (std::abs(cost - folder.cost) > folder.cost / 8) folder.cost = cost;
  Reweigh(folder);
  QueueSlow(folder);
  MarkReady(*folder.host);
}

void CheckQueue::Reweigh(Folder& folder) {
  // A slow folder that has answered nothing counts what is left of its round.
  uint32_t counted = folder.left;
  const bool silent = folder.slow && !folder.answered;
  if (silent)
    counted = std::min<uint32_t>(
        counted, std::max(0, FolderRound() - folder.in_flight - folder.timeouts_in_a_row));
  Host& host = *folder.host;
  const double work = folder.cost * static_cast<double>(counted);
  host.work = std::max(0.0, host.work + work - folder.work);
  folder.work = work;
  const uint32_t probes = silent ? counted : 0;
  host.probes = host.probes + probes - folder.probes;
  folder.probes = probes;
}

void CheckQueue::QueueSlow(Folder& folder) {
  if (!folder.slow || folder.left == 0) return;
  if (folder.queued && folder.Order() == std::pair(folder.queued_silent, folder.queued_cost))
    return;
  folder.queued = true;
  folder.queued_silent = !folder.answered;
  folder.queued_cost = folder.cost;
  folder.host->slow_folders.emplace(folder.Order(), &folder);
}

}  // namespace pagelathe
