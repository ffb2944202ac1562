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
#include <optional>
#include <system_error>

#include "base/atomic_file.h"
#include "base/messages.h"
#include "base/path_helpers.h"
#include "image/bmp_file.h"
#include "image/png_frame.h"
#include "render/run_budget.h"

namespace kinetta::image {

namespace {

// What every run of frame files shares: the checks before it and how a frame written under a
// temporary name is put in place.
class FrameFiles {
 public:
  FrameFiles(const std::string& sourcePath, const base::Settings& s)
      : sourcePath_(sourcePath), s_(s) {}

  // A frame whose file would not fit in the 32 bits a BMP header gives its size is refused
  // before anything is drawn; temporaries a killed run left beside the frames go first.
  std::optional<render::RunResult> Refused(const render::Surface& source) const {
    const render::FrameSize size = render::PlannedFrameSize(s_, source.width(), source.height());
    if (!base::PngFrames(s_) && s_.FrameCount >= 1 && size.width >= 1 && size.height >= 1 &&
        Bmp24FileBytes(size.width, size.height) > kMaxBmpFileBytes) {
      render::RunResult refused;
      refused.outcome = render::RunStatus::TooLarge;
      refused.frameWidth = size.width;
      refused.frameHeight = size.height;
      refused.status = base::Status::Failed(
          base::Cause::TooLarge, base::FrameFileTooLargeMessage(size.width, size.height));
      return refused;
    }
    base::RemoveStaleTemporaries(std::filesystem::path(sourcePath_).parent_path());
    return std::nullopt;
  }

  std::string PathOf(int k) const {
    return base::FrameFileName(sourcePath_, k, base::FrameExtension(s_));
  }

  // Frame `frame`'s file through `write`: PNG, or BMP laid over the background colour where
  // the frame carries transparency.
  base::Status Stream(const render::Surface& frame, const base::Writer& write) const {
    if (base::PngFrames(s_)) return StreamPngFrame(frame, write);
    if (s_.TransparentBack) return StreamBmp24Over(frame, s_.BackColor, write);
    return StreamBmp24(frame, write);
  }

  const base::Settings& settings() const { return s_; }

  // Frame k's file put in place, or why not (on the calling thread, in frame order); after the
  // last frame the stale one after it is put away.
  render::FrameOutcome Committed(int k, const std::string& path, const base::Status& put) {
    if (!put.ok()) return {base::CannotWrite(path, put), path};
    if (k + 1 == s_.FrameCount) {
      // The frame after the last one is stale from a longer run.
      const std::string stale = PathOf(k + 1);
      if (PutAwayStaleFrame(stale) == StaleFrame::Kept) {
        notice_ = base::StaleFrameKeptMessage(std::filesystem::path(stale).filename().string());
      }
    }
    return {};
  }

  render::RunResult Ended(render::RunResult result) {
    result.notice = std::move(notice_);
    return result;
  }

 private:
  const std::string& sourcePath_;
  const base::Settings& s_;
  std::string notice_;
};

// Frame k's file, written a strip of rows at a time under a temporary name as the frame is
// drawn.
class FrameFileSink final : public render::FrameSink {
 public:
  FrameFileSink(FrameFiles& files, int k, render::FrameSize size,
                const std::function<void(int, const std::string&)>& onSaved)
      : files_(files),
        k_(k),
        path_(files.PathOf(k)),
        onSaved_(onSaved),
        file_(std::make_shared<File>()),
        strips_(size.width, size.height, [this](std::uint64_t at, const void* data, std::size_t n) {
          base::Status wrote = file_->pending->WriteAt(at, data, n);
          if (!wrote.ok()) file_->Fail(wrote);
          return wrote;
        }) {
    base::Result<base::PendingFile> created = base::PendingFile::Create(path_);
    if (!created.ok()) {
      file_->Fail(created.status());
      return;
    }
    file_->pending.emplace(std::move(created.value()));
    if (base::PngFrames(files.settings())) {
      // PNG is written from its start on: each piece where the one before it ended.
      png_.emplace(size.width, size.height, [this](const void* data, std::size_t n) {
        base::Status wrote = file_->pending->WriteAt(written_, data, n);
        written_ += n;
        if (!wrote.ok()) file_->Fail(wrote);
        return wrote;
      });
    } else {
      if (files.settings().TransparentBack) strips_.LayOver(files.settings().BackColor);
      (void)strips_.Header();  // a failed write fails the file, whichever piece it was
    }
  }

  base::Status Rows(int first, int count, const std::uint32_t* const* rows) override {
    if (!file_->pending) return file_->failure;
    return png_ ? png_->Rows(first, count, rows) : strips_.Rows(first, count, rows);
  }

  render::FrameCommit Finish() override {
    return [&files = files_, k = k_, path = path_, &onSaved = onSaved_,
            file = file_]() -> render::FrameOutcome {
      render::FrameOutcome put =
          files.Committed(k, path, file->pending ? file->pending->Commit() : file->failure);
      if (put.status.ok() && onSaved) onSaved(k, path);
      return put;
    };
  }

 private:
  FrameFiles& files_;
  const int k_;
  const std::string path_;
  const std::function<void(int, const std::string&)>& onSaved_;
  // The file being written, or why it could not be: shared with the commit, which outlives
  // the sink. A file that failed goes at once.
  struct File {
    std::optional<base::PendingFile> pending;
    base::Status failure;
    void Fail(base::Status why) {
      pending.reset();
      failure = std::move(why);
    }
  };
  std::shared_ptr<File> file_;
  Bmp24Strips strips_;
  std::optional<PngFrameRows> png_;
  std::uint64_t written_ = 0;  // the PNG file's bytes so far
};

}  // namespace

render::RunResult RunConversion(
    const render::Surface& source, const std::string& sourcePath, const base::Settings& s,
    const render::RenderOptions& options,
    const std::function<void(int, const render::Surface&, const std::string&)>& onSaved) {
  FrameFiles files(sourcePath, s);
  if (auto refused = files.Refused(source)) return *refused;
  // The thread that drew a frame encodes its file in pieces as it writes it under a temporary
  // name, while the other drawing thread does the same with the next frame: no whole file is
  // held in memory, and both cores share the writing. The calling thread then puts the files
  // in place in frame order, so the frames on the disk always run from the first without a gap.
  return files.Ended(render::RenderFrames(
      source, s, options, [&](int k, const render::Surface& frame) -> render::FrameCommit {
        std::string path = files.PathOf(k);
        // Shared, as the commit is copied into a std::function; only the commit uses it.
        auto written = std::make_shared<base::Result<base::PendingFile>>(base::PendingFile::Write(
            path, [&](const base::Writer& write) { return files.Stream(frame, write); }));
        return [&, k, path = std::move(path), written]() -> render::FrameOutcome {
          render::FrameOutcome put = files.Committed(
              k, path, written->ok() ? written->value().Commit() : written->status());
          if (put.status.ok() && onSaved) onSaved(k, frame, path);
          return put;
        };
      }));
}

render::RunResult RunConversionInStrips(
    const render::Surface& source, const std::string& sourcePath, const base::Settings& s,
    const render::RenderOptions& options,
    const std::function<void(int, const std::string&)>& onSaved) {
  FrameFiles files(sourcePath, s);
  if (auto refused = files.Refused(source)) return *refused;
  const render::FrameSize size = render::PlannedFrameSize(s, source.width(), source.height());
  return files.Ended(render::RenderFrames(source, s, options, [&](int k) {
    return std::make_unique<FrameFileSink>(files, k, size, onSaved);
  }));
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
