// The form the two export dialogs share: a sentence saying what the dialog makes, "ひとコマの
// 表示秒数" with its box (starting at "0.2"), OK and ｷｬﾝｾﾙ, laid out in twips with the
// nine-point font. Modeless; it deletes itself on closing. Return presses OK, Esc ｷｬﾝｾﾙ.
#pragma once

#include <QDialog>
#include <QString>
#include <string>

#include "ui_support/form_metrics.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kinetta::ui {
class Prompter;
}

namespace kinetta::exporter {

class FrameTimeForm : public QDialog {
  Q_OBJECT

 public:
  // The form's controls, for the main window and the tests.
  QLabel* captionLabel() const { return captionLabel_; }
  QLabel* timeLabel() const { return timeLabel_; }
  QLineEdit* timeBox() const { return timeBox_; }
  QPushButton* okButton() const { return okButton_; }
  QPushButton* cancelButton() const { return cancelButton_; }

 protected:
  /// A form of 6090 x `heightTwips` twips titled `title`, whose first line says `caption`.
  FrameTimeForm(const QString& title, const QString& caption, int heightTwips,
                ui::TwipsPerPixel twipsPerPixel, ui::Prompter& prompter, QWidget* parent);

  void keyPressEvent(QKeyEvent* event) override;

  /// What OK does.
  virtual void Confirm() = 0;

  /// A rectangle of the form given in twips, in pixels.
  QRect Twips(int left, int top, int width, int height) const;

  /// False, after saying "原画を先に開いてください。", when no picture is open.
  bool SourceOpen(const std::string& sourcePath);

  /// The frame time as typed, with full-width digits, points and blanks from a Japanese input
  /// method folded to ASCII, so "０．２" reads as 0.2.
  std::string TypedTime() const;

  /// Shows why the typed time is refused and selects it for retyping.
  void RefuseTime(const std::string& message);

  ui::Prompter& prompter_;

 private:
  ui::TwipsPerPixel twipsPerPixel_;
  QLabel* captionLabel_;
  QLabel* timeLabel_;
  QLineEdit* timeBox_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
};

}  // namespace kinetta::exporter
