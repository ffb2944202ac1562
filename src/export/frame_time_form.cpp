#include "export/frame_time_form.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "base/messages.h"
#include "ui_support/form_metrics.h"
#include "ui_support/prompter.h"

namespace kinetta::exporter {

FrameTimeForm::FrameTimeForm(const QString& title, const QString& caption, int heightTwips,
                             QPointF twipsPerPixel, ui::Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      prompter_(prompter),
      twipsPerPixel_(twipsPerPixel) {
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setWindowTitle(title);
  ui::UseNinePointFont(*this, twipsPerPixel_);
  const QRect client = Twips(2760, 3750, 6090, heightTwips);
  setFixedSize(client.size());
  move(client.topLeft());

  label1_ = new QLabel(caption, this);
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
  connect(cancelButton_, &QPushButton::clicked, this, [this] { close(); });
}

QRect FrameTimeForm::Twips(int left, int top, int width, int height) const {
  return ui::TwipsToPixels(left, top, width, height, twipsPerPixel_);
}

void FrameTimeForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->ignore();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool FrameTimeForm::SourceOpen(const std::string& sourcePath) {
  if (!sourcePath.empty()) return true;
  prompter_.Warn(this, ui::Utf8(base::kNoSourceMessage));
  return false;
}

std::string FrameTimeForm::TypedTime() const {
  return text1_->text().normalized(QString::NormalizationForm_KC).toStdString();
}

void FrameTimeForm::RefuseTime(const std::string& message) {
  prompter_.Warn(this, ui::Utf8(message));
  text1_->setFocus();
  text1_->selectAll();
}

}  // namespace kinetta::exporter
