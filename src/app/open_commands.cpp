// The open command and the recent-file entries: both load a picture into the source frame.
#include "app/main_window.h"

#include <QAction>
#include <QFile>

#include "app/picture_box.h"
#include "image/open_command.h"
#include "image/picture_file.h"
#include "ui_support/form_metrics.h"

namespace kinetta::app {

namespace {

// A path shown as a menu caption, its bytes decoded as the file system's names are: "&" would
// otherwise mark an access key.
QString MenuCaption(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path))
      .replace(QLatin1Char('&'), QLatin1String("&&"));
}

}  // namespace

void MainWindow::mnuFileOpen_Click() {
  SetStatus(ui::Utf8(image::kOpenStatus));
  const QString path = image::AskSourcePath(prompter_, this, gifSupport_);
  if (!path.isEmpty()) {
    sourcePath_ = QFile::encodeName(path).toStdString();  // the name's bytes on the disk
    LoadSource();
  }
  SetStatus({});
}

void MainWindow::mnuFileFName_Click(int index) {
  if (index < 0 || index > 2 || recentFiles_[index].empty()) return;
  sourcePath_ = recentFiles_[index];
  LoadSource();
}

// Loads sourcePath_ into Picture1. A picture that cannot be read leaves the previous picture and
// puts back the path it came from, so that frames, preview and page keep naming the picture the
// window shows.
void MainWindow::LoadSource() {
  base::Result<render::Surface> picture =
      image::LoadSource(sourcePath_, recentFiles_, prompter_, this);
  if (!picture.ok()) {
    sourcePath_ = loadedPath_;
    return;
  }
  loadedPath_ = sourcePath_;
  source_ = std::move(picture).value();
  Picture1->setImage(image::ImageFromSurface(source_));
  layout_.SetSourcePicture(source_.width(), source_.height());
  ApplyLayout();
  GrowToFit();
  ShowRecentFiles(false);
}

void MainWindow::ShowRecentFiles(bool showSeparator) {
  bool any = false;
  for (int i = 0; i < 3; ++i) {
    mnuFileFName[i]->setText(MenuCaption(recentFiles_[i]));
    const bool filled = !recentFiles_[i].empty();
    mnuFileFName[i]->setVisible(filled);
    any = any || filled;
  }
  // The separator is shown only when the window loads.
  if (showSeparator && any) mnuFileBar2->setVisible(true);
}

}  // namespace kinetta::app
