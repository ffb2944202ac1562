// The animation-file dialog: the form in its twips geometry, and OK's checks, the save dialog and
// the hand-over of the order.
#include "export/animation_dialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cmath>

#include "app/prompter.h"
#include "image/frame_files.h"
#include "render/run.h"
#include "render/surface.h"

namespace kinetta::exporter {

namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Twips to pixels, halves to the even neighbour as everywhere in the program.
int Pixels(double twips, double twipsPerPixel) {
  return static_cast<int>(std::nearbyint(twips / twipsPerPixel));
}

}  // namespace

QString AnimationFilter(AnimationFormat format) {
  return format == AnimationFormat::WebP ? QStringLiteral("WebPアニメーション (*.webp)")
                                         : QStringLiteral("GIFアニメーション (*.gif)");
}

QString WithAnimationExtension(const QString& path, AnimationFormat format) {
  const QString extension = Text(AnimationExtension(format));
  if (path.endsWith(extension, Qt::CaseInsensitive)) return path;
  return path + extension;
}

AnimationDialog::AnimationDialog(std::function<std::string()> sourcePath,
                                 std::function<bool()> mayStart,
                                 std::function<bool(const AnimationOrder&)> start,
                                 QPointF twipsPerPixel, app::Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      sourcePath_(std::move(sourcePath)),
      mayStart_(std::move(mayStart)),
      start_(std::move(start)),
      twipsPerPixel_(twipsPerPixel),
      prompter_(prompter) {
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setWindowTitle(QStringLiteral("アニメーションファイル作成"));
  // The nine-point font (180 twips) of the program's other dialogs.
  QFont f = font();
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(180 / twipsPerPixel_.y()))));
  setFont(f);
  const QRect client = Twips(2760, 3750, 6090, 1755);
  setFixedSize(client.size());
  move(client.topLeft());

  label1_ = new QLabel(QStringLiteral("アニメーションファイルを作成します。"), this);
  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setGeometry(Twips(120, 120, 4092, 372));
  // One line, growing into the free space before the buttons where the font runs wide.
  label1_->resize(std::max(label1_->width(), label1_->sizeHint().width()), label1_->height());

  label2_ = new QLabel(QStringLiteral("ひとコマの表示秒数"), this);
  label2_->setObjectName(QStringLiteral("Label2"));
  label2_->setGeometry(Twips(120, 720, 1692, 372));

  text1_ = new QLineEdit(QStringLiteral("0.2"), this);
  text1_->setObjectName(QStringLiteral("Text1"));
  text1_->setGeometry(Twips(1800, 720, 852, 372));
  label2_->setBuddy(text1_);

  label3_ = new QLabel(QStringLiteral("形式"), this);
  label3_->setObjectName(QStringLiteral("Label3"));
  label3_->setGeometry(Twips(120, 1200, 1692, 372));

  // Both options are children of the form, so they exclude each other.
  gifOption_ = new QRadioButton(QStringLiteral("GIF"), this);
  gifOption_->setObjectName(QStringLiteral("Option1_0"));
  gifOption_->setGeometry(Twips(1800, 1200, 900, 372));
  gifOption_->setChecked(true);
  webpOption_ = new QRadioButton(QStringLiteral("WebP"), this);
  webpOption_->setObjectName(QStringLiteral("Option1_1"));
  webpOption_->setGeometry(Twips(2760, 1200, 1092, 372));
  for (QRadioButton* option : {gifOption_, webpOption_}) {
    option->resize(std::max(option->width(), option->sizeHint().width()), option->height());
  }

  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  okButton_->setObjectName(QStringLiteral("OKButton"));
  okButton_->setGeometry(Twips(4680, 120, 1215, 375));

  cancelButton_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancelButton_->setObjectName(QStringLiteral("CancelButton"));
  cancelButton_->setGeometry(Twips(4680, 600, 1215, 375));

  // As in the HTML export dialog, neither button is the default: Enter presses nothing.
  for (QPushButton* button : {okButton_, cancelButton_}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }

  setTabOrder(okButton_, cancelButton_);
  setTabOrder(cancelButton_, text1_);
  setTabOrder(text1_, gifOption_);
  setTabOrder(gifOption_, webpOption_);
  okButton_->setFocus();

  connect(okButton_, &QPushButton::clicked, this, [this] { OKButton_Click(); });
  connect(cancelButton_, &QPushButton::clicked, this, [this] { CancelButton_Click(); });
}

AnimationFormat AnimationDialog::format() const {
  return webpOption_->isChecked() ? AnimationFormat::WebP : AnimationFormat::Gif;
}

QRect AnimationDialog::Twips(int left, int top, int width, int height) const {
  const double x = twipsPerPixel_.x();
  const double y = twipsPerPixel_.y();
  return QRect(Pixels(left, x), Pixels(top, y), Pixels(width, x), Pixels(height, y));
}

void AnimationDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->ignore();
    return;
  }
  QDialog::keyPressEvent(event);
}

void AnimationDialog::OKButton_Click() {
  const std::string source = sourcePath_();
  if (source.empty()) {
    prompter_.Warn(this, Text(render::kNoSourceMessage));
    return;
  }
  // Full-width digits, points and blanks from a Japanese input method fold to ASCII first.
  const AnimationTime time =
      ReadAnimationTime(text1_->text().normalized(QString::NormalizationForm_KC).toStdString());
  if (!time.delay) {
    RefuseTime(time.message);
    return;
  }
  if (mayStart_ && !mayStart_()) return;
  // The frames are read as the preview reads them: without frame 00 there is nothing to save,
  // and the user is told so before choosing a file.
  render::Surface first;
  if (!image::FrameFileReader(source)(0, first)) {
    prompter_.Warn(this, Text(kNoFramesMessage));
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
  order.delay = *time.delay;
  order.target = WithAnimationExtension(name, chosen).toStdString();
  if (!start_(order)) return;
  close();
}

void AnimationDialog::RefuseTime(const std::string& message) {
  prompter_.Warn(this, QString::fromStdString(message));
  text1_->setFocus();
  text1_->selectAll();
}

void AnimationDialog::CancelButton_Click() { close(); }

}  // namespace kinetta::exporter
