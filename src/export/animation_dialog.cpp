// The animation-file dialog: the form in its twips geometry, and OK's checks, the save dialog and
// the hand-over of the order.
#include "export/animation_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <algorithm>
#include <cmath>

#include "base/messages.h"
#include "export/export_messages.h"
#include "image/frame_files.h"
#include "render/surface.h"
#include "ui_support/form_metrics.h"
#include "ui_support/prompter.h"

namespace kinetta::exporter {

QString AnimationFilter(AnimationFormat format) {
  switch (format) {
    case AnimationFormat::WebP:
      return ui::Utf8("WebPアニメーション (*.webp)");
    case AnimationFormat::Mp4:
      return ui::Utf8("MP4動画 (*.mp4)");
    case AnimationFormat::Apng:
      return ui::Utf8("APNGアニメーション (*.png)");
    case AnimationFormat::WebM:
      return ui::Utf8("WebM動画 (*.webm)");
    case AnimationFormat::Gif:
      break;
  }
  return ui::Utf8("GIFアニメーション (*.gif)");
}

AnimationFormat StickerFormat(const StickerTarget& target) {
  switch (target.container) {
    case StickerContainer::Gif:
      return AnimationFormat::Gif;
    case StickerContainer::WebM:
      return AnimationFormat::WebM;
    case StickerContainer::Png:
    case StickerContainer::Apng:
    case StickerContainer::Unknown:
      break;
  }
  return AnimationFormat::Apng;
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
    : FrameTimeForm(ui::Utf8("アニメーションファイル作成"),
                    ui::Utf8("アニメーションファイルを作成します。"), 5550, twipsPerPixel, prompter,
                    parent),
      sourcePath_(std::move(sourcePath)),
      mayStart_(std::move(mayStart)),
      start_(std::move(start)) {
  formatLabel_ = new QLabel(ui::Utf8("形式"), this);
  formatLabel_->setObjectName(QStringLiteral("formatLabel"));
  formatLabel_->setGeometry(Twips(120, 1200, 600, 372));

  // The options in one row beside the label, in the buttons' column too (the buttons end
  // above it); all are children of the form, so they exclude each other.
  // Below them a line for the MP4 on a transparent background.
  struct Option {
    AnimationFormat format;
    const char* text;
    const char* name;
    int left;
    int width;
  };
  QWidget* previous = timeBox();  // after the time box, before OK and ｷｬﾝｾﾙ
  // Each with its letter for Alt: the formats' own names, underlined where they differ.
  for (const Option& o : {Option{AnimationFormat::Gif, "&GIF", "gifOption", 780, 900},
                          Option{AnimationFormat::WebP, "&WebP", "webpOption", 1740, 1000},
                          Option{AnimationFormat::Mp4, "&MP4", "mp4Option", 2820, 900},
                          Option{AnimationFormat::Apng, "&APNG", "apngOption", 3780, 1092},
                          Option{AnimationFormat::WebM, "W&ebM", "webmOption", 4932, 1092}}) {
    auto* option = new QRadioButton(QString::fromUtf8(o.text), this);
    option->setObjectName(QString::fromUtf8(o.name));
    option->setGeometry(Twips(o.left, 1200, o.width, 372));
    option->resize(std::max(option->width(), option->sizeHint().width()), option->height());
    options_[static_cast<std::size_t>(o.format)] = option;
    connect(option, &QRadioButton::toggled, this, [this](bool on) {
      if (on) ShowExpectedSize();
    });
    setTabOrder(previous, option);
    previous = option;
  }
  formatOption(AnimationFormat::Gif)->setChecked(true);

  mp4Note_ = new QLabel(ui::Utf8(kMp4OverBackgroundNote), this);
  mp4Note_->setObjectName(QStringLiteral("mp4Note"));
  mp4Note_->setGeometry(Twips(120, 1620, 5850, 372));
  mp4Note_->hide();

  // A GIF pixel is opaque or clear. Laid over the background colour, soft edges look smooth on
  // a page of that colour; in their own colour they show no fringe on any page.
  auto* matteLabel = new QLabel(ui::Utf8("GIFの縁"), this);
  matteLabel->setGeometry(Twips(120, 2100, 1692, 372));
  matteBox_ = new QCheckBox(ui::Utf8("半透明の部分を背景色に重ねる(&B)"), this);
  matteBox_->setObjectName(QStringLiteral("matteBox"));
  matteBox_->setGeometry(Twips(1800, 2100, 4092, 372));
  setTabOrder(previous, matteBox_);

  auto* qualityLabel = new QLabel(ui::Utf8("WebPの画質(&Q)"), this);
  qualityLabel->setGeometry(Twips(120, 2580, 1692, 372));
  webpQualityBox_ = new QSpinBox(this);
  webpQualityBox_->setObjectName(QStringLiteral("webpQualityBox"));
  webpQualityBox_->setRange(kMinWebpQuality - 1, kMaxWebpQuality);
  webpQualityBox_->setSpecialValueText(ui::Utf8("可逆(劣化なし)"));
  webpQualityBox_->setValue(webpQualityBox_->minimum());
  webpQualityBox_->setGeometry(Twips(1800, 2580, 1800, 372));
  webpQualityBox_->resize(std::max(webpQualityBox_->width(), webpQualityBox_->sizeHint().width()),
                          webpQualityBox_->height());
  qualityLabel->setBuddy(webpQualityBox_);
  setTabOrder(matteBox_, webpQualityBox_);
  connect(webpQualityBox_, &QSpinBox::valueChanged, this, [this] { ShowExpectedSize(); });

  CreateSizeRow(webpQualityBox_);
  BuildUseGroup(sizeBox_);
  connect(timeBox(), &QLineEdit::textChanged, this, [this] { ShowExpectedSize(); });
}

// The size of the file's frames, and below it what the choices give: the size and about how
// many bytes, and a line when the MP4 is made smaller for its level.
void AnimationDialog::CreateSizeRow(QWidget* previous) {
  sizeLabel_ = new QLabel(ui::Utf8("大きさ(&S)"), this);
  sizeLabel_->setObjectName(QStringLiteral("sizeLabel"));
  sizeLabel_->setGeometry(Twips(120, 3060, 1692, 372));
  sizeBox_ = new QComboBox(this);
  sizeBox_->setObjectName(QStringLiteral("sizeBox"));
  sizeBox_->addItem(ui::Utf8("こまと同じ"), 0);
  for (const int side : kOfferedAnimationSides) {
    sizeBox_->addItem(ui::Utf8("長辺 %1").arg(side), side);
  }
  sizeBox_->setGeometry(Twips(1800, 3060, 1800, 372));
  sizeBox_->resize(std::max(sizeBox_->width(), sizeBox_->sizeHint().width()), sizeBox_->height());
  sizeLabel_->setBuddy(sizeBox_);
  setTabOrder(previous, sizeBox_);
  connect(sizeBox_, &QComboBox::currentIndexChanged, this, [this] { ShowExpectedSize(); });

  expectedLabel_ = new QLabel(this);
  expectedLabel_->setObjectName(QStringLiteral("expectedLabel"));
  expectedLabel_->setGeometry(Twips(3720, 3060, 2250, 372));
  levelNote_ = new QLabel(this);
  levelNote_->setObjectName(QStringLiteral("levelNote"));
  levelNote_->setGeometry(Twips(120, 3480, 5850, 372));
  levelNote_->hide();
}

int AnimationDialog::maxSide() const { return sizeBox_->currentData().toInt(); }

void AnimationDialog::SetMaxSide(int side) {
  sizeBox_->setCurrentIndex(std::max(0, sizeBox_->findData(side)));
}

void AnimationDialog::ShowExpectedSize() {
  // Before the rows below exist, the format's first choice calls in too.
  if (levelNote_ == nullptr) return;
  const image::FramesOnDisk frames =
      image::FindFramesOnDisk(sourcePath_(), pngFrames_ ? ".png" : ".bmp");
  const bool sticker = useBox_ != nullptr && stickerTarget() != nullptr;
  if (sticker || frames.count == 0 || frames.width <= 0 || frames.height <= 0) {
    expectedLabel_->clear();
    levelNote_->hide();
    return;
  }
  const AnimationFormat chosen = format();
  const base::Result<AnimationDelay> delay = ReadAnimationTime(TypedTime());
  const AnimationSize size =
      PlanAnimationSize(chosen, frames.width, frames.height, maxSide(),
                        (delay.ok() ? delay.value() : AnimationDelay{}).webpMilliseconds);
  std::optional<int> quality;
  if (webpQualityBox_->value() >= kMinWebpQuality) quality = webpQualityBox_->value();
  const double megabytes = static_cast<double>(EstimateAnimationBytes(
                               chosen, size.width, size.height, frames.count, quality)) /
                           (1 << 20);
  // A tenth of a megabyte below ten, whole ones above; never "0".
  const QString amount = megabytes < 10 ? QString::number(std::max(0.1, megabytes), 'f', 1)
                                        : QString::number(std::lround(megabytes));
  expectedLabel_->setText(
      ui::Utf8("%1 x %2、約 %3 MB").arg(size.width).arg(size.height).arg(amount));
  levelNote_->setText(ui::Utf8("MP4 は H.264 レベル 5.1 に収まるよう %1 x %2 に縮小します。")
                          .arg(size.width)
                          .arg(size.height));
  levelNote_->setVisible(size.withinLevel);
}

void AnimationDialog::showEvent(QShowEvent* event) {
  ShowExpectedSize();
  FrameTimeForm::showEvent(event);
}

void AnimationDialog::changeEvent(QEvent* event) {
  // Back from the main window, where a run may have left other frames.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) ShowExpectedSize();
  FrameTimeForm::changeEvent(event);
}

void AnimationDialog::BuildUseGroup(QWidget* previous) {
  auto* group = new QGroupBox(ui::Utf8("用途(&U)"), this);
  group->setObjectName(QStringLiteral("useGroup"));
  group->setGeometry(Twips(120, 3870, 5850, 1560));
  useBox_ = new QComboBox(group);
  useBox_->setObjectName(QStringLiteral("useBox"));
  useBox_->addItem(ui::Utf8("汎用"), -1);
  for (std::size_t i = 0; i < kStickerTargets.size(); ++i) {
    useBox_->addItem(ui::Utf8(StickerTargetTitle(kStickerTargets[i].id)), static_cast<int>(i));
  }
  useBox_->setGeometry(Twips(120, 300, 4200, 372));
  // The target's rules from the table, wrapped where the form is narrower than the line.
  useRulesLabel_ = new QLabel(group);
  useRulesLabel_->setObjectName(QStringLiteral("useRulesLabel"));
  useRulesLabel_->setGeometry(Twips(120, 690, 5610, 780));
  useRulesLabel_->setWordWrap(true);
  useRulesLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setTabOrder(previous, useBox_);
  connect(useBox_, &QComboBox::currentIndexChanged, this, [this] { UseChanged(); });
}

const StickerTarget* AnimationDialog::stickerTarget() const {
  const int index = useBox_->currentData().toInt();
  if (index < 0 || index >= static_cast<int>(kStickerTargets.size())) return nullptr;
  return &kStickerTargets[static_cast<std::size_t>(index)];
}

void AnimationDialog::UseChanged() {
  const StickerTarget* target = stickerTarget();
  useRulesLabel_->setText(target != nullptr ? QString::fromStdString(StickerRulesLine(*target))
                                            : QString());
  // A target decides its format, and fits the colours and quality itself.
  if (target != nullptr) formatOption(StickerFormat(*target))->setChecked(true);
  for (QRadioButton* option : options_) option->setEnabled(target == nullptr);
  matteBox_->setEnabled(target == nullptr);
  webpQualityBox_->setEnabled(target == nullptr);
  // A target has its own size too: the size choice and its estimate are the formats'.
  sizeBox_->setEnabled(target == nullptr);
  ShowExpectedSize();
}

void AnimationDialog::SetTransparentBackground(bool transparent) {
  mp4Note_->setVisible(transparent);
}

AnimationFormat AnimationDialog::format() const {
  for (const AnimationFormat f : {AnimationFormat::WebP, AnimationFormat::Mp4,
                                  AnimationFormat::Apng, AnimationFormat::WebM}) {
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
  base::Settings frames;
  frames.FrameFiles = pngFrames_ ? base::FrameFormat::Png : base::FrameFormat::Bmp;
  if (!image::FrameFileReader(source, frames)(0).ok()) {
    prompter_.Warn(this, ui::Utf8(base::kNoFramesMessage));
    return;
  }
  const AnimationFormat chosen = format();
  // The source path holds the name's bytes on the disk, whatever their encoding.
  const QString proposed =
      QFile::decodeName(QByteArray::fromStdString(DefaultAnimationPath(source, chosen).string()));
  const QString name = prompter_.SaveFileName(this, ui::Utf8("アニメーションファイルの保存"),
                                              proposed, {AnimationFilter(chosen)});
  if (name.isEmpty()) return;
  AnimationOrder order;
  order.sourcePath = source;
  order.format = chosen;
  order.sticker = stickerTarget();
  order.delay = delay.value();
  order.target = WithAnimationExtension(name, chosen).toStdString();
  order.matteOnBackground = matteBox_->isChecked();
  if (webpQualityBox_->value() >= kMinWebpQuality) order.webpQuality = webpQualityBox_->value();
  order.maxSide = maxSide();
  if (const base::Status refused = CheckAnimationTarget(order.target, source); !refused.ok()) {
    prompter_.Warn(this, QString::fromStdString(refused.message()));
    return;
  }
  if (!start_(order)) return;
  close();
}

}  // namespace kinetta::exporter
