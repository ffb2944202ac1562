// Dialog1: asks for the display time of one frame and writes the HTML page beside the frames.
// Modeless and single: the main window keeps it in a QPointer; it deletes itself on closing.
#pragma once

#include <QDialog>
#include <QPointF>
#include <QString>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kinetta::app {
class Prompter;
}

namespace kinetta::exporter {

class ExportDialog : public QDialog {
  Q_OBJECT

 public:
  /// `sourcePath` and `frameCount` are read when OK is pressed (the open picture and the
  /// setting may change while the dialog is open); `appFolder` holds the sample viewer files;
  /// `twipsPerPixel` converts the form's twips geometry to pixels.
  ExportDialog(std::function<std::string()> sourcePath, std::function<int()> frameCount,
               QString appFolder, QPointF twipsPerPixel, app::Prompter& prompter,
               QWidget* parent = nullptr);

  /// The preview picture's size in pixels when the command was chosen: the viewer's size.
  void SetCanvasSize(int widthPx, int heightPx);

  // The form's controls, for the main window and the tests.
  QLabel* Label1() const { return label1_; }
  QLabel* Label2() const { return label2_; }
  QLineEdit* Text1() const { return text1_; }
  QPushButton* OKButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }

 protected:
  // The form has no cancel button, so Escape does not close it.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OKButton_Click();
  void CancelButton_Click();
  QRect Twips(int left, int top, int width, int height) const;

  std::function<std::string()> sourcePath_;
  std::function<int()> frameCount_;
  QString appFolder_;
  QPointF twipsPerPixel_;
  app::Prompter& prompter_;
  int canvasWidthPx_ = 0;
  int canvasHeightPx_ = 0;

  QLabel* label1_;
  QLabel* label2_;
  QLineEdit* text1_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
};

}  // namespace kinetta::exporter
