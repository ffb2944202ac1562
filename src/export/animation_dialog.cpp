// The animation-file dialog: the form in its twips geometry, and OK's checks, the save dialog and
// the hand-over of the order.
#include "export/animation_dialog.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>

#include "base/messages.h"
#include "image/frame_files.h"
#include "render/surface.h"
#include "ui_support/form_metrics.h"
#include "ui_support/prompter.h"

namespace kinetta::exporter {

QString AnimationFilter(AnimationFormat format) {
  switch (format) {
    case AnimationFormat::WebP:
      return QStringLiteral("WebPアニメーション (*.webp)");
    case AnimationFormat::Mp4:
      return QStringLiteral("MP4動画 (*.mp4)");
    case AnimationFormat::Apng:
      return QStringLiteral("APNGアニメーション (*.png)");
    case AnimationFormat::Gif:
      break;
  }
  return QStringLiteral("GIFアニメーション (*.gif)");
}

QString WithAnimationExtension(const QString& path, AnimationFormat format) {
  const QString extension = ui::Utf8(AnimationExtension(format));
  if (path.endsWith(extension, Qt::CaseInsensitive)) return path;
  return path + extension;
}

AnimationDialog::AnimationDialog(std::function<std::string()> sourcePath,
                                 std::function<bool()> mayStart,
                                 std::function<bool(const AnimationOrder&)> start,
                                 ui::TwipsPerPixel twipsPerPixel, ui::Prompter& prompter,
                                 QWidget* parent)
    : FrameTimeForm(QStringLiteral("アニメーションファイル作成"),
                    QStringLiteral("アニメーションファイルを作成します。"), 1755, twipsPerPixel,
                    prompter, parent),
      sourcePath_(std::move(sourcePath)),
      mayStart_(std::move(mayStart)),
      start_(std::move(start)) {
  formatLabel_ = new QLabel(QStringLiteral("形式"), this);
  formatLabel_->setObjectName(QStringLiteral("formatLabel"));
  formatLabel_->setGeometry(Twips(120, 1200, 1692, 372));

  // The options in one row beside the label, in the buttons' column too (the buttons end
  // above it); all are children of the form, so they exclude each other.
  struct Option {
    AnimationFormat format;
    const char* text;
    const char* name;
    int left;
    int width;
  };
  QWidget* previous = timeBox();  // after the time box, before OK and ｷｬﾝｾﾙ
  for (const Option& o : {Option{AnimationFormat::Gif, "GIF", "gifOption", 1800, 900},
                          Option{AnimationFormat::WebP, "WebP", "webpOption", 2760, 1092},
                          Option{AnimationFormat::Mp4, "MP4", "mp4Option", 3900, 900},
                          Option{AnimationFormat::Apng, "APNG", "apngOption", 4860, 1092}}) {
    auto* option = new QRadioButton(QString::fromUtf8(o.text), this);
    option->setObjectName(QString::fromUtf8(o.name));
    option->setGeometry(Twips(o.left, 1200, o.width, 372));
    option->resize(std::max(option->width(), option->sizeHint().width()), option->height());
    options_[static_cast<std::size_t>(o.format)] = option;
    setTabOrder(previous, option);
    previous = option;
  }
  formatOption(AnimationFormat::Gif)->setChecked(true);
}

AnimationFormat AnimationDialog::format() const {
  for (const AnimationFormat f :
       {AnimationFormat::WebP, AnimationFormat::Mp4, AnimationFormat::Apng}) {
    if (formatOption(f)->isChecked()) return f;
  }
  return AnimationFormat::Gif;
}

void AnimationDialog::Confirm() {
  const std::string source = sourcePath_();
  if (!SourceOpen(source)) return;
  const base::Result<AnimationDelay> delay = ReadAnimationTime(TypedTime());
  if (!delay.ok()) {
    RefuseTime(delay.message());
    return;
  }
  if (mayStart_ && !mayStart_()) return;
  // The frames are read as the preview reads them: without frame 00 there is nothing to save,
  // and the user is told so before choosing a file.
  if (!image::FrameFileReader(source)(0).ok()) {
    prompter_.Warn(this, ui::Utf8(base::kNoFramesMessage));
    return;
  }
  const AnimationFormat chosen = format();
  // The source path holds the name's bytes on the disk, whatever their encoding.
  const QString proposed =
      QFile::decodeName(QByteArray::fromStdString(DefaultAnimationPath(source, chosen).string()));
  const QString name = prompter_.SaveFileName(this, QStringLiteral("アニメーションファイルの保存"),
                                              proposed, {AnimationFilter(chosen)});
  if (name.isEmpty()) return;
  AnimationOrder order;
  order.sourcePath = source;
  order.format = chosen;
  order.delay = delay.value();
  order.target = WithAnimationExtension(name, chosen).toStdString();
  if (const base::Status refused = CheckAnimationTarget(order.target, source); !refused.ok()) {
    prompter_.Warn(this, QString::fromStdString(refused.message()));
    return;
  }
  if (!start_(order)) return;
  close();
}

}  // namespace kinetta::exporter
