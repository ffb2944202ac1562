// The HTML page and the animation file: their dialogs, and the animation file made on the
// worker thread with its progress and its end.
#include <QProgressBar>
#include <QSettings>

#include "app/main_window.h"
#include "base/memory_budget.h"
#include "base/messages.h"
#include "export/animation_dialog.h"
#include "export/animation_file.h"
#include "export/export_dialog.h"
#include "export/html_page.h"
#include "ui_support/form_metrics.h"
#include "ui_support/prompter.h"
#include "ui_support/ui_messages.h"

namespace kinetta::app {

namespace {

// The animation dialog's size choice, kept for the next file in the per-user store.
const QString kAnimationMaxSideKey = QStringLiteral("Settings/AnimationMaxSide");

}  // namespace

void MainWindow::MakeHtmlPage() {
  if (sourcePath_.empty()) {
    Warn(ui::Utf8(base::kNoSourceMessage.data()));
    return;
  }
  OpenExportDialog();
}

exporter::ExportDialog* MainWindow::exportDialog() const { return exportDialog_; }

void MainWindow::OpenExportDialog() {
  if (!exportDialog_) {
    exportDialog_ = new exporter::ExportDialog([this] { return FramesPath(); }, appFolder_,
                                               layout_.twipsPerPixel(), prompter_, this);
    exportDialog_->setAttribute(Qt::WA_DeleteOnClose);
    exportDialog_->SetFrameExtension([this] { return exporter::FrameExtensionOf(settings_); });
  }
  exportDialog_->show();
  exportDialog_->raise();
  exportDialog_->activateWindow();
}

// ---- Animation file --------------------------------------------------------------------------

void MainWindow::MakeAnimationFile() {
  if (!MayStart(Activity::MakingAnimation)) return;
  if (sourcePath_.empty()) {
    Warn(ui::Utf8(base::kNoSourceMessage.data()));
    return;
  }
  OpenAnimationDialog();
}

exporter::AnimationDialog* MainWindow::animationDialog() const { return animationDialog_; }

void MainWindow::OpenAnimationDialog() {
  if (!animationDialog_) {
    animationDialog_ = new exporter::AnimationDialog(
        [this] { return FramesPath(); }, [this] { return MayStart(Activity::MakingAnimation); },
        [this](const exporter::AnimationOrder& order) { return StartAnimation(order); },
        layout_.twipsPerPixel(), prompter_, this);
    animationDialog_->setAttribute(Qt::WA_DeleteOnClose);
    animationDialog_->SetMaxSide(placement_.value(kAnimationMaxSideKey, 0).toInt());
  }
  animationDialog_->SetTransparentBackground(settings_.TransparentBack);
  animationDialog_->SetPngFrames(base::PngFrames(settings_));
  animationDialog_->show();
  animationDialog_->raise();
  animationDialog_->activateWindow();
}

bool MainWindow::StartAnimation(const exporter::AnimationOrder& order) {
  // The dialog checked the target against the frames; with an output folder the picture itself
  // lies elsewhere and is checked here.
  if (const base::Status refused = exporter::CheckAnimationTarget(order.target, sourcePath_);
      !refused.ok()) {
    Warn(QString::fromStdString(refused.message()));
    return false;
  }
  if (!MayStart(Activity::MakingAnimation) || !activity_.Begin(Activity::MakingAnimation)) {
    return false;
  }
  SetStatus(ui::Utf8(ui::kStatusMakingAnimation));
  ShowAbortButton(true);
  OnAnimationProgress(0, 0);
  progress_->show();
  AnimationJob job;
  job.sourcePath = order.sourcePath;
  job.format = order.format;
  job.delay = order.delay;
  job.target = order.target;
  job.background = settings_.BackColor;  // the colour the frames were rendered on
  if (order.matteOnBackground) job.matte = settings_.BackColor;
  job.webpQuality = order.webpQuality;
  job.maxSide = order.maxSide;
  placement_.setValue(kAnimationMaxSideKey, order.maxSide);
  job.settings = settings_;
  job.sticker = order.sticker;
  job.onProgress = animationProgressHook_;
  animationRunner_.Start(std::move(job));
  return true;
}

// Reading the frames: an empty bar counting the frames read (their number is not known yet);
// encoding: the bar fills with the frames encoded.
void MainWindow::OnAnimationProgress(int done, int total) {
  if (total <= 0) {
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setFormat(ui::Utf8(ui::kProgressFramesRead).arg(done));
    return;
  }
  progress_->setFormat(ui::Utf8(ui::kProgressSteps));
  progress_->setRange(0, total);
  progress_->setValue(done);
}

void MainWindow::OnAnimationFinished(const exporter::AnimationResult& result) {
  activity_.End(Activity::MakingAnimation);
  // The worker has ended: what it held goes back to the system, not only to the allocator.
  base::ReturnFreedMemory();
  ShowAbortButton(false);
  progress_->hide();
  progress_->setFormat(ui::Utf8(ui::kProgressSteps));
  const QString message = QString::fromStdString(result.status.message().empty()
                                                     ? std::string(base::kAnimationFailedMessage)
                                                     : result.status.message());
  switch (result.outcome) {
    case exporter::AnimationStatus::Written:
      SetStatus(ui::Utf8(ui::kStatusCompleted));
      // A sticker: what it was measured to be, against the target's rules it passed.
      if (!result.summary.empty()) prompter_.Inform(this, QString::fromStdString(result.summary));
      break;
    case exporter::AnimationStatus::Aborted:
      SetStatus(ui::Utf8(ui::kStatusAborted));
      break;
    case exporter::AnimationStatus::NoFrames:
      // The frames went away between the dialog's check and the worker's first read.
      SetStatus({});
      Warn(ui::Utf8(base::kNoFramesMessage.data()));
      break;
    case exporter::AnimationStatus::Failed:
      SetStatus(ui::Utf8(ui::kStatusAborted));
      Warn(message);
      break;
  }
}

}  // namespace kinetta::app
