// Waiting on the event loop in the GUI tests: for a condition that queued signals, worker
// threads or the window system bring about, and for what is already posted (a dialog closed with
// WA_DeleteOnClose is deleted by then).
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <chrono>
#include <functional>
#include <thread>

namespace kinetta::test {

/// Delivers the events posted so far, deferred deletions included, as the program's own event
/// loop would (a test's calls run outside that loop, where Qt keeps some deletions back).
inline void ProcessPostedEvents(int maxMs = 0) {
  QCoreApplication::processEvents(QEventLoop::AllEvents, maxMs);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

/// Runs the event loop until `done` holds; false when it still does not after `timeoutMs`.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 30000) {
  const QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    ProcessPostedEvents(20);
    // Leaves the cores to the worker threads the condition often waits for.
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace kinetta::test
