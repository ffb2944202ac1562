// The worker thread of a conversion run and the hand-over of its frames and result to the
// user-interface thread (queued calls carrying copies, never pointers into the run).
#include "app/conversion_runner.h"

#include "app/picture_box.h"
#include "image/conversion.h"

namespace kinetta::app {

ConversionRunner::ConversionRunner(QObject* parent) : QObject(parent) {}

ConversionRunner::~ConversionRunner() { StopAndWait(); }

bool ConversionRunner::Start(ConversionJob job) {
  if (running()) return false;
  control_ = std::make_unique<render::RunControl>();
  render::RunControl* control = control_.get();
  auto work = [this, control, job = std::move(job)](const ui::WorkerThread::Post& post) {
    render::RenderOptions options;
    options.seed = job.seed;
    options.control = control;
    options.onCheckpoint = job.onCheckpoint;
    const render::RunResult result = image::RunConversion(
        *job.source, job.sourcePath, job.settings, options,
        [this, &post, &job](int k, const render::Surface& frame, const std::string&) {
          // Reduced here, so that no full-sized copy waits in the queue for the window.
          const QImage shown = ImageForShowing(frame, job.shownBound);
          const QSize size(frame.width(), frame.height());
          post([this, k, shown, size] { emit frameSaved(k, shown, size); });
        });
    // The last news: the thread ends at once, and is joined before the result is reported.
    post([this, result] {
      worker_.Join();
      emit finished(result);
    });
  };
  return worker_.Start(std::move(work), [this](const base::Status& error) {
    // The run broke off with an error (memory ran out, say); the frames saved so far stay.
    render::RunResult result;
    result.outcome = render::RunStatus::Failed;
    result.status = error;
    emit finished(result);
  });
}

void ConversionRunner::Abort() {
  if (control_) control_->abort = true;
}

void ConversionRunner::StopAndWait() {
  if (!running()) return;
  control_->stop = true;
  worker_.Join();
}

}  // namespace kinetta::app
