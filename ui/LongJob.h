// The long-job pattern on the window's thread: a thin Qt face of LongJobCore whose posted
// calls are queued to the window's event loop, and whose errors go to the error box. The
// tools' workers (`Search`, `TThreadConvert`, ...) derive from it.
#pragma once

#include <QObject>

#include "platform/LongJobCore.h"

namespace pagelathe {

class LongJob : public QObject {
  Q_OBJECT
 public:
  using Context = LongJobCore::Context;
  using Body = LongJobCore::Body;
  using Finish = LongJobCore::Finish;

  explicit LongJob(QObject* parent = nullptr);
  ~LongJob() override;

  [[nodiscard]] bool Running() const { return core_.Running(); }

  // Starts `body` on a worker thread; when it returns, `finish` runs on the window's thread.
  // An exception escaping the body is shown as an error before `finish` runs.
  void Start(Body body, Finish finish) { core_.Start(std::move(body), std::move(finish)); }

  // A stop request: sets the stop flag and runs the finishing step at once. The stopped
  // worker runs on until it next tests the flag; nothing it sends afterwards arrives.
  void Stop() { core_.Stop(); }

  // Stops a running job and waits for every worker thread (used when the window closes).
  void StopAndWait() { core_.StopAndWait(); }

 signals:
  void Finished();

 private:
  LongJobCore core_;
};

}  // namespace pagelathe
