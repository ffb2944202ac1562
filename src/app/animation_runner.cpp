// The worker thread of an animation file and the hand-over of its progress and result to the
// user-interface thread.
#include "app/animation_runner.h"

#include "base/messages.h"
#include "image/frame_files.h"

namespace kinetta::app {

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
        exporter::WriteAnimation(image::FrameFileReader(job.sourcePath, job.settings), request);
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
