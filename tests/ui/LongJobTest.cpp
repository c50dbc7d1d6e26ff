// The long-job pattern: progress on the window's thread, stop at once, stale messages ignored.
#include "ui/LongJob.h"

#include <gtest/gtest.h>
#include <QThread>

#include <atomic>

#include "support/GuiTest.h"

namespace pagelathe {
namespace {

using testing::WaitFor;

TEST(LongJob, RunsBodyOnWorkerAndFinishesOnWindowThreadWithLastProgress) {
  LongJob job;
  std::atomic<bool> body_on_worker{false};
  int last_progress = -1;
  bool finished = false;
  bool progress_on_gui = true;
  job.Start(
      [&](LongJob::Context& context) {
        body_on_worker = QThread::currentThread() != qApp->thread();
        for (int i = 0; i <= 1000; ++i)
          context.Progress([&, i] {
            progress_on_gui = progress_on_gui && QThread::currentThread() == qApp->thread();
            last_progress = i;
          });
      },
      [&] { finished = true; });
  EXPECT_TRUE(job.Running());
  ASSERT_TRUE(WaitFor([&] { return finished; }));
  EXPECT_TRUE(body_on_worker);
  EXPECT_TRUE(progress_on_gui);
  EXPECT_EQ(last_progress, 1000);  // the held-back last update arrives before the finish
  EXPECT_FALSE(job.Running());
}

TEST(LongJob, StopFinishesAtOnceAndIgnoresWhatTheWorkerSendsLater) {
  LongJob job;
  std::atomic<bool> release{false};
  std::atomic<bool> saw_stop{false};
  int finishes = 0;
  int late = 0;
  job.Start(
      [&](LongJob::Context& context) {
        while (!release)
          QThread::msleep(1);
        saw_stop = context.Stopped();
        context.Progress([&] { ++late; });
      },
      [&] { ++finishes; });
  job.Stop();
  EXPECT_EQ(finishes, 1);  // at once, before the worker has noticed
  EXPECT_FALSE(job.Running());
  release = true;
  job.StopAndWait();  // joins the thread
  EXPECT_TRUE(saw_stop);
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  EXPECT_EQ(late, 0);
  EXPECT_EQ(finishes, 1);
}

TEST(LongJob, ANewJobIgnoresTheStoppedOnesMessages) {
  LongJob job;
  std::atomic<bool> release{false};
  int old_updates = 0;
  job.Start(
      [&](LongJob::Context& context) {
        while (!release)
          QThread::msleep(1);
        context.Progress([&] { ++old_updates; });
      },
      [] {});
  job.Stop();
  bool second_finished = false;
  job.Start([](LongJob::Context&) {}, [&] { second_finished = true; });
  release = true;
  ASSERT_TRUE(WaitFor([&] { return second_finished; }));
  job.StopAndWait();
  QCoreApplication::processEvents();
  EXPECT_EQ(old_updates, 0);
}

TEST(LongJob, ExceptionInTheBodyIsShownAndTheJobStillFinishes) {
  testing::RecordedMessages().clear();
  LongJob job;
  bool finished = false;
  job.Start([](LongJob::Context&) { throw std::runtime_error("Cannot read file \"x\"."); },
            [&] { finished = true; });
  ASSERT_TRUE(WaitFor([&] { return finished; }));
  ASSERT_EQ(testing::RecordedMessages().size(), 1u);
  EXPECT_EQ(testing::RecordedMessages()[0].text, "Cannot read file \"x\".");
  EXPECT_TRUE(testing::RecordedMessages()[0].is_error);
}

}  // namespace
}  // namespace pagelathe
