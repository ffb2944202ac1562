// The settings dialog's preview box: plays the chosen motion, looping, drawn live by the engine
// on a worker thread from a reduced copy of the picture, transparent pixels over a board of
// squares; nothing is written anywhere.
#pragma once

#include <QFrame>
#include <QImage>
#include <QString>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

#include "base/settings.h"
#include "render/motion_preview.h"
#include "render/run.h"
#include "render/surface.h"
#include "ui_support/worker_thread.h"

namespace kinetta::settings {

class MotionPreviewBox : public QFrame {
  Q_OBJECT

 public:
  /// The most frames the box draws of a run, spread evenly through its loop.
  static constexpr int kMostFrames = 60;
  /// The pace of the loop: ten frames a second.
  static constexpr int kFrameMs = 100;
  /// The reduced copy of the picture is kept at this many times the box's side.
  static constexpr int kWorkingSides = 2;

  /// `side`: the box's inside, in pixels, on each side. `sources` keeps the reduced copy of the
  /// open picture from one opening of the dialog to the next.
  MotionPreviewBox(int side, std::shared_ptr<render::PreviewSources> sources,
                   QWidget* parent = nullptr);
  /// Stops the drawing and waits for its thread.
  ~MotionPreviewBox() override;

  /// Plays the run of `s` on `picture` (the test picture when it is empty), once the drawing of
  /// earlier values has stopped. The frames shown so far stay until the first new one is drawn.
  void Play(const base::Settings& s, std::shared_ptr<const render::Surface> picture);
  /// Shows `note` instead of frames.
  void ShowNote(const QString& note);
  /// Stops the drawing and waits for its thread (the dialog closing).
  void Stop();

  // What the box shows, for the tests.
  bool drawing() const { return worker_.running(); }
  const QString& note() const { return note_; }
  /// The values whose frames the box shows.
  const base::Settings& shownSettings() const { return shownSettings_; }
  /// The frames drawn of the values shown, in the order they play, and how many there will be.
  const std::vector<QImage>& frames() const { return frames_; }
  int framesPlanned() const { return planned_; }
  int shownFrame() const { return shown_; }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  struct Job {
    base::Settings settings;
    std::shared_ptr<const render::Surface> picture;
  };
  void Start(Job job);
  void Ended();
  void TakeFrame(int job, int place, const QImage& frame);
  void Tick();

  const int side_;
  std::shared_ptr<render::PreviewSources> sources_;
  ui::WorkerThread worker_{this};
  /// Stops the drawing job that is running; each job has its own.
  std::shared_ptr<render::RunControl> control_;
  std::optional<Job> waiting_;      ///< values to draw once the running job has stopped
  int job_ = 0;                     ///< the job whose frames are taken
  bool replaceOnFrame_ = false;     ///< the next frame drawn starts the frames of new values
  base::Settings pendingSettings_;  ///< the values being drawn, shown from their first frame
  int pendingPlanned_ = 0;

  QString note_;
  base::Settings shownSettings_;
  std::vector<QImage> frames_;
  int planned_ = 0;
  bool complete_ = false;
  int shown_ = -1;
  QTimer pace_;
};

}  // namespace kinetta::settings
