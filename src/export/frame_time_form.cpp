#include "export/frame_time_form.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "base/messages.h"
#include "ui_support/form_metrics.h"
#include "ui_support/prompter.h"
#include "ui_support/ui_messages.h"

namespace kinetta::exporter {

FrameTimeForm::FrameTimeForm(const QString& title, const QString& caption, int heightTwips,
                             ui::TwipsPerPixel twipsPerPixel, ui::Prompter& prompter,
                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      prompter_(prompter),
      twipsPerPixel_(twipsPerPixel) {
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setWindowTitle(title);
  ui::UseNinePointFont(*this, twipsPerPixel_);
  // At its place on the screen, or centred on the main window when there is one.
  QRect client = Twips(2760, 3750, 6090, heightTwips);
  setFixedSize(client.size());
  if (parent && parent->isVisible()) client.moveCenter(parent->window()->frameGeometry().center());
  move(client.topLeft());

  captionLabel_ = new QLabel(caption, this);
  captionLabel_->setObjectName(QStringLiteral("captionLabel"));
  captionLabel_->setGeometry(Twips(120, 120, 4092, 372));
  // One line: where the font runs wider than the form's, the label grows into the free space
  // before the buttons rather than breaking its sentence.
  captionLabel_->resize(std::max(captionLabel_->width(), captionLabel_->sizeHint().width()),
                        captionLabel_->height());

  timeLabel_ = new QLabel(ui::Utf8("ひとコマの表示秒数"), this);
  timeLabel_->setObjectName(QStringLiteral("timeLabel"));
  timeLabel_->setGeometry(Twips(120, 720, 1692, 372));

  timeBox_ = new QLineEdit(QStringLiteral("0.2"), this);
  timeBox_->setObjectName(QStringLiteral("timeBox"));
  timeBox_->setGeometry(Twips(1800, 720, 852, 372));
  timeLabel_->setBuddy(timeBox_);

  okButton_ = new QPushButton(ui::Utf8(ui::kOkCaption), this);
  okButton_->setObjectName(QStringLiteral("okButton"));
  okButton_->setGeometry(Twips(4680, 120, 1215, 375));

  cancelButton_ = new QPushButton(ui::Utf8(ui::kCancelCaption), this);
  cancelButton_->setObjectName(QStringLiteral("cancelButton"));
  cancelButton_->setGeometry(Twips(4680, 600, 1215, 375));

  // Return presses OK wherever the focus is but on ｷｬﾝｾﾙ; Esc presses ｷｬﾝｾﾙ (keyPressEvent).
  okButton_->setDefault(true);

  // Tab order: the time box, then OK and ｷｬﾝｾﾙ (the labels take no focus); a dialog's own
  // fields go between the time box and OK.
  setTabOrder(timeBox_, okButton_);
  setTabOrder(okButton_, cancelButton_);
  timeBox_->setFocus();
  timeBox_->selectAll();

  connect(okButton_, &QPushButton::clicked, this, [this] { Confirm(); });
  connect(cancelButton_, &QPushButton::clicked, this, [this] { close(); });
}

QRect FrameTimeForm::Twips(int left, int top, int width, int height) const {
  return ui::TwipsToPixels(left, top, width, height, twipsPerPixel_);
}

void FrameTimeForm::keyPressEvent(QKeyEvent* event) {
  // QDialog's own Esc would only hide the form; ｷｬﾝｾﾙ closes it, which deletes it.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    cancelButton_->click();
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
  return timeBox_->text().normalized(QString::NormalizationForm_KC).toStdString();
}

void FrameTimeForm::RefuseTime(const std::string& message) {
  prompter_.Warn(this, ui::Utf8(message));
  timeBox_->setFocus();
  timeBox_->selectAll();
}

}  // namespace kinetta::exporter
