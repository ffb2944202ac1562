// The open dialog, the GIF rule and loading the source picture.
#include "image/open_command.h"

#include <QFile>
#include <utility>

#include "base/gif_rule.h"
#include "image/picture_file.h"
#include "image/recent_files.h"
#include "image/source_loading.h"
#include "ui_support/form_metrics.h"
#include "ui_support/prompter.h"
#include "ui_support/ui_messages.h"

namespace kinetta::image {

QStringList OpenFilters(bool gifSupport) {
  // The picture filter's description is the picture list itself in the dialog's syntax.
  return {gifSupport ? ui::Utf8("画像ファイル (*.bmp *.gif *.jpg *.jpeg *.png *.webp *.heic "
                                "*.heif *.avif *.BMP *.GIF *.JPG *.JPEG *.PNG *.WEBP *.HEIC "
                                "*.HEIF *.AVIF)")
                     : ui::Utf8("画像ファイル (*.bmp *.jpg *.jpeg *.png *.webp *.heic *.heif "
                                "*.avif *.BMP *.JPG *.JPEG *.PNG *.WEBP *.HEIC *.HEIF *.AVIF)"),
          ui::Utf8("すべてのﾌｧｲﾙ (*.*)")};
}

QString AskSourcePath(ui::Prompter& prompter, QWidget* parent, bool gifSupport,
                      const QString& folder) {
  const QString path =
      prompter.OpenFileName(parent, ui::Utf8(ui::kOpenCaption), OpenFilters(gifSupport), folder);
  if (path.isEmpty() || !AcceptSourcePath(prompter, parent, gifSupport, path)) return {};
  return path;
}

bool AcceptSourcePath(ui::Prompter& prompter, QWidget* parent, bool gifSupport,
                      const QString& path) {
  if (!gifSupport && base::IsGifName(QFile::encodeName(path).toStdString())) {
    prompter.Warn(parent, ui::Utf8(ui::kUnsupportedFormat));
    return false;
  }
  return true;
}

base::Result<Picture> LoadSource(const std::string& path, bool gifSupport,
                                 std::array<std::string, 3>& recentFiles, ui::Prompter& prompter,
                                 QWidget* parent) {
  base::Result<Picture> loaded = LoadSourcePicture(path, gifSupport);
  ConcludeOpening(loaded.status(), path, recentFiles, prompter, parent);
  return loaded;
}

void ConcludeOpening(const base::Status& read, const std::string& path,
                     std::array<std::string, 3>& recentFiles, ui::Prompter& prompter,
                     QWidget* parent) {
  if (!read.ok()) {
    // The message holds the path's own bytes: shown as the file system's names are decoded.
    prompter.Warn(parent, QFile::decodeName(QByteArray::fromStdString(read.message())));
    return;
  }
  UpdateRecentFiles(recentFiles, path);
}

}  // namespace kinetta::image
