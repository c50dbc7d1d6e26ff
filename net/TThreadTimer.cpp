// The time-limit timer.
#include "net/TThreadTimer.h"

namespace pagelathe {

void TThreadTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  UpdateTimer();
}

void TThreadTimer::SetInterval(unsigned milliseconds) {
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  UpdateTimer();
}

void TThreadTimer::SetOnTimer(std::function<void(TThreadTimer&)> handler) {
  on_timer_ = std::move(handler);
  UpdateTimer();
}

void TThreadTimer::UpdateTimer() {
  armed_ = enabled_ && interval_ != 0 && static_cast<bool>(on_timer_);
  if (armed_) due_ = Clock::now() + std::chrono::milliseconds(interval_);
}

void TThreadTimer::Timer() {
  if (on_timer_) on_timer_(*this);
}

bool TThreadTimer::ProcessTimer(Clock::time_point now) {
  if (!armed_ || now < due_) return false;
  // A window timer keeps ticking: the next tick is one interval later.
  due_ = now + std::chrono::milliseconds(interval_);
  Timer();
  return true;
}

int TThreadTimer::MillisecondsToTick(Clock::time_point now) const {
  if (!armed_) return -1;
  if (now >= due_) return 0;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(due_ - now).count();
  return static_cast<int>(left) + 1;
}

}  // namespace pagelathe
