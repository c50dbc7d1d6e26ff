// The order of a check's requests, run on a simulated clock: farms of hosts whose folders
// answer at once, after seconds or never, under the connection limits the engine keeps.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "tools/check/CheckQueue.h"

namespace pagelathe {
namespace {

using Clock = CheckQueue::Clock;

// A folder of a farm: `links` links on each of `hosts` hosts ("http://hN/name/L"), each
// answered after `seconds`; a negative `seconds`: never answered (timed out after 20 s).
struct FarmFolder {
  std::string name;
  int hosts;
  int links;
  double seconds;
};

struct Simulated {
  double seconds = 0;                  // until the last request ended
  double busy = 0;                     // connection-seconds of all requests
  std::map<std::string, int> asked;    // requests per folder name
  std::map<std::string, int> gave_up;  // groups given up per folder name
};

Simulated Simulate(const std::vector<FarmFolder>& farm, int connections, int per_host) {
  constexpr double kTimeout = 20;
  std::deque<std::string> targets;  // the queue keeps views of them
  CheckQueue queue(per_host);
  std::vector<std::string> folder_of;
  std::vector<double> cost_of;
  // The links in the order a site lists them: the folders of each host interleaved.
  for (int link = 0;; ++link) {
    bool any = false;
    for (const FarmFolder& folder : farm) {
      for (int host = 0; host < folder.hosts && link < folder.links; ++host, any = true) {
        targets.push_back("http://h" + std::to_string(host) + "/" + folder.name + "/" +
                          std::to_string(link));
        static_cast<void>(queue.AddGroup(targets.back()));
        folder_of.push_back(folder.name);
        cost_of.push_back(folder.seconds < 0 ? kTimeout : folder.seconds);
      }
    }
    if (!any) break;
  }
  struct Request {
    size_t group;
    CheckQueue::Host* host;
    double start;
  };
  std::vector<Request> running;
  Simulated result;
  size_t left = folder_of.size();
  double now = 0;
  double next_look = 0;
  const auto at = [](double seconds) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  };
  while (left > 0) {
    // Free connections to the hosts owed them most, each within its own limit.
    std::vector<CheckQueue::Host*> served;
    while (static_cast<int>(running.size()) < connections) {
      CheckQueue::Host* host = queue.PopReady();
      if (host == nullptr) break;
      served.push_back(host);
      while (host->active < per_host && static_cast<int>(running.size()) < connections) {
        const size_t group = queue.TakeNext(*host);
        if (group == CheckQueue::kNone) break;
        ++host->active;
        queue.Started(group);
        running.push_back({group, host, now});
        ++result.asked[folder_of[group]];
      }
    }
    for (CheckQueue::Host* host : served)
      queue.MarkReady(*host);
    // The next event: a request ends, or the engine's look ten times a second.
    double next = next_look;
    for (const Request& request : running)
      next = std::min(next, request.start + cost_of[request.group]);
    now = next;
    if (now >= next_look) {
      std::vector<std::pair<size_t, Clock::duration>> waiting;
      for (const Request& request : running)
        waiting.emplace_back(request.group, at(now - request.start));
      queue.Look(waiting);
      next_look = now + 0.1;
    }
    for (size_t i = 0; i < running.size();) {
      const Request request = running[i];
      const double took = cost_of[request.group];
      if (request.start + took > now) {
        ++i;
        continue;
      }
      running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
      --request.host->active;
      --left;
      result.busy += took;
      result.seconds = now;
      const bool silent = took == kTimeout;
      const CheckQueue::GivenUp given_up =
          queue.Ended(*request.host, request.group, at(took),
                      silent ? CheckQueue::Outcome::kTimedOut : CheckQueue::Outcome::kAnswered);
      left -= given_up.groups.size();
      result.gave_up[folder_of[request.group]] += static_cast<int>(given_up.groups.size());
      queue.MarkReady(*request.host);
    }
  }
  return result;
}

TEST(CheckQueue, LongWaitsOverlapAndSilentFoldersCostOneRound) {
  struct Case {
    std::string name;
    std::vector<FarmFolder> farm;
    double most_seconds;  // the least the limits allow, and a tenth more
  };
  const Case cases[] = {
      // 18 hosts, each with 12 links that never answer: a round of 4 each, 1,440 s; 30 links
      // of 2 s, 1,080 s; 200 quick ones, 18 s; over 64 connections at least 40 s.
      {"mixed",
       {{"fast", 18, 200, 0.005}, {"slow", 18, 30, 2}, {"silent", 18, 12, -1}},
       1.1 * (1440 + 1080 + 18) / 64},
      // One host of slow links among many quick ones: its 8 connections from the start.
      {"one slow host", {{"fast", 40, 50, 0.01}, {"slow", 1, 400, 2}}, 1.1 * 400 * 2 / 8},
      // Only quick links: the connections never stand idle.
      {"quick", {{"fast", 20, 500, 0.005}}, 1.1 * 20 * 500 * 0.005 / 64},
  };
  for (const Case& c : cases) {
    const Simulated run = Simulate(c.farm, 64, 8);
    EXPECT_LE(run.seconds, c.most_seconds) << c.name << ": " << run.busy << " connection-s";
    for (const FarmFolder& folder : c.farm) {
      const int links = folder.hosts * folder.links;
      if (folder.seconds < 0) {
        EXPECT_EQ(run.asked.at(folder.name), folder.hosts * 4) << c.name << " " << folder.name;
        EXPECT_EQ(run.gave_up.at(folder.name), links - folder.hosts * 4) << c.name;
      } else {
        EXPECT_EQ(run.asked.at(folder.name), links) << c.name << " " << folder.name;
        EXPECT_FALSE(run.gave_up.contains(folder.name) && run.gave_up.at(folder.name) > 0)
            << c.name << " " << folder.name;
      }
    }
  }
}

}  // namespace
}  // namespace pagelathe
