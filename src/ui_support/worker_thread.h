// One job at a time on a thread of its own, reporting back to a user-interface object: what the
// job posts runs on that object's thread, in order, and is dropped once the job has been joined
// (the program stopped it) or a later job has started. A job that breaks off with an error is
// reported as failed; it never ends the program.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <thread>

#include "base/outcome.h"

namespace kinetta::ui {

class WorkerThread {
 public:
  /// Runs a function on the receiver's thread.
  using Post = std::function<void(std::function<void()>)>;

  /// Postings run on `receiver`'s thread; none runs after it is destroyed.
  explicit WorkerThread(QObject* receiver) : receiver_(receiver) {}
  /// Waits for a job that is still running.
  ~WorkerThread() { Join(); }
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  bool running() const { return thread_.joinable(); }

  /// Receives the failure (base::ErrorStatus: its cause and the message for the user) when a job
  /// broke off with an error.
  using Failed = std::function<void(const base::Status& error)>;

  /// Starts `work` on a new thread, handing it the Post for its news. An error that leaves
  /// `work` (memory running out, say) ends the job instead of the program: `failed` then runs as
  /// the job's last news, once its thread has been joined. False, and nothing started, while a
  /// job is running. Call on the receiver's thread.
  bool Start(std::function<void(const Post& post)> work, Failed failed);

  /// Waits until the job's thread has ended. A job's last posting calls this before reporting
  /// its result, so the thread is gone when the result is seen. Call on the receiver's thread.
  void Join() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  QObject* receiver_;
  std::thread thread_;
  int job_ = 0;  ///< counts jobs, so news from an earlier one is dropped
};

}  // namespace kinetta::ui
