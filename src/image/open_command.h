// The open command: the open dialog with its filters, the refusal of GIF pictures without the
// marker file, and loading the chosen picture with the recent-file list kept in order.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <string>

#include "base/outcome.h"
#include "image/picture.h"

class QWidget;

namespace kinetta::ui {
class Prompter;
}

namespace kinetta::image {

/// The open dialog's filters, the picture filter first: BMP, GIF (with GIF support only), JPEG,
/// PNG, WebP, HEIC/HEIF and AVIF by the extensions .bmp, .gif, .jpg, .jpeg, .png, .webp, .heic,
/// .heif and .avif, in lower and in upper case (a desktop's own dialog may match
/// case-sensitively), then "すべてのﾌｧｲﾙ (*.*)".
QStringList OpenFilters(bool gifSupport);

/// The open dialog, starting in `folder`: the chosen path, or an empty string when the user
/// cancelled or chose a picture that AcceptSourcePath refuses. QFile::encodeName gives the
/// path's bytes for loading.
QString AskSourcePath(ui::Prompter& prompter, QWidget* parent, bool gifSupport,
                      const QString& folder);

/// Whether `path` may be opened: a GIF picture without GIF support is refused with
/// ui::kUnsupportedFormat. The GIF test looks at the file name's own extension.
bool AcceptSourcePath(ui::Prompter& prompter, QWidget* parent, bool gifSupport,
                      const QString& path);

/// Loads the picture at `path` (GIF pictures only with `gifSupport`) and concludes the opening
/// (ConcludeOpening).
base::Result<Picture> LoadSource(const std::string& path, bool gifSupport,
                                 std::array<std::string, 3>& recentFiles, ui::Prompter& prompter,
                                 QWidget* parent);

/// What opening `path` comes to once its picture has been read (`read` ok) or could not be:
/// `path` moves to the top of `recentFiles`, or the failure is shown as its message
/// "<path>が開けません。" and the list is left alone.
void ConcludeOpening(const base::Status& read, const std::string& path,
                     std::array<std::string, 3>& recentFiles, ui::Prompter& prompter,
                     QWidget* parent);

}  // namespace kinetta::image
