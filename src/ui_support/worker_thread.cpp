// Starting a job on its thread, the queued hand-over of its news, and the catch that turns an
// error inside the job into its failure.
#include "ui_support/worker_thread.h"

#include <exception>
#include <utility>

#include "base/messages.h"

namespace kinetta::ui {

bool WorkerThread::Start(std::function<void(const Post& post)> work, Failed failed) {
  if (running()) return false;
  const int job = ++job_;
  const Post post = [this, job](std::function<void()> news) {
    QMetaObject::invokeMethod(
        receiver_,
        [this, job, news = std::move(news)] {
          if (job == job_ && running()) news();
        },
        Qt::QueuedConnection);
  };
  thread_ = std::thread([this, post, work = std::move(work), failed = std::move(failed)] {
    try {
      work(post);
    } catch (...) {
      // An exception leaving a thread's function would end the whole program, and with it the
      // settings that are written at its end.
      post([this, failed, error = base::ErrorStatus(std::current_exception())] {
        Join();
        failed(error);
      });
    }
  });
  return true;
}

}  // namespace kinetta::ui
