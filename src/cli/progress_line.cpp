// The progress line: redrawn in place with a carriage return, cleared to the end of the line.
#include "cli/progress_line.h"

#include <ostream>

#include "cli/cli_messages.h"

namespace kinetta::cli {

namespace {
constexpr const char* kClearToEnd = "\033[K";
}  // namespace

ProgressLine::ProgressLine(std::ostream& err, bool enabled, int pictures, int framesEach)
    : err_(err),
      enabled_(enabled),
      pictures_(pictures),
      framesEach_(framesEach),
      start_(Clock::now()) {}

void ProgressLine::StartPicture(int index) {
  picture_ = index;
  Frames(0);
}

void ProgressLine::Frames(int done) {
  if (!enabled_) return;
  std::string text = PicturePart() + FrameProgressText(done, framesEach_);
  // The time left comes from the frames of the whole call drawn so far; a picture that failed
  // counts as done.
  const long long doneAll = static_cast<long long>(picture_) * framesEach_ + done;
  const long long totalAll = static_cast<long long>(pictures_) * framesEach_;
  if (doneAll > 0) {
    const double elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
    text += TimeLeftText(elapsed / static_cast<double>(doneAll) *
                         static_cast<double>(totalAll - doneAll));
  }
  Draw(text);
}

void ProgressLine::File(std::string_view format, int done, int total) {
  if (!enabled_) return;
  Draw(PicturePart() +
       (total == 0 ? FileReadProgressText(format, done) : FileProgressText(format, done, total)));
}

void ProgressLine::Clear() {
  if (!drawn_) return;
  err_ << '\r' << kClearToEnd << std::flush;
  drawn_ = false;
}

void ProgressLine::Draw(const std::string& text) {
  err_ << '\r' << text << kClearToEnd << std::flush;
  drawn_ = true;
}

std::string ProgressLine::PicturePart() const {
  if (pictures_ <= 1) return {};
  return PictureProgressText(picture_, pictures_);
}

}  // namespace kinetta::cli
