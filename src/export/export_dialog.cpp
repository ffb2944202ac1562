// The HTML export dialog: the form in its twips geometry, and OK's checks and write.
#include "export/export_dialog.h"

#include "base/messages.h"
#include "base/path_helpers.h"
#include "export/export_messages.h"
#include "export/html_page.h"
#include "image/frame_files.h"
#include "ui_support/form_metrics.h"
#include "ui_support/prompter.h"
#include "ui_support/ui_messages.h"

namespace kinetta::exporter {

ExportDialog::ExportDialog(std::function<std::string()> sourcePath, QString appFolder,
                           ui::TwipsPerPixel twipsPerPixel, ui::Prompter& prompter, QWidget* parent)
    : FrameTimeForm(ui::Utf8("ﾀﾞｲｱﾛｸﾞ ｷｬﾌﾟｼｮﾝ"),
                    ui::Utf8("アニメーション表示用HTMLファイルを作成します。"), 1275, twipsPerPixel,
                    prompter, parent),
      sourcePath_(std::move(sourcePath)),
      appFolder_(std::move(appFolder)) {}

void ExportDialog::SetFrameExtension(std::function<std::string()> frameExtension) {
  frameExtension_ = std::move(frameExtension);
}

void ExportDialog::Confirm() {
  const std::string source = sourcePath_();
  if (!SourceOpen(source)) return;
  const base::Result<FrameTime> time = ReadFrameTime(TypedTime());
  if (!time.ok()) {
    RefuseTime(time.message());
    return;
  }
  // The page plays the frames on the disk, not those the settings would make now.
  const std::string extension = frameExtension_ ? frameExtension_() : std::string("bmp");
  const image::FramesOnDisk frames = image::FindFramesOnDisk(source, "." + extension);
  if (frames.count == 0) {
    prompter_.Warn(this, ui::Utf8(base::kNoFramesMessage));
    return;
  }
  ExportRequest request;
  request.sourcePath = source;
  request.appFolder = appFolder_.toStdString();
  request.frameCount = frames.count;
  request.canvasWidth = frames.width;
  request.canvasHeight = frames.height;
  request.frameTimeMs = time.value().ms;
  request.frameExtension = extension;
  // A page that plays another picture's frames is replaced only when the user says so.
  const std::optional<std::string> playing = PageFrameName(BesideSource(source, kPageFileName));
  if (playing && *playing != AttributeText(base::FrameFileStem(source))) {
    const QString ownName = ui::Utf8(OwnPageName(source));
    const int choice = prompter_.AskChoice(
        this, ui::Utf8(kPageOfAnotherPicture),
        {ui::Utf8(kReplacePage), ownName + ui::Utf8(kWritePageAs), ui::Utf8(ui::kCancelCaption)});
    if (choice == 1) {
      request.pageName = OwnPageName(source);
    } else if (choice != 0) {
      return;
    }
  }
  const ExportResult result = ExportPage(request);
  if (!result.status.ok()) {
    prompter_.Warn(this, ui::Utf8(result.status.message()));
    return;
  }
  close();
}

}  // namespace kinetta::exporter
