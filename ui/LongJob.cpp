// The worker's calls reach the window's thread as queued calls on the job object; Qt drops
// those still queued when the object goes.
#include "ui/LongJob.h"

#include <QMetaObject>

#include "ui/Messages.h"

namespace pagelathe {

LongJob::LongJob(QObject* parent)
    : QObject(parent),
      core_(
          [this](LongJobCore::Call call) {
            QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
          },
          [](const std::string& text) { ShowError(text); }) {
  core_.SetOnFinished([this] { emit Finished(); });
}

LongJob::~LongJob() {
  core_.StopAndWait();
}

}  // namespace pagelathe
