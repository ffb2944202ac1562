// The open command, the recent-file entries, a picture dropped on the window or named on the
// command line: all load a picture into the source frame the same way. A large JPEG is shown at
// once from a first look at it while a worker reads it in full; only then does it become the
// open picture.
#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

#include "app/main_window.h"
#include "app/picture_box.h"
#include "base/memory_budget.h"
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
  ShowOpenedStatus();
}

void MainWindow::OpenPicture(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  if (image::AcceptSourcePath(prompter_, this, gifSupport_, absolute)) {
    sourcePath_ = QFile::encodeName(absolute).toStdString();  // the name's bytes on the disk
    LoadSource();
  }
  ShowOpenedStatus();
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
  ShowOpenedStatus();
}

// Loads sourcePath_ into sourcePicture_. A picture that cannot be read leaves the previous picture
// and puts back the path it came from, so that frames, preview and page keep naming the picture the
// window shows. A picture still being read gives way to this one.
void MainWindow::LoadSource() {
  DropFirstLook();
  std::optional<image::QuickLook> look =
      image::ReadQuickLook(sourcePath_, {pictureRoom_.source.width, pictureRoom_.source.height});
  if (look) {
    ShowFirstLook(std::move(*look));
    reader_.Start(sourcePath_, gifSupport_,
                  [this](base::Result<image::Picture> read) { OnSourceRead(std::move(read)); });
    SetStatus(ui::Utf8(ui::kStatusReadingPicture));
    return;
  }
  base::Result<image::Picture> picture =
      image::LoadSource(sourcePath_, gifSupport_, recentFiles_, prompter_, this);
  if (!picture.ok()) {
    sourcePath_ = loadedPath_;
    return;
  }
  TakeSource(std::move(picture).value(), false);
}

// The picture read becomes the open one; `shown` when its first look already shows it.
void MainWindow::TakeSource(image::Picture picture, bool shown) {
  loadedPath_ = sourcePath_;
  picture_ = std::make_shared<const image::Picture>(std::move(picture));
  sourceBackground_ = settings_.BackColor;
  sourceClear_ = settings_.TransparentBack;
  source_ = image::SurfaceFor(picture_, settings_);
  placement_.setValue(
      kLastFolderKey,
      QFileInfo(QFile::decodeName(QByteArray::fromStdString(sourcePath_))).absolutePath());
  if (!shown) ShowSourcePicture();
  ShowPictureName(source_->width(), source_->height());
  layout_.SetSourcePicture(source_->width(), source_->height());
  ApplyLayout();
  // The window takes the new picture's size: it grows for a larger one and shrinks back for a
  // smaller one, within the screen.
  FitWindow(true);
  ShowRecentFiles(false);
  if (settingsDialog_) settingsDialog_->PictureChanged();
}

// The first look takes the picture's place in the window, at the whole picture's size; the
// settings dialog's preview waits for the whole picture.
void MainWindow::ShowFirstLook(image::QuickLook look) {
  beforeFirstLook_ = layout_.SourcePicture();
  firstLook_ = FirstLook{{look.width, look.height}};
  sourcePicture_->setImage(
      ImageOfSize(look.picture, FittedSize(firstLook_->size, pictureRoom_.source)));
  // The reduced picture and the file's bytes go back to the system before the whole is read.
  look.picture = {};
  base::ReturnFreedMemory();
  ShowPictureName(firstLook_->size.width, firstLook_->size.height);
  layout_.SetSourcePicture(firstLook_->size.width, firstLook_->size.height);
  ApplyLayout();
  FitWindow(true);
  if (settingsDialog_) settingsDialog_->PictureComing();
}

// The whole picture has been read, or could not be: it becomes the open picture, or the window
// goes back to the one before and says why. A run chosen meanwhile starts now.
void MainWindow::OnSourceRead(base::Result<image::Picture> read) {
  const bool runWaits = std::exchange(runWaits_, false);
  if (statusText() == ui::Utf8(ui::kStatusReadingPicture)) SetStatus({});
  if (!read.ok()) {
    DropFirstLook();
    sourcePath_ = loadedPath_;
    if (!loadedPath_.empty()) ShowPictureName(source_->width(), source_->height());
  }
  image::ConcludeOpening(read.status(), sourcePath_, recentFiles_, prompter_, this);
  if (!read.ok()) return;
  firstLook_.reset();
  TakeSource(std::move(read).value(), true);
  if (runWaits) Execute();
}

// The reading stops and the window shows again the picture it showed before the first look.
void MainWindow::DropFirstLook() {
  reader_.Stop();
  runWaits_ = false;
  if (!firstLook_) return;
  firstLook_.reset();
  layout_.SetSourcePictureTwips(beforeFirstLook_.width, beforeFirstLook_.height);
  ShowSourcePicture();
  ApplyLayout();
  FitWindow(true);
  if (settingsDialog_) settingsDialog_->PictureChanged();
}

// The picture's name in the title bar and its size in the status bar; the frame canvas no
// longer shows the frames of the picture before, nor the status the end of its run.
void MainWindow::ShowPictureName(int width, int height) {
  const QString name =
      QFileInfo(QFile::decodeName(QByteArray::fromStdString(sourcePath_))).fileName();
  setWindowTitle(ui::Utf8(ui::kTitleOfPicture).arg(name, ui::Utf8(ui::kProgramTitle)));
  pictureSize_->setText(ui::Utf8(ui::kPictureSize).arg(width).arg(height));
  if (activity_.current() == Activity::Idle) {
    canvasPicture_->setImage(QImage());
    if (statusText() == ui::Utf8(ui::kStatusCompleted) ||
        statusText() == ui::Utf8(ui::kStatusAborted)) {
      SetStatus({});
    }
  }
}

// The status once an open command is done: empty, or that the picture is still being read.
void MainWindow::ShowOpenedStatus() {
  SetStatus(reader_.running() ? ui::Utf8(ui::kStatusReadingPicture) : QString());
}

// The motions read the picture laid over the background colour, or with its transparency when
// the background is clear; an opaque picture is read as it is and never copied. A picture with
// transparency is shown again, over the new colour or, with a clear background, over the board.
void MainWindow::FollowBackground() {
  if (!picture_->hasAlpha) return;
  if (settings_.BackColor != sourceBackground_ || settings_.TransparentBack != sourceClear_) {
    sourceBackground_ = settings_.BackColor;
    sourceClear_ = settings_.TransparentBack;
    source_ = image::SurfaceFor(picture_, settings_);
  }
  if (!firstLook_) ShowSourcePicture();
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
