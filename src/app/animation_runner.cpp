// The worker thread of an animation file and the hand-over of its progress and result to the
// user-interface thread.
#include "app/animation_runner.h"

#include "base/messages.h"
#include "export/export_messages.h"
#include "export/sticker_fit.h"
#include "image/frame_files.h"
#include "ui_support/form_metrics.h"

namespace kinetta::app {

namespace {

// A sticker fitted to its target, told as the other files are: its file and measure when it is
// written, else how it ended.
exporter::AnimationResult FitStickerFile(const AnimationJob& job,
                                         const exporter::AnimationProgress& progress,
                                         const std::atomic<bool>* abort) {
  exporter::StickerRequest request;
  request.target = job.sticker;
  // The loop is the frames on disk, as the other files take them, not what the settings say now.
  const int onDisk =
      image::FindFramesOnDisk(job.sourcePath, base::PngFrames(job.settings) ? ".png" : ".bmp")
          .count;
  request.frameCount = onDisk > 0 ? onDisk : job.settings.FrameCount;
  request.delayMs = job.delay.webpMilliseconds;
  request.file = job.target;
  request.abort = abort;
  request.progress = progress;
  const base::Result<exporter::StickerFit> fit =
      exporter::FitSticker(image::FrameFileReader(job.sourcePath, job.settings), request);
  exporter::AnimationResult result;
  result.status = fit.status();
  if (fit.ok()) {
    const exporter::StickerMeasure& m = fit.value().measure;
    result.outcome = exporter::AnimationStatus::Written;
    result.frames = m.frames;
    result.width = m.width;
    result.height = m.height;
    result.summary = job.target.string() + "\n" +
                     ui::Utf8(exporter::StickerTargetTitle(job.sticker->id)).toStdString() + ": " +
                     exporter::StickerResultText(m, fit.value().psnr);
  } else if (fit.cause() == base::Cause::Aborted) {
    result.outcome = exporter::AnimationStatus::Aborted;
  } else if (fit.cause() == base::Cause::NotFound && fit.message() == base::kNoFramesMessage) {
    result.outcome = exporter::AnimationStatus::NoFrames;
  } else {
    result.outcome = exporter::AnimationStatus::Failed;
  }
  return result;
}

}  // namespace

AnimationRunner::AnimationRunner(QObject* parent) : QObject(parent) {}

AnimationRunner::~AnimationRunner() { StopAndWait(); }

bool AnimationRunner::Start(AnimationJob job) {
  if (running()) return false;
  abort_ = std::make_unique<std::atomic<bool>>(false);
  const std::atomic<bool>* abort = abort_.get();
  auto work = [this, abort, job = std::move(job)](const ui::WorkerThread::Post& post) {
    exporter::AnimationRequest request;
    request.format = job.format;
    request.delay = job.delay;
    request.target = job.target;
    request.background = job.background;
    request.matte = job.matte;
    request.webpQuality = job.webpQuality;
    request.maxSide = job.maxSide;
    request.abort = abort;
    request.progress = [this, abort, &job, &post](int done, int total) {
      post([this, done, total] { emit progressed(done, total); });
      if (job.onProgress) job.onProgress(done, total, *abort);
    };
    const exporter::AnimationResult result =
        job.sticker != nullptr ? FitStickerFile(job, request.progress, abort)
                               : exporter::WriteAnimation(
                                     image::FrameFileReader(job.sourcePath, job.settings), request);
    // The last news: the thread ends at once, and is joined before the result is reported.
    post([this, result] {
      worker_.Join();
      emit finished(result);
    });
  };
  return worker_.Start(std::move(work), [this](const base::Status& error) {
    // The file broke off with an error (memory ran out, say); none was written or changed.
    exporter::AnimationResult result;
    result.outcome = exporter::AnimationStatus::Failed;
    result.status = base::Status::Failed(
        error.cause(), std::string(base::kAnimationFailedMessage) + "\n" + error.message());
    emit finished(result);
  });
}

void AnimationRunner::Abort() {
  if (abort_) *abort_ = true;
}

void AnimationRunner::StopAndWait() {
  if (!running()) return;
  *abort_ = true;
  worker_.Join();
}

}  // namespace kinetta::app
