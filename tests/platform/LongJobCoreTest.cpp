// The long-job pattern with real worker threads and an owner thread of the test's own: the
// progress rule, the final delivery, stops, stale job numbers and errors. The clock is the
// test's, moved by the job bodies, so no case depends on how fast the machine is.
#include "platform/LongJobCore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace pagelathe {
namespace {

using std::chrono::milliseconds;
using TimePoint = std::chrono::steady_clock::time_point;

// The owner's side: the calls the workers post, run on the test's thread when it drains them.
class Owner {
 public:
  LongJobCore::Post Poster() {
    return [this](LongJobCore::Call call) {
      {
        const std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
      }
      posted_.notify_one();
    };
  }

  // Runs posted calls until `done` holds; false when nothing more came for ten seconds.
  template <typename Condition>
  bool RunUntil(Condition done) {
    while (!done()) {
      LongJobCore::Call call;
      {
        std::unique_lock lock(mutex_);
        if (!posted_.wait_for(lock, std::chrono::seconds(10), [this] { return !calls_.empty(); }))
          return false;
        call = std::move(calls_.front());
        calls_.pop_front();
      }
      call();
    }
    return true;
  }

  // Runs every call posted so far (the workers must have ended).
  void RunAll() {
    for (;;) {
      LongJobCore::Call call;
      {
        const std::lock_guard lock(mutex_);
        if (calls_.empty()) return;
        call = std::move(calls_.front());
        calls_.pop_front();
      }
      call();
    }
  }

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<LongJobCore::Call> calls_;
};

// A clock that stands still until a job body moves it.
class TestClock {
 public:
  LongJobCore::Clock Reader() {
    return [this] { return TimePoint(milliseconds(now_ms_.load())); };
  }
  void Set(int ms) { now_ms_.store(ms); }

 private:
  std::atomic<int> now_ms_{0};
};

struct Recorder {
  std::vector<std::string> events;  // updates, errors and finishes, in the order they ran
  std::thread::id owner = std::this_thread::get_id();
  bool all_on_owner = true;
  void Add(std::string event) {
    all_on_owner = all_on_owner && std::this_thread::get_id() == owner;
    events.push_back(std::move(event));
  }
};

TEST(LongJobCore, ProgressPassesAtMostEveryFiftyMillisecondsAndTheLastAlwaysArrives) {
  struct Case {
    std::vector<int> update_times;  // when the body sends update i (named by its time)
    std::vector<std::string> delivered;
  };
  const Case cases[] = {
      {{}, {"finish"}},
      {{5}, {"5", "finish"}},
      {{0, 10, 20, 60}, {"0", "60", "finish"}},
      // The held-back 20 replaces 10 and comes before the finish.
      {{0, 10, 20}, {"0", "20", "finish"}},
      {{0, 49, 50, 99, 100}, {"0", "50", "100", "finish"}},
      {{100, 100, 100, 100}, {"100", "100", "finish"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.delivered.size());
    Owner owner;
    TestClock clock;
    Recorder recorder;
    bool finished = false;
    LongJobCore job(owner.Poster(), nullptr, clock.Reader());
    job.Start(
        [&clock, &recorder, times = c.update_times](LongJobCore::Context& context) {
          for (int time : times) {
            clock.Set(time);
            context.Progress([&recorder, time] { recorder.Add(std::to_string(time)); });
          }
        },
        [&] {
          recorder.Add("finish");
          finished = true;
        });
    EXPECT_TRUE(job.Running());
    ASSERT_TRUE(owner.RunUntil([&] { return finished; }));
    EXPECT_FALSE(job.Running());
    EXPECT_EQ(recorder.events, c.delivered);
    EXPECT_TRUE(recorder.all_on_owner);
  }
}

TEST(LongJobCore, TheBodyRunsOnAWorkerThreadWithTheStopFlagDown) {
  Owner owner;
  std::thread::id body_thread;
  bool stopped_at_start = true;
  bool finished = false;
  LongJobCore job(owner.Poster(), nullptr);
  job.Start(
      [&](LongJobCore::Context& context) {
        body_thread = std::this_thread::get_id();
        stopped_at_start = context.Stopped() || context.StopFlag().load();
      },
      [&] { finished = true; });
  ASSERT_TRUE(owner.RunUntil([&] { return finished; }));
  EXPECT_NE(body_thread, std::this_thread::get_id());
  EXPECT_NE(body_thread, std::thread::id());
  EXPECT_FALSE(stopped_at_start);
}

TEST(LongJobCore, AStopFinishesAtOnceAndNothingTheWorkerSendsLaterArrives) {
  Owner owner;
  Recorder recorder;
  int finishes = 0;
  std::atomic<bool> saw_stop{false};
  LongJobCore job(owner.Poster(), [&](const std::string& text) { recorder.Add("error " + text); });
  job.Start(
      [&](LongJobCore::Context& context) {
        context.Progress([&] { recorder.Add("started"); });
        while (!context.Stopped())
          std::this_thread::yield();
        saw_stop = true;
        context.Progress([&] { recorder.Add("late"); });
        throw std::runtime_error("after the stop");
      },
      [&] { ++finishes; });
  ASSERT_TRUE(owner.RunUntil([&] { return !recorder.events.empty(); }));
  job.Stop();
  EXPECT_EQ(finishes, 1);  // at once, on the owner's thread
  EXPECT_FALSE(job.Running());
  job.StopAndWait();  // joins the worker
  EXPECT_TRUE(saw_stop);
  owner.RunAll();
  EXPECT_EQ(recorder.events, std::vector<std::string>{"started"});
  EXPECT_EQ(finishes, 1);
  job.Stop();  // a second stop of a job that is over changes nothing
  EXPECT_EQ(finishes, 1);
}

TEST(LongJobCore, ANewJobIgnoresTheStoppedOnesMessages) {
  Owner owner;
  Recorder recorder;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  bool second_finished = false;
  LongJobCore job(owner.Poster(), nullptr);
  job.Start(
      [&recorder, released](LongJobCore::Context& context) {
        released.wait();
        context.Progress([&recorder] { recorder.Add("first job"); });
      },
      [&] { recorder.Add("first finish"); });
  job.Stop();
  job.Start(
      [&](LongJobCore::Context& context) { context.Progress([&] { recorder.Add("second job"); }); },
      [&] {
        recorder.Add("second finish");
        second_finished = true;
      });
  release.set_value();
  ASSERT_TRUE(owner.RunUntil([&] { return second_finished; }));
  job.StopAndWait();
  owner.RunAll();
  EXPECT_EQ(recorder.events,
            (std::vector<std::string>{"first finish", "second job", "second finish"}));
}

TEST(LongJobCore, AnEscapedExceptionIsShownAfterTheLastUpdateAndBeforeTheFinish) {
  Owner owner;
  TestClock clock;
  Recorder recorder;
  bool finished = false;
  LongJobCore job(
      owner.Poster(), [&](const std::string& text) { recorder.Add("error " + text); },
      clock.Reader());
  job.Start(
      [&](LongJobCore::Context& context) {
        context.Progress([&] { recorder.Add("first"); });
        context.Progress([&] { recorder.Add("held back"); });  // the clock stands still
        throw std::runtime_error("Cannot read file \"x\".");
      },
      [&] {
        recorder.Add("finish");
        finished = true;
      });
  ASSERT_TRUE(owner.RunUntil([&] { return finished; }));
  // A body that throws does not deliver what it held back: its state is not complete.
  EXPECT_EQ(recorder.events,
            (std::vector<std::string>{"first", "error Cannot read file \"x\".", "finish"}));
  EXPECT_FALSE(job.Running());
}

TEST(LongJobCore, TheFinishedHookFollowsEveryFinishStoppedOnesIncluded) {
  Owner owner;
  std::vector<std::string> events;
  LongJobCore job(owner.Poster(), nullptr);
  job.SetOnFinished([&] { events.push_back("hook"); });
  job.Start([](LongJobCore::Context&) {}, [&] { events.push_back("finish"); });
  ASSERT_TRUE(owner.RunUntil([&] { return events.size() == 2; }));
  std::promise<void> release;
  job.Start([future = release.get_future().share()](LongJobCore::Context&) { future.wait(); },
            [&] { events.push_back("stopped"); });
  job.Stop();
  release.set_value();
  job.StopAndWait();
  owner.RunAll();
  EXPECT_EQ(events, (std::vector<std::string>{"finish", "hook", "stopped", "hook"}));
}

TEST(LongJobCore, CallsStillQueuedWhenTheCoreGoesDoNothing) {
  Owner owner;
  int delivered = 0;
  {
    LongJobCore job(owner.Poster(), nullptr);
    std::promise<void> posted;
    job.Start(
        [&](LongJobCore::Context& context) {
          context.Progress([&] { ++delivered; });
          posted.set_value();
        },
        [&] { ++delivered; });
    posted.get_future().wait();
  }  // the core stops the job and joins its worker; its update and end are still queued
  owner.RunAll();
  EXPECT_EQ(delivered, 1);  // only the finish that the stop ran at once
}

TEST(LongJobCore, ManyJobsInARowEachFinishOnceWithTheirOwnLastUpdate) {
  Owner owner;
  LongJobCore job(owner.Poster(), nullptr);
  std::vector<int> finished_with;
  int last = -1;
  for (int round = 0; round < 20; ++round) {
    bool finished = false;
    job.Start(
        [&last, round](LongJobCore::Context& context) {
          for (int i = 0; i <= round * 100; ++i)
            context.Progress([&last, i] { last = i; });
        },
        [&] {
          finished_with.push_back(last);
          finished = true;
        });
    ASSERT_TRUE(owner.RunUntil([&] { return finished; }));
  }
  ASSERT_EQ(finished_with.size(), 20u);
  for (int round = 0; round < 20; ++round)
    EXPECT_EQ(finished_with[static_cast<size_t>(round)], round * 100);
}

}  // namespace
}  // namespace pagelathe
