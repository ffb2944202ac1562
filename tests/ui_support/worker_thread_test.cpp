// The worker thread under the conversion and animation runners: news arrives on the receiver's
// thread in order, only one job runs at a time, and news from a joined job is dropped.
#include "ui_support/worker_thread.h"

#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <vector>

#include "event_wait.h"

namespace kinetta::ui {
namespace {

TEST(WorkerThread, NewsRunsOnTheReceiversThreadInOrder) {
  QObject receiver;
  WorkerThread worker(&receiver);
  std::vector<int> seen;
  bool onReceiverThread = true;
  bool done = false;
  ASSERT_TRUE(worker.Start([&](const WorkerThread::Post& post) {
    for (int i = 0; i < 5; ++i) {
      post([&, i] {
        seen.push_back(i);
        onReceiverThread = onReceiverThread && QThread::currentThread() == receiver.thread();
      });
    }
    post([&] {
      worker.Join();
      done = true;
    });
  }));
  ASSERT_TRUE(test::WaitUntil([&] { return done; }));
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_TRUE(onReceiverThread);
  EXPECT_FALSE(worker.running());
}

TEST(WorkerThread, OneJobAtATimeAndNothingFromAJoinedJob) {
  QObject receiver;
  WorkerThread worker(&receiver);
  std::atomic<bool> release{false};
  bool late = false;
  ASSERT_TRUE(worker.Start([&](const WorkerThread::Post& post) {
    while (!release) QThread::msleep(1);
    post([&] { late = true; });
  }));
  EXPECT_FALSE(worker.Start([](const WorkerThread::Post&) {}));
  release = true;
  worker.Join();  // the program stopping: what the job posted on its way out is not seen
  test::ProcessPostedEvents();
  EXPECT_FALSE(late);
  EXPECT_TRUE(worker.Start([](const WorkerThread::Post&) {}));
  worker.Join();
}

}  // namespace
}  // namespace kinetta::ui
