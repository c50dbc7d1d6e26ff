// The long-job pattern without a window: one job of a tool at a time, run on a worker thread,
// its progress and its end handed to the owner's thread through a post function that the
// owner supplies (the GUI queues the calls to its event loop; tests drain a queue of their
// own). A stop request takes effect at once on the owner's side, and everything the stopped
// worker still sends carries an old job number and is dropped.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace pagelathe {

class LongJobCore {
 public:
  using Call = std::function<void()>;
  // Hands `call` to the owner's thread, to run there later in the order of posting. Worker
  // threads call it, so it must be safe from any thread.
  using Post = std::function<void(Call call)>;
  // Shows the message of an exception that escaped a job's body; runs on the owner's thread.
  using ShowError = std::function<void(const std::string& text)>;
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // Progress updates are passed on at most this often.
  static constexpr std::chrono::milliseconds kProgressInterval{50};

  // What a job body gets: the stop flag to test between items, and a way to reach the owner.
  class Context {
   public:
    [[nodiscard]] const std::atomic<bool>& StopFlag() const { return *stop_; }
    [[nodiscard]] bool Stopped() const { return stop_->load(std::memory_order_relaxed); }
    // Queues `update` to run on the owner's thread. The first update goes at once, later ones
    // at most every kProgressInterval; one held back is replaced by the next and delivered
    // before the finishing step, so the last state always shows.
    void Progress(Call update);
    // Queues `call` to run on the owner's thread as it is, in order with the other calls: for
    // a body that paces its own updates (one outstanding at a time, say). Like an update, it
    // does not arrive once the job is stopped.
    void Post(Call call);

   private:
    friend class LongJobCore;
    LongJobCore* job_ = nullptr;
    unsigned number_ = 0;
    std::shared_ptr<std::atomic<bool>> stop_;
    std::optional<std::chrono::steady_clock::time_point> last_;
    Call pending_;
    void Flush();
  };

  using Body = std::function<void(Context& context)>;
  using Finish = std::function<void()>;

  // `clock` tells the progress rule the time (the steady clock unless a test brings its own).
  LongJobCore(Post post, ShowError show_error, Clock clock = &std::chrono::steady_clock::now);
  // Stops a running job and waits for every worker thread; calls still queued for the owner
  // then do nothing.
  ~LongJobCore();
  LongJobCore(const LongJobCore&) = delete;
  LongJobCore& operator=(const LongJobCore&) = delete;

  // The owner's thread only, as everything below.
  [[nodiscard]] bool Running() const { return state_->running; }

  // Starts `body` on a new worker thread. When it returns, its last held-back update, then an
  // escaped exception's message, then `finish` reach the owner's thread, in that order.
  void Start(Body body, Finish finish);

  // A stop request: sets the stop flag and runs the finishing step at once. The stopped
  // worker runs on until it next tests the flag; nothing it sends afterwards arrives.
  void Stop();

  // Stops a running job and waits for every worker thread (used when the window closes).
  void StopAndWait();

  // Runs on the owner's thread after every finishing step, stopped jobs' included.
  void SetOnFinished(Call on_finished) { state_->on_finished = std::move(on_finished); }

 private:
  // What the posted calls look at; they hold it weakly, so a call that arrives after the core
  // is gone does nothing.
  struct State {
    bool running = false;
    unsigned number = 0;
    Finish finish;
    Call on_finished;
    ShowError show_error;
  };
  struct Worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };

  // From worker threads: `call` runs on the owner's thread while job `number` is current.
  void PostFor(unsigned number, Call call) const;
  static void Complete(State& state, unsigned number);
  void ReapThreads(bool wait_all);

  const Post post_;
  const Clock clock_;
  std::shared_ptr<State> state_;
  std::shared_ptr<std::atomic<bool>> stop_;
  std::vector<Worker> workers_;
};

}  // namespace pagelathe
