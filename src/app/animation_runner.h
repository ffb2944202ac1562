// An animation file made on a worker thread: the window stays responsive, the progress and the
// result come back to the user-interface thread as queued calls carrying values, and the abort
// button or the end of the program stop the file between two frames.
#pragma once

#include <QMetaType>
#include <QObject>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/settings.h"
#include "export/animation_file.h"
#include "export/sticker_targets.h"
#include "ui_support/worker_thread.h"

namespace kinetta::app {

/// Everything the worker reads, copied when it starts.
struct AnimationJob {
  std::string sourcePath;  ///< whose frame files are read
  exporter::AnimationFormat format = exporter::AnimationFormat::Gif;
  exporter::AnimationDelay delay;
  std::filesystem::path target;
  render::Colour background = 0;  ///< the MP4's padding of an odd side: the frames' background
  std::optional<render::Colour> matte;  ///< the GIF's partly transparent pixels laid over it
  std::optional<int> webpQuality;       ///< a lossy WebP at this quality
  int maxSide = 0;                      ///< the file's longest side at most this; 0 no limit
  base::Settings settings;              ///< the run's, which says what its frame files are
  /// A sticker for this target, fitted to its rules, instead of the format's plain file.
  const exporter::StickerTarget* sticker = nullptr;
  /// Called on the worker thread with every progress step and the abort flag (tests hold the
  /// work there until it is aborted).
  std::function<void(int done, int total, const std::atomic<bool>& abort)> onProgress;
};

class AnimationRunner : public QObject {
  Q_OBJECT

 public:
  explicit AnimationRunner(QObject* parent = nullptr);
  /// Stops a file that is still being made and waits for it.
  ~AnimationRunner() override;

  /// Starts making the file on its own thread. False when one is already being made.
  bool Start(AnimationJob job);
  /// The abort button: the writer stops before its next frame and leaves no file.
  void Abort();
  /// The program is ending: aborts and waits until the thread has ended.
  void StopAndWait();

  bool running() const { return worker_.running(); }

 signals:
  /// `done` frames read (`total` 0) or encoded (of `total`).
  void progressed(int done, int total);
  /// The file is made, refused or abandoned; the thread is already joined.
  void finished(const kinetta::exporter::AnimationResult& result);

 private:
  std::unique_ptr<std::atomic<bool>> abort_;
  ui::WorkerThread worker_{this};
};

}  // namespace kinetta::app

Q_DECLARE_METATYPE(kinetta::exporter::AnimationResult)
