// The progress line: redrawn in place with a carriage return, cleared to the end of the line.
#include "cli/progress_line.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>

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
  std::string text =
      PicturePart() + std::to_string(done) + "/" + std::to_string(framesEach_) + " こま";
  // The time left comes from the frames of the whole call drawn so far; a picture that failed
  // counts as done.
  const long long doneAll = static_cast<long long>(picture_) * framesEach_ + done;
  const long long totalAll = static_cast<long long>(pictures_) * framesEach_;
  if (doneAll > 0) {
    const double elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
    text += "  残り " + DurationText(elapsed / static_cast<double>(doneAll) *
                                     static_cast<double>(totalAll - doneAll));
  }
  Draw(text);
}

void ProgressLine::File(std::string_view format, int done, int total) {
  if (!enabled_) return;
  std::string text = PicturePart() + std::string(format) + ": " + std::to_string(done);
  if (total == 0) {
    text += " こま読み込み";
  } else {
    text += '/';
    text += std::to_string(total);
    text += " こま";
  }
  Draw(text);
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
  return std::to_string(picture_ + 1) + "/" + std::to_string(pictures_) + " 枚  ";
}

std::string DurationText(double seconds) {
  const long long s = std::llround(std::max(seconds, 0.0));
  char text[48];
  if (s < 60) {
    std::snprintf(text, sizeof text, "%lld 秒", s);
  } else if (s < 3600) {
    std::snprintf(text, sizeof text, "%lld 分 %02lld 秒", s / 60, s % 60);
  } else {
    std::snprintf(text, sizeof text, "%lld 時間 %02lld 分", s / 3600, s % 3600 / 60);
  }
  return text;
}

}  // namespace kinetta::cli
