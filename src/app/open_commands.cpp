// The open command, the recent-file entries, a picture dropped on the window or named on the
// command line: all load a picture into the source frame the same way.
#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

#include "app/main_window.h"
#include "app/picture_box.h"
#include "image/open_command.h"
#include "image/picture_file.h"
#include "settings/settings_dialog.h"
#include "ui_support/form_metrics.h"
#include "ui_support/ui_messages.h"

namespace kinetta::app {

namespace {

// A path shown as a menu caption, its bytes decoded as the file system's names are: "&" would
// otherwise mark an access key.
QString MenuCaption(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path))
      .replace(QLatin1Char('&'), QLatin1String("&&"));
}

// Where the per-user store keeps the folder of the last picture opened.
const QString kLastFolderKey = QStringLiteral("Settings/LastFolder");

// The local file a drag carries, if it carries one.
QString DraggedFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile() && !QFileInfo(url.toLocalFile()).isDir()) return url.toLocalFile();
  }
  return {};
}

}  // namespace

void MainWindow::ChoosePicture() {
  SetStatus(ui::Utf8(ui::kStatusOpening));
  const QString path = image::AskSourcePath(prompter_, this, gifSupport_, OpenFolder());
  if (!path.isEmpty()) {
    sourcePath_ = QFile::encodeName(path).toStdString();  // the name's bytes on the disk
    LoadSource();
  }
  SetStatus({});
}

void MainWindow::OpenPicture(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  if (image::AcceptSourcePath(prompter_, this, gifSupport_, absolute)) {
    sourcePath_ = QFile::encodeName(absolute).toStdString();  // the name's bytes on the disk
    LoadSource();
  }
  SetStatus({});
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!DraggedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QString path = DraggedFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  OpenPicture(path);
}

void MainWindow::OpenRecentFile(int index) {
  if (index < 0 || index > 2 || recentFiles_[index].empty()) return;
  sourcePath_ = recentFiles_[index];
  LoadSource();
}

// Loads sourcePath_ into sourcePicture_. A picture that cannot be read leaves the previous picture
// and puts back the path it came from, so that frames, preview and page keep naming the picture the
// window shows.
void MainWindow::LoadSource() {
  base::Result<image::Picture> picture =
      image::LoadSource(sourcePath_, recentFiles_, prompter_, this);
  if (!picture.ok()) {
    sourcePath_ = loadedPath_;
    return;
  }
  loadedPath_ = sourcePath_;
  source_ = std::make_shared<const render::Surface>(std::move(picture).value().pixels);
  placement_.setValue(
      kLastFolderKey,
      QFileInfo(QFile::decodeName(QByteArray::fromStdString(sourcePath_))).absolutePath());
  ShowSourcePicture();
  layout_.SetSourcePicture(source_->width(), source_->height());
  ApplyLayout();
  // The window takes the new picture's size: it grows for a larger one and shrinks back for a
  // smaller one, within the screen.
  FitWindow(true);
  ShowRecentFiles(false);
  if (settingsDialog_) settingsDialog_->PictureChanged();
}

// The last picture's folder; before any, the newest recent file's, else the user's pictures.
QString MainWindow::OpenFolder() const {
  const QString stored = placement_.value(kLastFolderKey).toString();
  if (!stored.isEmpty() && QFileInfo(stored).isDir()) return stored;
  if (!recentFiles_[0].empty()) {
    const QString recent =
        QFileInfo(QFile::decodeName(QByteArray::fromStdString(recentFiles_[0]))).absolutePath();
    if (QFileInfo(recent).isDir()) return recent;
  }
  const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  return QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

void MainWindow::ShowRecentFiles(bool showSeparator) {
  bool any = false;
  for (int i = 0; i < 3; ++i) {
    recentFileActions_[i]->setText(MenuCaption(recentFiles_[i]));
    const bool filled = !recentFiles_[i].empty();
    recentFileActions_[i]->setVisible(filled);
    any = any || filled;
  }
  // The separator is shown only when the window loads.
  if (showSeparator && any) recentSeparator_->setVisible(true);
}

}  // namespace kinetta::app
