// The worker thread of a conversion run and the hand-over of its frames and result to the
// user-interface thread (queued calls carrying copies, never pointers into the run).
#include "app/conversion_runner.h"

#include "image/picture_file.h"

namespace kinetta::app {

ConversionRunner::ConversionRunner(QObject* parent) : QObject(parent) {}

ConversionRunner::~ConversionRunner() { StopAndWait(); }

bool ConversionRunner::Start(ConversionJob job) {
  if (running()) return false;
  control_ = std::make_unique<render::RunControl>();
  render::RunControl* control = control_.get();
  const int run = ++run_;
  worker_ = std::thread([this, run, control, job = std::move(job)] {
    render::RenderOptions options;
    options.seed = job.seed;
    options.control = control;
    options.onCheckpoint = job.onCheckpoint;
    const render::RunResult result =
        render::RunConversion(job.source, job.sourcePath, job.settings, options,
                              [this, run](int k, const render::Surface& frame, const std::string&) {
                                QImage copy = image::ImageFromSurface(frame);
                                QMetaObject::invokeMethod(
                                    this,
                                    [this, run, k, copy] {
                                      if (run == run_ && running()) emit frameSaved(k, copy);
                                    },
                                    Qt::QueuedConnection);
                              });
    QMetaObject::invokeMethod(
        this, [this, run, result] { Finish(run, result); }, Qt::QueuedConnection);
  });
  return true;
}

void ConversionRunner::Abort() {
  if (control_) control_->abort = true;
}

void ConversionRunner::StopAndWait() {
  if (!worker_.joinable()) return;
  control_->stop = true;
  worker_.join();
}

void ConversionRunner::Finish(int run, const render::RunResult& result) {
  // The thread posted this as its last act; it ends at once. After StopAndWait it is already
  // joined and the result is not reported.
  if (run != run_ || !worker_.joinable()) return;
  worker_.join();
  emit finished(result);
}

}  // namespace kinetta::app
