// A conversion run on a worker thread: the window stays responsive, each saved frame comes back
// to the user-interface thread as a copied picture, and the abort button or the end of the
// program stop the run at the renderer's next checkpoint.
#pragma once

#include <QImage>
#include <QMetaType>
#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "base/settings.h"
#include "render/run.h"
#include "render/surface.h"
#include "ui_support/worker_thread.h"

namespace kinetta::app {

/// Everything a run reads, copied when it starts: opening another picture or changing the
/// settings during the run does not touch it.
struct ConversionJob {
  render::Surface source;
  std::string sourcePath;
  base::Settings settings;
  std::uint64_t seed = 0;
  /// Called at every checkpoint on a drawing thread (tests hold a run there).
  std::function<void(int frame)> onCheckpoint;
};

class ConversionRunner : public QObject {
  Q_OBJECT

 public:
  explicit ConversionRunner(QObject* parent = nullptr);
  /// Stops a run that is still going and waits for it.
  ~ConversionRunner() override;

  /// Starts the run on its own thread. False when a run is already under way.
  bool Start(ConversionJob job);
  /// The abort button: the renderer stops at its next checkpoint.
  void Abort();
  /// The program is ending: stops the run and waits until its thread has ended. Frames are
  /// written in one step each, so no half-written file is left behind.
  void StopAndWait();

  bool running() const { return worker_.running(); }

 signals:
  /// Frame `k` was saved; `frame` is a copy of it.
  void frameSaved(int k, const QImage& frame);
  /// The run has ended; its thread is already joined.
  void finished(const kinetta::render::RunResult& result);

 private:
  std::unique_ptr<render::RunControl> control_;
  ui::WorkerThread worker_{this};
};

}  // namespace kinetta::app

Q_DECLARE_METATYPE(kinetta::render::RunResult)
