// The order of a check's requests, run on a simulated clock: farms of hosts whose folders
// answer at once, after seconds or never (a time-out of 20 s), under the engine's limits of
// 64 connections and 8 to a host.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "tools/check/CheckQueue.h"

namespace pagelathe {
namespace {

// `links` links on each of `hosts` hosts ("http://hN/name/L"), answered after `seconds`, or
// never when `seconds` is 20.
struct FarmFolder {
  std::string name;
  int hosts, links;
  double seconds;
};

struct Simulated {
  double seconds = 0;  // until the last request ended
  std::map<std::string, int> asked, given_up;
};

Simulated Simulate(const std::vector<FarmFolder>& farm) {
  const auto span = [](double s) {
    return std::chrono::duration_cast<CheckQueue::Clock::duration>(
        std::chrono::duration<double>(s));
  };
  std::deque<std::string> targets;  // the queue keeps views of them
  CheckQueue queue(8);
  std::vector<const FarmFolder*> folder_of;
  for (int link = 0, added = 1; added > 0; ++link) {  // the folders of each host interleaved
    added = 0;
    for (const FarmFolder& folder : farm)
      for (int host = 0; host < folder.hosts && link < folder.links; ++host, ++added) {
        targets.push_back("http://h" + std::to_string(host) + "/" + folder.name + "/" +
                          std::to_string(link));
        static_cast<void>(queue.AddGroup(targets.back()));
        folder_of.push_back(&folder);
      }
  }
  struct Request {
    size_t group;
    CheckQueue::Host* host;
    double start;
  };
  std::vector<Request> running;
  Simulated run;
  size_t left = folder_of.size();
  for (double now = 0, next_look = 0; left > 0;) {
    std::vector<CheckQueue::Host*> served;
    for (CheckQueue::Host* host; running.size() < 64 && (host = queue.PopReady());) {
      served.push_back(host);
      for (size_t group; host->active < 8 && running.size() < 64 &&
                         (group = queue.TakeNext(*host)) != CheckQueue::kNone;) {
        ++host->active;
        queue.Started(group);
        running.push_back({group, host, now});
        ++run.asked[folder_of[group]->name];
      }
    }
    for (CheckQueue::Host* host : served)
      queue.MarkReady(*host);
    // The next event: a request ends, or the engine's look ten times a second.
    now = next_look;
    for (const Request& r : running)
      now = std::min(now, r.start + folder_of[r.group]->seconds);
    if (now >= next_look) {
      std::vector<std::pair<size_t, CheckQueue::Clock::duration>> waiting;
      for (const Request& r : running)
        waiting.emplace_back(r.group, span(now - r.start));
      queue.Look(waiting);
      next_look = now + 0.1;
    }
    std::erase_if(running, [&](const Request& r) {
      const FarmFolder& folder = *folder_of[r.group];
      if (r.start + folder.seconds > now) return false;
      --r.host->active;
      run.seconds = now;
      const auto given_up = queue.Ended(
          *r.host, r.group, span(folder.seconds),
          folder.seconds == 20 ? CheckQueue::Outcome::kTimedOut : CheckQueue::Outcome::kAnswered);
      left -= 1 + given_up.groups.size();
      run.given_up[folder.name] += static_cast<int>(given_up.groups.size());
      queue.MarkReady(*r.host);
      return true;
    });
  }
  return run;
}

TEST(CheckQueue, LongWaitsOverlapAndSilentFoldersCostOneRound) {
  struct Case {
    std::vector<FarmFolder> farm;
    double most_seconds;  // the least the limits allow, and a tenth more
  };
  const Case cases[] = {
      // A round of 4 of 12 silent links on 18 hosts, 1,440 s; 30 links of 2 s, 1,080 s; 200
      // quick ones, 18 s: over 64 connections at least 40 s.
      {{{"fast", 18, 200, 0.005}, {"slow", 18, 30, 2}, {"silent", 18, 12, 20}},
       1.1 * (1440 + 1080 + 18) / 64},
      // One host of slow links among many quick ones: its 8 connections from the start.
      {{{"fast", 40, 50, 0.01}, {"slow", 1, 400, 2}}, 1.1 * 400 * 2 / 8},
      // Only quick links: the connections never stand idle.
      {{{"fast", 20, 500, 0.005}}, 1.1 * 20 * 500 * 0.005 / 64},
  };
  for (const Case& c : cases) {
    Simulated run = Simulate(c.farm);
    EXPECT_LE(run.seconds, c.most_seconds) << c.farm.size();
    for (const FarmFolder& folder : c.farm) {
      const int links = folder.hosts * folder.links;
      EXPECT_EQ(run.asked[folder.name], folder.seconds == 20 ? folder.hosts * 4 : links)
          << folder.name;
      EXPECT_EQ(run.asked[folder.name] + run.given_up[folder.name], links) << folder.name;
    }
  }
}

}  // namespace
}  // namespace pagelathe
