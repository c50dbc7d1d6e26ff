// The long-job pattern: one job of a tool at a time, run on a worker thread. The start button
// doubles as the stop button; a stop request takes effect at once on the window's side, and
// everything the stopped worker still sends is ignored.
#pragma once

#include <QObject>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace pagelathe {

class LongJob : public QObject {
  Q_OBJECT
 public:
  // What a job body gets: the stop flag to test between items, and a way to update the window.
  class Context {
   public:
    [[nodiscard]] const std::atomic<bool>& StopFlag() const { return *stop_; }
    [[nodiscard]] bool Stopped() const { return stop_->load(std::memory_order_relaxed); }
    // Queues `update` to run on the window's thread. Updates are passed on at most every
    // 50 ms; one held back is delivered before the finishing step, so the last state shows.
    void Progress(std::function<void()> update);

   private:
    friend class LongJob;
    LongJob* job_ = nullptr;
    unsigned number_ = 0;
    std::shared_ptr<std::atomic<bool>> stop_;
    std::chrono::steady_clock::time_point last_{};
    std::function<void()> pending_;
    void Flush();
  };

  using Body = std::function<void(Context& context)>;
  using Finish = std::function<void()>;

  explicit LongJob(QObject* parent = nullptr);
  ~LongJob() override;

  [[nodiscard]] bool Running() const { return running_; }

  // Starts `body` on a worker thread; when it returns, `finish` runs on the window's thread.
  // An exception escaping the body is shown as an error before `finish` runs.
  void Start(Body body, Finish finish);

  // A stop request: sets the stop flag and runs the finishing step at once. The stopped
  // worker runs on until it next tests the flag; nothing it sends afterwards arrives.
  void Stop();

  // Stops a running job and waits for every worker thread (used when the window closes).
  void StopAndWait();

 signals:
  void Finished();

 private:
  void Post(unsigned number, std::function<void()> call);
  void Complete(unsigned number);
  void ReapThreads(bool wait_all);

  struct Worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  bool running_ = false;
  unsigned number_ = 0;
  std::shared_ptr<std::atomic<bool>> stop_;
  Finish finish_;
  std::vector<Worker> workers_;
};

}  // namespace pagelathe
