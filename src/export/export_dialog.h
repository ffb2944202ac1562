// The HTML export dialog: asks for the display time of one frame and writes the HTML page beside
// the frames. Modeless and single: the main window keeps it in a QPointer; it deletes itself on
// closing.
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "export/frame_time_form.h"

namespace kinetta::exporter {

class ExportDialog : public FrameTimeForm {
  Q_OBJECT

 public:
  /// `sourcePath` and `frameCount` are read when OK is pressed (the open picture and the
  /// setting may change while the dialog is open); `appFolder` holds the sample viewer files;
  /// `twipsPerPixel` converts the form's twips geometry to pixels.
  ExportDialog(std::function<std::string()> sourcePath, std::function<int()> frameCount,
               QString appFolder, ui::TwipsPerPixel twipsPerPixel, ui::Prompter& prompter,
               QWidget* parent = nullptr);

  /// The preview picture's size in pixels when the command was chosen: the viewer's size.
  void SetCanvasSize(int widthPx, int heightPx);
  /// The frame files' extension ("bmp", "png"), read when OK is pressed; "bmp" until set.
  void SetFrameExtension(std::function<std::string()> frameExtension);

 private:
  void Confirm() override;

  std::function<std::string()> sourcePath_;
  std::function<int()> frameCount_;
  std::function<std::string()> frameExtension_;
  QString appFolder_;
  int canvasWidthPx_ = 0;
  int canvasHeightPx_ = 0;
};

}  // namespace kinetta::exporter
