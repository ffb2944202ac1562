// The conversion run's frame files: BMP encoding in pieces as each file is written, atomic
// replacement in frame order, and the stale next frame, put in the trash.
#include "image/conversion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>
#include <filesystem>
#include <memory>
#include <system_error>

#include "base/atomic_file.h"
#include "base/messages.h"
#include "base/path_helpers.h"
#include "image/bmp_file.h"
#include "render/run_budget.h"

namespace kinetta::image {

render::RunResult RunConversion(
    const render::Surface& source, const std::string& sourcePath, const base::Settings& s,
    const render::RenderOptions& options,
    const std::function<void(int, const render::Surface&, const std::string&)>& onSaved) {
  // A frame whose file would not fit in the 32 bits a BMP header gives its size is refused before
  // anything is drawn.
  const render::FrameSize size = render::PlannedFrameSize(s, source.width(), source.height());
  if (s.FrameCount >= 1 && size.width >= 1 && size.height >= 1 &&
      Bmp24FileBytes(size.width, size.height) > kMaxBmpFileBytes) {
    render::RunResult refused;
    refused.status = render::RunStatus::TooLarge;
    refused.frameWidth = size.width;
    refused.frameHeight = size.height;
    refused.message = base::FrameFileTooLargeMessage(size.width, size.height);
    return refused;
  }
  // Temporaries a killed run left beside the frames go first.
  base::RemoveStaleTemporaries(std::filesystem::path(sourcePath).parent_path());
  // The thread that drew a frame encodes its file in pieces as it writes it under a temporary
  // name, while the other drawing thread does the same with the next frame: no whole file is
  // held in memory, and both cores share the writing. The calling thread then puts the files
  // in place in frame order, so the frames on the disk always run from the first without a gap.
  std::string notice;
  render::RunResult result = render::RenderFrames(
      source, s, options, [&](int k, const render::Surface& frame) -> render::FrameCommit {
        std::string path = base::FrameFileName(sourcePath, k);
        // Shared, as the commit is copied into a std::function; only the commit uses it.
        auto written = std::make_shared<base::Result<base::PendingFile>>(base::PendingFile::Write(
            path, [&](const auto& write) { return StreamBmp24(frame, write); }));
        return [&, k, path = std::move(path), written]() -> render::FrameOutcome {
          const base::Status put =
              written->ok() ? written->value().Commit() : base::Status::Failed(written->message());
          if (!put.ok()) {
            return {base::Status::Failed(base::CannotWriteMessage(path, put.message())), path};
          }
          if (k + 1 == s.FrameCount) {
            // The frame after the last one is stale from a longer run.
            const std::string stale = base::FrameFileName(sourcePath, k + 1);
            if (PutAwayStaleFrame(stale) == StaleFrame::Kept) {
              notice =
                  base::StaleFrameKeptMessage(std::filesystem::path(stale).filename().string());
            }
          }
          if (onSaved) onSaved(k, frame, path);
          return {};
        };
      });
  result.notice = std::move(notice);
  return result;
}

namespace {

// Moves a file to the desktop's trash. Qt, where it cannot make the trash in the user's data
// folder, puts the file in "files" under the working folder and calls that a success: so that
// folder is made sure of first, and where the file went is checked, and put back if wrong.
bool MoveToTrash(const QString& path) {
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (data.isEmpty() || !QDir().mkpath(data)) return false;
  const QFileInfo trash(QDir(data).filePath(QStringLiteral("Trash")));
  if (!trash.isDir() && !QFileInfo(data).isWritable()) return false;
  QString inTrash;
  if (!QFile::moveToTrash(path, &inTrash)) return false;
  const QDir files = QFileInfo(inTrash).absoluteDir();
  const QString trashName = QFileInfo(files.absolutePath()).dir().dirName();
  if (files.dirName() == QLatin1String("files") &&
      (trashName == QLatin1String("Trash") || trashName.startsWith(QLatin1String(".Trash")))) {
    return true;
  }
  QFile::rename(inTrash, path);
  return false;
}

}  // namespace

StaleFrame PutAwayStaleFrame(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::symlink_status(path, error);
  if (error || !std::filesystem::exists(status) || std::filesystem::is_directory(status)) {
    return StaleFrame::None;
  }
  // The path holds the name's bytes on the disk, whatever their encoding.
  if (MoveToTrash(QFile::decodeName(QByteArray::fromStdString(path)))) {
    return StaleFrame::Trashed;
  }
  if (!IsBmp24File(path)) return StaleFrame::Kept;
  std::filesystem::remove(path, error);
  return StaleFrame::Removed;
}

}  // namespace kinetta::image
