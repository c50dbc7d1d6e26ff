// Worker threads for the long jobs, with posted calls back to the owner's thread.
#include "platform/LongJobCore.h"

#include <exception>
#include <utility>

namespace pagelathe {

void LongJobCore::Context::Progress(Call update) {
  const auto now = job_->clock_();
  if (!last_ || now - *last_ >= kProgressInterval) {
    last_ = now;
    pending_ = nullptr;
    job_->PostFor(number_, std::move(update));
  } else {
    pending_ = std::move(update);
  }
}

void LongJobCore::Context::Post(Call call) {
  job_->PostFor(number_, std::move(call));
}

void LongJobCore::Context::Flush() {
  if (pending_) job_->PostFor(number_, std::move(pending_));
  pending_ = nullptr;
}

LongJobCore::LongJobCore(Post post, ShowError show_error, Clock clock)
    : post_(std::move(post)), clock_(std::move(clock)), state_(std::make_shared<State>()) {
  state_->show_error = std::move(show_error);
}

LongJobCore::~LongJobCore() {
  StopAndWait();
  state_.reset();  // calls still queued find nothing to act on
}

void LongJobCore::PostFor(unsigned number, Call call) const {
  post_([weak = std::weak_ptr<State>(state_), number, call = std::move(call)] {
    const std::shared_ptr<State> state = weak.lock();
    if (state && state->running && state->number == number) call();
  });
}

void LongJobCore::Start(Body body, Finish finish) {
  ReapThreads(false);
  State& state = *state_;
  state.running = true;
  const unsigned number = ++state.number;
  stop_ = std::make_shared<std::atomic<bool>>(false);
  state.finish = std::move(finish);
  auto done = std::make_shared<std::atomic<bool>>(false);
  workers_.push_back({std::thread([this, number, stop = stop_, done,
                                   weak = std::weak_ptr<State>(state_), body = std::move(body)] {
                        Context context;
                        context.job_ = this;
                        context.number_ = number;
                        context.stop_ = stop;
                        try {
                          body(context);
                          context.Flush();
                        } catch (const std::exception& error) {
                          PostFor(number, [weak, text = std::string(error.what())] {
                            if (const std::shared_ptr<State> state = weak.lock();
                                state && state->show_error)
                              state->show_error(text);
                          });
                        }
                        PostFor(number, [weak, number] {
                          if (const std::shared_ptr<State> state = weak.lock())
                            Complete(*state, number);
                        });
                        done->store(true);
                      }),
                      done});
}

void LongJobCore::Complete(State& state, unsigned number) {
  if (!state.running || number != state.number) return;
  state.running = false;
  const Finish finish = std::exchange(state.finish, nullptr);
  if (finish) finish();
  if (state.on_finished) state.on_finished();
}

void LongJobCore::Stop() {
  if (!state_->running) return;
  stop_->store(true);
  Complete(*state_, state_->number);
}

void LongJobCore::StopAndWait() {
  Stop();
  ReapThreads(true);
}

void LongJobCore::ReapThreads(bool wait_all) {
  for (auto it = workers_.begin(); it != workers_.end();) {
    if (wait_all || it->done->load()) {
      if (it->thread.joinable()) it->thread.join();
      it = workers_.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace pagelathe
