// The preview: plays the saved frame files of the current picture in the frame canvas, one a
// second, until the abort button is pressed.
#pragma once

#include <QImage>
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>
#include <utility>

#include "preview/frame_sequence.h"

namespace kinetta::preview {

class PreviewPlayer : public QObject {
  Q_OBJECT

 public:
  /// `sourcePath` is asked at every tick, so opening another picture during a preview switches
  /// the playback to that picture's frames.
  explicit PreviewPlayer(std::function<std::string()> sourcePath, QObject* parent = nullptr);

  /// The frame files it shows: ".bmp" (as at first) or ".png".
  void SetFrameExtension(std::string extension) { sequence_.SetExtension(std::move(extension)); }

  /// Shows frame 00 and starts the ticks. False, with no tick started, when frame 00 cannot be
  /// loaded.
  bool Start();
  /// The abort button: the preview ends at the next tick.
  void RequestAbort() { abortRequested_ = true; }
  /// Ends at once, without a further tick (the program is ending).
  void Stop();

  bool playing() const { return timer_.isActive(); }
  int frame() const { return sequence_.frame(); }
  /// The tick timer: 1000 ms while playing.
  const QTimer& timer() const { return timer_; }

 public slots:
  /// One tick: ends the preview after an abort, otherwise shows the next frame.
  void Tick();

 signals:
  /// A frame file was loaded; the frame canvas shows it.
  void frameShown(const QImage& frame);
  /// The preview has ended (abort, or frame 00 could no longer be loaded).
  void ended();

 private:
  bool Show(const std::string& file);
  void End();

  std::function<std::string()> sourcePath_;
  FrameSequence sequence_;
  QTimer timer_;
  bool abortRequested_ = false;
};

}  // namespace kinetta::preview
