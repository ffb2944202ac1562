// The worker thread of an animation file and the hand-over of its progress and result to the
// user-interface thread.
#include "export/animation_runner.h"

#include "image/frame_files.h"

namespace kinetta::exporter {

AnimationRunner::AnimationRunner(QObject* parent) : QObject(parent) {}

AnimationRunner::~AnimationRunner() { StopAndWait(); }

bool AnimationRunner::Start(AnimationJob job) {
  if (running()) return false;
  abort_ = std::make_unique<std::atomic<bool>>(false);
  const std::atomic<bool>* abort = abort_.get();
  const int run = ++run_;
  worker_ = std::thread([this, run, abort, job = std::move(job)] {
    AnimationRequest request;
    request.format = job.format;
    request.delay = job.delay;
    request.target = job.target;
    request.abort = abort;
    request.progress = [this, run, abort, &job](int done, int total) {
      QMetaObject::invokeMethod(
          this,
          [this, run, done, total] {
            if (run == run_ && running()) emit progressed(done, total);
          },
          Qt::QueuedConnection);
      if (job.onProgress) job.onProgress(done, total, *abort);
    };
    const AnimationResult result = WriteAnimation(image::FrameFileReader(job.sourcePath), request);
    QMetaObject::invokeMethod(
        this, [this, run, result] { Finish(run, result); }, Qt::QueuedConnection);
  });
  return true;
}

void AnimationRunner::Abort() {
  if (abort_) *abort_ = true;
}

void AnimationRunner::StopAndWait() {
  if (!worker_.joinable()) return;
  *abort_ = true;
  worker_.join();
}

void AnimationRunner::Finish(int run, const AnimationResult& result) {
  // The thread posted this as its last act; it ends at once. After StopAndWait it is already
  // joined and the result is not reported.
  if (run != run_ || !worker_.joinable()) return;
  worker_.join();
  emit finished(result);
}

}  // namespace kinetta::exporter
