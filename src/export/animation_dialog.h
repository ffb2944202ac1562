// The animation-file dialog: asks for the display time of one frame and the format (GIF or
// WebP), checks that frames exist, asks where to save, and hands the order to the main window,
// which makes the file on a worker thread. Modeless and single, like the HTML export dialog.
#pragma once

#include <QDialog>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <string>

#include "export/animation_file.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kinetta::app {
class Prompter;
}

namespace kinetta::exporter {

/// What the dialog hands over once the user has chosen the file.
struct AnimationOrder {
  std::string sourcePath;
  AnimationFormat format = AnimationFormat::Gif;
  AnimationDelay delay;
  std::filesystem::path target;
};

/// The save dialog's filter for `format`.
QString AnimationFilter(AnimationFormat format);

/// The chosen save name with the format's extension added when it does not end with it
/// (compared without regard to case): "anim" -> "anim.gif", "anim.GIF" stays.
QString WithAnimationExtension(const QString& path, AnimationFormat format);

class AnimationDialog : public QDialog {
  Q_OBJECT

 public:
  /// `sourcePath` is read when OK is pressed. `mayStart` is asked before the save dialog (it
  /// tells the user why not, when it answers false); `start` takes the order and answers
  /// whether the file is being made. `twipsPerPixel` converts the form's twips geometry.
  AnimationDialog(std::function<std::string()> sourcePath, std::function<bool()> mayStart,
                  std::function<bool(const AnimationOrder&)> start, QPointF twipsPerPixel,
                  app::Prompter& prompter, QWidget* parent = nullptr);

  // The form's controls, for the main window and the tests.
  QLabel* Label1() const { return label1_; }
  QLabel* Label2() const { return label2_; }
  QLabel* Label3() const { return label3_; }
  QLineEdit* Text1() const { return text1_; }
  QRadioButton* Option1(int index) const { return index == 0 ? gifOption_ : webpOption_; }
  QPushButton* OKButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }

  AnimationFormat format() const;

 protected:
  // As in the HTML export dialog: there is no cancel button, so Escape does not close it.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OKButton_Click();
  void CancelButton_Click();
  void RefuseTime(const std::string& message);
  QRect Twips(int left, int top, int width, int height) const;

  std::function<std::string()> sourcePath_;
  std::function<bool()> mayStart_;
  std::function<bool(const AnimationOrder&)> start_;
  QPointF twipsPerPixel_;
  app::Prompter& prompter_;

  QLabel* label1_;
  QLabel* label2_;
  QLabel* label3_;
  QLineEdit* text1_;
  QRadioButton* gifOption_;
  QRadioButton* webpOption_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
};

}  // namespace kinetta::exporter
