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
  /// `sourcePath` is read when OK is pressed (the open picture may change while the dialog is
  /// open): the page goes beside its frames and plays the frames found there, as many as follow
  /// each other from 00, at frame 00's size. `appFolder` holds the sample viewer files;
  /// `twipsPerPixel` converts the form's twips geometry to pixels.
  ExportDialog(std::function<std::string()> sourcePath, QString appFolder,
               ui::TwipsPerPixel twipsPerPixel, ui::Prompter& prompter, QWidget* parent = nullptr);

  /// The frame files' extension ("bmp", "png"), read when OK is pressed; "bmp" until set.
  void SetFrameExtension(std::function<std::string()> frameExtension);

 private:
  void Confirm() override;

  std::function<std::string()> sourcePath_;
  std::function<std::string()> frameExtension_;
  QString appFolder_;
};

}  // namespace kinetta::exporter
