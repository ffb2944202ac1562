// Execute and Preview: the checks before a run, the run on the worker thread with its frames in
// the preview frame, and the preview player's frames and end.
#include <QProgressBar>
#include <chrono>

#include "app/main_window.h"
#include "app/picture_box.h"
#include "base/memory_budget.h"
#include "base/messages.h"
#include "preview/preview_player.h"
#include "render/run.h"
#include "ui_support/form_metrics.h"
#include "ui_support/prompter.h"
#include "ui_support/ui_messages.h"

namespace kinetta::app {

// The key under which the per-user store remembers that a question is no longer asked.
QString QuestionKey(render::RunWarning warning) {
  switch (warning) {
    case render::RunWarning::WideFrame:
      return QStringLiteral("WideFrame");
    case render::RunWarning::LargeSource:
      return QStringLiteral("LargeSource");
    case render::RunWarning::ManyFrames:
      break;
  }
  return QStringLiteral("ManyFrames");
}

QStringList QuestionKeys() {
  return {QuestionKey(render::RunWarning::WideFrame), QuestionKey(render::RunWarning::LargeSource),
          QuestionKey(render::RunWarning::ManyFrames)};
}

// ---- Execute ---------------------------------------------------------------------------------

void MainWindow::Execute() {
  if (!MayStart(Activity::Converting)) return;
  // A picture shown at a first look is run once it has been read whole.
  if (reader_.running()) {
    runWaits_ = true;
    SetStatus(ui::Utf8(ui::kStatusReadingPicture));
    return;
  }
  if (CheckRun()) StartRun();
}

bool MainWindow::CheckRun() {
  if (sourcePath_.empty()) {
    Warn(ui::Utf8(base::kNoSourceMessage.data()));
    return false;
  }
  // A folder the frames cannot go to is said before the user answers any question.
  if (!FramesFolderWritable()) return false;
  const PixelSizeF source = layout_.SourceSizeSingle();
  for (const render::RunWarning warning :
       render::CheckRunWarnings(settings_, source.width, source.height)) {
    const QString key = QuestionKey(warning);
    if (!questions_.Asked(key)) continue;
    bool silence = false;
    if (!prompter_.AskOkCancelOrSilence(
            this, QString::fromStdString(render::WarningQuestion(warning)), silence)) {
      return false;  // a tick with Cancel is not taken: the run the user stopped asks again
    }
    if (silence) questions_.Silence(key);
  }
  return true;
}

void MainWindow::StartRun() {
  if (!activity_.Begin(Activity::Converting)) return;
  SetStatus(ui::Utf8(ui::kStatusConverting));
  ShowAbortButton(true);
  progress_->setRange(0, std::max(1, settings_.FrameCount));
  progress_->setValue(0);
  progress_->show();
  ConversionJob job;
  job.source = source_;
  job.shownBound = pictureRoom_.canvas;
  job.sourcePath = FramesPath();
  job.settings = settings_;
  // The random dots of the fade-in differ from run to run.
  job.seed =
      static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  job.onCheckpoint = checkpointHook_;
  runner_.Start(std::move(job));
}

void MainWindow::OnFrameSaved(int k, const QImage& shown, QSize frameSize) {
  ShowOnCanvas(shown, frameSize);
  progress_->setValue(k + 1);
}

void MainWindow::OnRunFinished(const render::RunResult& result) {
  activity_.End(Activity::Converting);
  // The worker has ended: what it held goes back to the system, not only to the allocator.
  base::ReturnFreedMemory();
  ShowAbortButton(false);
  progress_->hide();
  switch (result.outcome) {
    case render::RunStatus::Completed:
      // A file left in place of the stale frame is said after the end.
      SetStatus(ui::Utf8(ui::kStatusCompleted) +
                (result.notice.empty() ? QString() : u' ' + QString::fromStdString(result.notice)));
      break;
    case render::RunStatus::Aborted:
      SetStatus(ui::Utf8(ui::kStatusAborted));
      break;
    case render::RunStatus::WriteFailed:
    case render::RunStatus::Failed:
      SetStatus(ui::Utf8(ui::kStatusAborted));
      Warn(QString::fromStdString(result.status.message()));
      break;
    case render::RunStatus::BadFrameSize:
    case render::RunStatus::TooLarge:
    case render::RunStatus::NoShape:
      // Nothing was drawn: no run took place.
      SetStatus({});
      Warn(QString::fromStdString(result.status.message()));
      break;
  }
}

// ---- Preview ---------------------------------------------------------------------------------

void MainWindow::Preview() {
  if (!MayStart(Activity::Previewing)) return;
  SetStatus({});
  if (sourcePath_.empty()) {
    Warn(ui::Utf8(base::kNoSourceMessage.data()));
    return;
  }
  SetStatus(ui::Utf8(ui::kStatusPreviewing));
  player_->SetFrameExtension(base::FrameExtension(settings_));
  if (!player_->Start()) {
    SetStatus({});
    Warn(ui::Utf8(base::kNoFramesMessage.data()));
    return;
  }
  activity_.Begin(Activity::Previewing);
  ShowAbortButton(true);
}

void MainWindow::OnPreviewFrame(const QImage& frame) { ShowOnCanvas(frame, frame.size()); }

void MainWindow::OnPreviewEnded() {
  ShowAbortButton(false);
  SetStatus({});
  activity_.End(Activity::Previewing);
}

// The frame canvas takes each frame's size, so that a preview after a restart shows whole frames
// and the HTML page gets the frame size; it keeps only a copy reduced for showing.
void MainWindow::ShowOnCanvas(const QImage& frame, QSize frameSize) {
  if (frameSize.width() != layout_.CanvasWidthPx() ||
      frameSize.height() != layout_.CanvasHeightPx()) {
    SetCanvasSize(frameSize.width(), frameSize.height());
  }
  canvasPicture_->setImage(ImageForShowing(frame, pictureRoom_.canvas));
}

}  // namespace kinetta::app
