// The animation-file dialog: the form in its twips geometry, and OK's checks, the save dialog and
// the hand-over of the order.
#include "export/animation_dialog.h"

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
  return format == AnimationFormat::WebP ? QStringLiteral("WebPアニメーション (*.webp)")
                                         : QStringLiteral("GIFアニメーション (*.gif)");
}

QString WithAnimationExtension(const QString& path, AnimationFormat format) {
  const QString extension = ui::Utf8(AnimationExtension(format));
  if (path.endsWith(extension, Qt::CaseInsensitive)) return path;
  return path + extension;
}

AnimationDialog::AnimationDialog(std::function<std::string()> sourcePath,
                                 std::function<bool()> mayStart,
                                 std::function<bool(const AnimationOrder&)> start,
                                 QPointF twipsPerPixel, ui::Prompter& prompter, QWidget* parent)
    : FrameTimeForm(QStringLiteral("アニメーションファイル作成"),
                    QStringLiteral("アニメーションファイルを作成します。"), 1755, twipsPerPixel,
                    prompter, parent),
      sourcePath_(std::move(sourcePath)),
      mayStart_(std::move(mayStart)),
      start_(std::move(start)) {
  formatLabel_ = new QLabel(QStringLiteral("形式"), this);
  formatLabel_->setObjectName(QStringLiteral("formatLabel"));
  formatLabel_->setGeometry(Twips(120, 1200, 1692, 372));

  // Both options are children of the form, so they exclude each other.
  gifOption_ = new QRadioButton(QStringLiteral("GIF"), this);
  gifOption_->setObjectName(QStringLiteral("gifOption"));
  gifOption_->setGeometry(Twips(1800, 1200, 900, 372));
  gifOption_->setChecked(true);
  webpOption_ = new QRadioButton(QStringLiteral("WebP"), this);
  webpOption_->setObjectName(QStringLiteral("webpOption"));
  webpOption_->setGeometry(Twips(2760, 1200, 1092, 372));
  for (QRadioButton* option : {gifOption_, webpOption_}) {
    option->resize(std::max(option->width(), option->sizeHint().width()), option->height());
  }

  // After the form's OK, ｷｬﾝｾﾙ and Text1, the two options.
  setTabOrder(Text1(), gifOption_);
  setTabOrder(gifOption_, webpOption_);
}

AnimationFormat AnimationDialog::format() const {
  return webpOption_->isChecked() ? AnimationFormat::WebP : AnimationFormat::Gif;
}

void AnimationDialog::OKButton_Click() {
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
  const QString proposed = QString::fromStdString(DefaultAnimationPath(source, chosen).string());
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
