#include "ui_support/worker_thread.h"

#include <utility>

namespace kinetta::ui {

bool WorkerThread::Start(std::function<void(const Post& post)> work) {
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
  thread_ = std::thread([post, work = std::move(work)] { work(post); });
  return true;
}

}  // namespace kinetta::ui
