// The worker thread under the conversion and animation runners: news arrives on the receiver's
// thread in order, only one job runs at a time, news from a joined job is dropped, and a job
// that throws ends as a failure instead of ending the program.
#include "ui_support/worker_thread.h"

#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "event_wait.h"

namespace kinetta::ui {
namespace {

// For jobs that are not meant to fail.
const WorkerThread::Failed kNoFailure = [](const base::Status& error) {
  ADD_FAILURE() << "the job failed: " << error.message();
};

TEST(WorkerThread, NewsRunsOnTheReceiversThreadInOrder) {
  QObject receiver;
  WorkerThread worker(&receiver);
  std::vector<int> seen;
  bool onReceiverThread = true;
  bool done = false;
  ASSERT_TRUE(worker.Start(
      [&](const WorkerThread::Post& post) {
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
      },
      kNoFailure));
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
  ASSERT_TRUE(worker.Start(
      [&](const WorkerThread::Post& post) {
        while (!release) QThread::msleep(1);
        post([&] { late = true; });
      },
      kNoFailure));
  EXPECT_FALSE(worker.Start([](const WorkerThread::Post&) {}, kNoFailure));
  release = true;
  worker.Join();  // the program stopping: what the job posted on its way out is not seen
  test::ProcessPostedEvents();
  EXPECT_FALSE(late);
  EXPECT_TRUE(worker.Start([](const WorkerThread::Post&) {}, kNoFailure));
  worker.Join();
}

// The failure comes after the news the job posted before it, on the receiver's thread, once the
// job's thread has ended, with its cause and the message for the user.
TEST(WorkerThread, JobThatThrowsEndsAsAFailure) {
  struct Case {
    std::function<void()> raise;
    std::string message;
    base::Cause cause;
  };
  const std::vector<Case> cases{
      {[] { throw std::bad_alloc(); }, "メモリが足りません。", base::Cause::OutOfMemory},
      {[] { throw std::runtime_error("disk gone"); }, "予期しないエラーが発生しました。(disk gone)",
       base::Cause::Unexpected},
      {[] { throw 7; }, "予期しないエラーが発生しました。", base::Cause::Unexpected},
  };
  for (const Case& c : cases) {
    QObject receiver;
    WorkerThread worker(&receiver);
    std::vector<std::string> seen;
    base::Cause cause{};
    bool joined = false;
    bool onReceiverThread = false;
    ASSERT_TRUE(worker.Start(
        [&](const WorkerThread::Post& post) {
          post([&] { seen.push_back("news"); });
          c.raise();
        },
        [&](const base::Status& error) {
          seen.push_back(error.message());
          cause = error.cause();
          joined = !worker.running();
          onReceiverThread = QThread::currentThread() == receiver.thread();
        }));
    ASSERT_TRUE(test::WaitUntil([&] { return seen.size() == 2; })) << c.message;
    EXPECT_EQ(seen, (std::vector<std::string>{"news", c.message}));
    EXPECT_EQ(cause, c.cause) << c.message;
    EXPECT_TRUE(joined) << c.message;
    EXPECT_TRUE(onReceiverThread) << c.message;
  }
}

}  // namespace
}  // namespace kinetta::ui
