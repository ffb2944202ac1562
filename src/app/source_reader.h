// The source picture read in full on a worker thread while the window shows a first look at it.
// The picture, or why it could not be read, comes back to the user-interface thread as a queued
// call; opening another picture or closing the window stops the reading within a row of blocks,
// and its result is then never reported.
#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "base/outcome.h"
#include "image/picture.h"
#include "ui_support/worker_thread.h"

namespace kinetta::app {

class SourceReader {
 public:
  /// Receives the picture, or the failure with the message "<path>が開けません。".
  using Done = std::function<void(base::Result<image::Picture> read)>;

  /// `done` runs on `receiver`'s thread.
  explicit SourceReader(QObject* receiver) : worker_(receiver) {}
  /// Stops a reading that is still going and waits for it.
  ~SourceReader() { Stop(); }
  SourceReader(const SourceReader&) = delete;
  SourceReader& operator=(const SourceReader&) = delete;

  /// Starts reading the picture at `path` (GIF pictures only with `gifAllowed`) on its own
  /// thread; a reading under way is stopped first.
  void Start(const std::string& path, bool gifAllowed, Done done);
  /// Stops a reading under way and waits until its thread has ended; its `done` never runs.
  void Stop();
  bool running() const { return worker_.running(); }

  /// Tests hold a reading before it starts with this (called on the worker thread with the flag
  /// that Stop sets).
  void setHookForTesting(std::function<void(const std::atomic<bool>& stop)> hook) {
    hook_ = std::move(hook);
  }

 private:
  std::unique_ptr<std::atomic<bool>> stop_;
  std::function<void(const std::atomic<bool>&)> hook_;
  ui::WorkerThread worker_;
};

}  // namespace kinetta::app
