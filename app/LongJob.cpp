// Worker threads for the long jobs, with queued calls back to the window's thread.
#include "app/LongJob.h"

#include <QMetaObject>
#include <QPointer>

#include "ui/Messages.h"

namespace pagelathe {

void LongJob::Context::Progress(std::function<void()> update) {
  const auto now = std::chrono::steady_clock::now();
  if (now - last_ >= std::chrono::milliseconds(50)) {
    last_ = now;
    pending_ = nullptr;
    job_->Post(number_, std::move(update));
  } else {
    pending_ = std::move(update);
  }
}

void LongJob::Context::Flush() {
  if (pending_) job_->Post(number_, std::move(pending_));
  pending_ = nullptr;
}

LongJob::LongJob(QObject* parent) : QObject(parent) {}

LongJob::~LongJob() {
  StopAndWait();
}

void LongJob::Post(unsigned number, std::function<void()> call) {
  QPointer<LongJob> self(this);
  QMetaObject::invokeMethod(
      this,
      [self, number, call = std::move(call)] {
        if (self && self->running_ && self->number_ == number) call();
      },
      Qt::QueuedConnection);
}

void LongJob::Start(Body body, Finish finish) {
  ReapThreads(false);
  running_ = true;
  const unsigned number = ++number_;
  stop_ = std::make_shared<std::atomic<bool>>(false);
  finish_ = std::move(finish);
  auto done = std::make_shared<std::atomic<bool>>(false);
  auto stop = stop_;
  workers_.push_back({std::thread([this, number, stop, done, body = std::move(body)] {
                        Context context;
                        context.job_ = this;
                        context.number_ = number;
                        context.stop_ = stop;
                        try {
                          body(context);
                          context.Flush();
                        } catch (const std::exception& error) {
                          const std::string text = error.what();
                          Post(number, [text] { ShowError(text); });
                        }
                        Post(number, [this, number] { Complete(number); });
                        done->store(true);
                      }),
                      done});
}

void LongJob::Complete(unsigned number) {
  if (!running_ || number != number_) return;
  running_ = false;
  auto finish = std::move(finish_);
  finish_ = nullptr;
  if (finish) finish();
  emit Finished();
}

void LongJob::Stop() {
  if (!running_) return;
  stop_->store(true);
  Complete(number_);
}

void LongJob::StopAndWait() {
  Stop();
  ReapThreads(true);
}

void LongJob::ReapThreads(bool wait_all) {
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
