// The preview box: one drawing job at a time on a worker thread, its frames taken as they are
// drawn, the loop played at a steady pace, and a note instead of frames when the values cannot
// be run.
#include "settings/motion_preview_box.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <utility>

#include "image/picture_file.h"
#include "ui_support/checkerboard.h"

namespace kinetta::settings {

namespace {

// Stops the reduction of the picture when the job is stopped.
class StopCheck final : public render::Checkpoint {
 public:
  explicit StopCheck(const render::RunControl& control) : control_(control) {}
  bool Step() override { return control_.stop; }

 private:
  const render::RunControl& control_;
};

}  // namespace

MotionPreviewBox::MotionPreviewBox(int side, std::shared_ptr<render::PreviewSources> sources,
                                   QWidget* parent)
    : QFrame(parent), side_(side), sources_(std::move(sources)) {
  setObjectName(QStringLiteral("PreviewBox"));
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  pace_.setInterval(kFrameMs);
  connect(&pace_, &QTimer::timeout, this, [this] { Tick(); });
}

MotionPreviewBox::~MotionPreviewBox() { Stop(); }

void MotionPreviewBox::Play(const base::Settings& s,
                            std::shared_ptr<const render::Surface> picture) {
  if (!picture || picture->empty()) picture = render::TestPicture();
  ++job_;  // frames still coming from earlier values are dropped
  if (worker_.running()) {
    control_->stop = true;
    waiting_ = Job{s, std::move(picture)};
    return;
  }
  Start(Job{s, std::move(picture)});
}

void MotionPreviewBox::Start(Job job) {
  waiting_.reset();
  // The frame fits the box in the screen's own pixels, so it is shown without scaling.
  const qreal ratio = devicePixelRatioF();
  const int box = std::max(1, static_cast<int>(std::lround(side_ * ratio)));
  render::PreviewPlan plan = render::PlanPreview(job.settings, job.picture->width(),
                                                 job.picture->height(), box, kMostFrames);
  // The reduced copy kept of the picture is larger than the box, so that the frames of every
  // motion, even those smaller than the picture (the flip, the cut-out), keep their detail.
  const int workingSide = kWorkingSides * box;
  const int id = job_;
  const int planned = static_cast<int>(plan.frames.size());
  replaceOnFrame_ = true;
  control_ = std::make_shared<render::RunControl>();
  auto work = [this, id, ratio, workingSide, plan = std::move(plan),
               picture = std::move(job.picture), sources = sources_,
               control = control_](const ui::WorkerThread::Post& post) {
    StopCheck stop(*control);
    const std::shared_ptr<const render::Surface> source =
        sources->SourceOfSize(picture, plan.sourceWidth, plan.sourceHeight, workingSide, &stop);
    render::RunResult result;
    if (source) {
      render::RenderOptions options;
      options.threads = 1;  // the dialog's own worker; the other cores stay free
      options.control = control.get();
      options.frames = plan.frames;
      int place = 0;
      result = render::RenderFrames(
          *source, plan.settings, options, [&](int, const render::Surface& frame) {
            QImage image = image::ImageFromSurface(frame);
            image.setDevicePixelRatio(ratio);  // drawn in the screen's own pixels
            post([this, id, place, image = std::move(image)] { TakeFrame(id, place, image); });
            ++place;
            return render::FrameOutcome{};
          });
    }
    const bool refused = source && result.outcome != render::RunStatus::Completed &&
                         result.outcome != render::RunStatus::Aborted;
    post([this, id, refused, message = QString::fromStdString(result.status.message())] {
      worker_.Join();
      if (refused && id == job_) ShowNote(message);
      Ended();
    });
  };
  pendingSettings_ = job.settings;
  pendingPlanned_ = planned;
  worker_.Start(std::move(work), [this](const base::Status& error) {
    ShowNote(QString::fromStdString(error.message()));
    Ended();
  });
}

void MotionPreviewBox::Ended() {
  if (!replaceOnFrame_ && static_cast<int>(frames_.size()) == planned_) complete_ = true;
  if (waiting_) Start(*std::move(waiting_));
}

void MotionPreviewBox::TakeFrame(int job, int place, const QImage& frame) {
  if (job != job_) return;
  if (replaceOnFrame_) {
    replaceOnFrame_ = false;
    frames_.clear();
    note_.clear();
    shownSettings_ = pendingSettings_;
    planned_ = pendingPlanned_;
    complete_ = false;
    shown_ = -1;
  }
  if (place != static_cast<int>(frames_.size())) return;
  frames_.push_back(frame);
  // Each frame shows as soon as it is drawn until the loop has caught up with the drawing.
  if (shown_ < 0) {
    shown_ = 0;
    update();
  }
  if (!pace_.isActive()) pace_.start();
}

void MotionPreviewBox::Tick() {
  if (frames_.empty()) return;
  const int next = shown_ + 1;
  if (next < static_cast<int>(frames_.size())) {
    shown_ = next;
  } else if (complete_) {
    shown_ = 0;
  } else {
    return;  // the next frame is still being drawn
  }
  update();
}

void MotionPreviewBox::ShowNote(const QString& note) {
  ++job_;
  waiting_.reset();
  if (worker_.running()) control_->stop = true;
  note_ = note;
  frames_.clear();
  shown_ = -1;
  planned_ = 0;
  pace_.stop();
  update();
}

void MotionPreviewBox::Stop() {
  ++job_;
  waiting_.reset();
  if (control_) control_->stop = true;
  worker_.Join();
  pace_.stop();
}

void MotionPreviewBox::paintEvent(QPaintEvent* e) {
  QFrame::paintEvent(e);
  QPainter p(this);
  const QRect inside = contentsRect();
  if (!note_.isEmpty()) {
    p.drawText(inside.adjusted(6, 6, -6, -6), Qt::AlignCenter | Qt::TextWordWrap, note_);
    return;
  }
  if (shown_ < 0 || shown_ >= static_cast<int>(frames_.size())) return;
  const QImage& frame = frames_[static_cast<std::size_t>(shown_)];
  // A frame a pixel larger than the box (the rounding of a reduced size) is fitted into it.
  QSizeF size = frame.deviceIndependentSize();
  if (size.width() > inside.width() || size.height() > inside.height()) {
    size.scale(inside.size(), Qt::KeepAspectRatio);
  }
  const QRectF target(inside.x() + (inside.width() - size.width()) / 2,
                      inside.y() + (inside.height() - size.height()) / 2, size.width(),
                      size.height());
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  ui::DrawOverCheckerboard(p, target, frame);
}

}  // namespace kinetta::settings
