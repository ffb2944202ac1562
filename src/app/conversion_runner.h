// A conversion run on a worker thread: the window stays responsive, each saved frame comes back
// to the user-interface thread as a copy reduced for showing, and the abort button or the end
// of the program stop the run at the renderer's next checkpoint.
#pragma once

#include <QImage>
#include <QMetaType>
#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "app/window_layout.h"
#include "base/settings.h"
#include "render/run.h"
#include "render/surface.h"
#include "ui_support/worker_thread.h"

namespace kinetta::app {

/// Everything a run reads, copied (or, the picture, shared) when it starts: opening another
/// picture or changing the settings during the run does not touch it.
struct ConversionJob {
  std::shared_ptr<const render::Surface> source;
  /// Each saved frame comes back no larger than this, the most the frame canvas shows.
  PixelSize shownBound{1 << 20, 1 << 20};
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
  /// Frame `k`, of `frameSize`, was saved; `shown` is a copy of it reduced for showing.
  void frameSaved(int k, const QImage& shown, QSize frameSize);
  /// The run has ended; its thread is already joined.
  void finished(const kinetta::render::RunResult& result);

 private:
  std::unique_ptr<render::RunControl> control_;
  ui::WorkerThread worker_{this};
};

}  // namespace kinetta::app

Q_DECLARE_METATYPE(kinetta::render::RunResult)
