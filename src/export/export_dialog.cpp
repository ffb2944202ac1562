// The HTML export dialog: the form in its twips geometry, and OK's checks and write.
#include "export/export_dialog.h"

#include "export/html_page.h"
#include "ui_support/form_metrics.h"
#include "ui_support/prompter.h"

namespace kinetta::exporter {

ExportDialog::ExportDialog(std::function<std::string()> sourcePath, std::function<int()> frameCount,
                           QString appFolder, ui::TwipsPerPixel twipsPerPixel,
                           ui::Prompter& prompter, QWidget* parent)
    : FrameTimeForm(ui::Utf8("ﾀﾞｲｱﾛｸﾞ ｷｬﾌﾟｼｮﾝ"),
                    ui::Utf8("アニメーション表示用HTMLファイルを作成します。"), 1275, twipsPerPixel,
                    prompter, parent),
      sourcePath_(std::move(sourcePath)),
      frameCount_(std::move(frameCount)),
      appFolder_(std::move(appFolder)) {}

void ExportDialog::SetCanvasSize(int widthPx, int heightPx) {
  canvasWidthPx_ = widthPx;
  canvasHeightPx_ = heightPx;
}

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
  ExportRequest request;
  request.sourcePath = source;
  request.appFolder = appFolder_.toStdString();
  request.frameCount = frameCount_();
  request.canvasWidth = canvasWidthPx_;
  request.canvasHeight = canvasHeightPx_;
  request.frameTimeMs = time.value().ms;
  if (frameExtension_) request.frameExtension = frameExtension_();
  const ExportResult result = ExportPage(request);
  if (!result.status.ok()) {
    prompter_.Warn(this, ui::Utf8(result.status.message()));
    return;
  }
  close();
}

}  // namespace kinetta::exporter
