// Dialog1 of the HTML export: the form in its twips geometry, and OK's checks and write.
#include "export/export_dialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

#include "app/prompter.h"
#include "export/html_page.h"
#include "render/run.h"

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

ExportDialog::ExportDialog(std::function<std::string()> sourcePath,
                           std::function<int()> frameCount, QString appFolder,
                           QPointF twipsPerPixel, app::Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      sourcePath_(std::move(sourcePath)),
      frameCount_(std::move(frameCount)),
      appFolder_(std::move(appFolder)),
      twipsPerPixel_(twipsPerPixel),
      prompter_(prompter) {
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setWindowTitle(QStringLiteral("ﾀﾞｲｱﾛｸﾞ ｷｬﾌﾟｼｮﾝ"));
  // A nine-point font (180 twips), as the form's control sizes expect.
  QFont f = font();
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(180 / twipsPerPixel_.y()))));
  setFont(f);
  const QRect client = Twips(2760, 3750, 6090, 1275);
  setFixedSize(client.size());
  move(client.topLeft());

  label1_ = new QLabel(QStringLiteral("アニメーション表示用HTMLファイルを作成します。"), this);
  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setGeometry(Twips(120, 120, 4092, 372));
  // One line: where the font runs wider than the form's, the label grows into the free space
  // before the buttons rather than breaking its sentence.
  label1_->resize(std::max(label1_->width(), label1_->sizeHint().width()), label1_->height());

  label2_ = new QLabel(QStringLiteral("ひとコマの表示秒数"), this);
  label2_->setObjectName(QStringLiteral("Label2"));
  label2_->setGeometry(Twips(120, 720, 1692, 372));

  text1_ = new QLineEdit(QStringLiteral("0.2"), this);
  text1_->setObjectName(QStringLiteral("Text1"));
  text1_->setGeometry(Twips(1800, 720, 852, 372));
  label2_->setBuddy(text1_);

  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  okButton_->setObjectName(QStringLiteral("OKButton"));
  okButton_->setGeometry(Twips(4680, 120, 1215, 375));

  cancelButton_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancelButton_->setObjectName(QStringLiteral("CancelButton"));
  cancelButton_->setGeometry(Twips(4680, 600, 1215, 375));

  // Neither button is the default: Enter in the time box presses nothing.
  for (QPushButton* button : {okButton_, cancelButton_}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }

  // Tab order: OKButton, CancelButton, then Text1 (the labels take no focus).
  setTabOrder(okButton_, cancelButton_);
  setTabOrder(cancelButton_, text1_);
  okButton_->setFocus();

  connect(okButton_, &QPushButton::clicked, this, [this] { OKButton_Click(); });
  connect(cancelButton_, &QPushButton::clicked, this, [this] { CancelButton_Click(); });
}

void ExportDialog::SetCanvasSize(int widthPx, int heightPx) {
  canvasWidthPx_ = widthPx;
  canvasHeightPx_ = heightPx;
}

QRect ExportDialog::Twips(int left, int top, int width, int height) const {
  const double x = twipsPerPixel_.x();
  const double y = twipsPerPixel_.y();
  return QRect(Pixels(left, x), Pixels(top, y), Pixels(width, x), Pixels(height, y));
}

void ExportDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->ignore();
    return;
  }
  QDialog::keyPressEvent(event);
}

void ExportDialog::OKButton_Click() {
  const std::string source = sourcePath_();
  if (source.empty()) {
    prompter_.Warn(this, Text(render::kNoSourceMessage));
    return;
  }
  // Compatibility folding turns full-width digits, points and blanks typed with a Japanese
  // input method into ASCII, so "０．２" reads as 0.2.
  const FrameTime time =
      ReadFrameTime(text1_->text().normalized(QString::NormalizationForm_KC).toStdString());
  if (!time.ms) {
    prompter_.Warn(this, Text(time.message));
    text1_->setFocus();
    text1_->selectAll();
    return;
  }
  ExportRequest request;
  request.sourcePath = source;
  request.appFolder = appFolder_.toStdString();
  request.frameCount = frameCount_();
  request.canvasWidth = canvasWidthPx_;
  request.canvasHeight = canvasHeightPx_;
  request.frameTimeMs = *time.ms;
  const ExportResult result = ExportPage(request);
  if (!result.ok) {
    prompter_.Warn(this, Text(result.message));
    return;
  }
  close();
}

void ExportDialog::CancelButton_Click() { close(); }

}  // namespace kinetta::exporter
