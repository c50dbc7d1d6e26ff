// The companion timer of the socket client: one periodic tick of `Interval` milliseconds,
// armed only while `Enabled`, `Interval` is not 0 and `OnTimer` is set. Its ticks are
// delivered by the waits of the thread that owns it (ProcessTimer), the way a window timer's
// ticks are delivered by that thread's message loop.
#pragma once

#include <chrono>
#include <functional>

namespace pagelathe {

class TThreadTimer {
 public:
  using Clock = std::chrono::steady_clock;

  TThreadTimer() = default;
  virtual ~TThreadTimer() = default;
  TThreadTimer(const TThreadTimer&) = delete;
  TThreadTimer& operator=(const TThreadTimer&) = delete;

  [[nodiscard]] bool Enabled() const { return enabled_; }
  [[nodiscard]] unsigned Interval() const { return interval_; }
  // Changing a property re-arms the timer (the count starts again); setting the value it
  // already has changes nothing, so the count of a running timer goes on.
  void SetEnabled(bool value);
  void SetInterval(unsigned milliseconds);
  void SetOnTimer(std::function<void(TThreadTimer&)> handler);

  // Calls OnTimer.
  virtual void Timer();

  // Delivers the tick when it is due; true when one was delivered.
  bool ProcessTimer(Clock::time_point now = Clock::now());
  // Milliseconds until the next tick (0 when due), or -1 when the timer is not armed.
  [[nodiscard]] int MillisecondsToTick(Clock::time_point now = Clock::now()) const;
  [[nodiscard]] bool Armed() const { return armed_; }

 private:
  void UpdateTimer();

  bool enabled_ = true;
  unsigned interval_ = 1000;
  std::function<void(TThreadTimer&)> on_timer_;
  bool armed_ = false;
  Clock::time_point due_{};
};

}  // namespace pagelathe
