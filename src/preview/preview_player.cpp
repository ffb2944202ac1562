// The timer-driven preview player.
#include "preview/preview_player.h"

#include "image/frame_files.h"
#include "image/picture_file.h"
#include "render/surface.h"

namespace kinetta::preview {

namespace {
constexpr int kTickMs = 1000;
}

PreviewPlayer::PreviewPlayer(std::function<std::string()> sourcePath, QObject* parent)
    : QObject(parent), sourcePath_(std::move(sourcePath)) {
  timer_.setInterval(kTickMs);
  connect(&timer_, &QTimer::timeout, this, &PreviewPlayer::Tick);
}

bool PreviewPlayer::Start() {
  if (playing()) return false;
  if (!sequence_.Start(sourcePath_(), [this](const std::string& f) { return Show(f); })) {
    return false;
  }
  abortRequested_ = false;
  timer_.start(kTickMs);
  return true;
}

void PreviewPlayer::Stop() { timer_.stop(); }

void PreviewPlayer::Tick() {
  if (!playing()) return;
  if (abortRequested_) {
    End();
    return;
  }
  if (!sequence_.Tick(sourcePath_(), [this](const std::string& f) { return Show(f); })) End();
}

bool PreviewPlayer::Show(const std::string& file) {
  const base::Result<render::Surface> frame = image::LoadFrameFile(file);
  if (!frame.ok()) return false;
  emit frameShown(image::ImageFromSurface(frame.value()));
  return true;
}

void PreviewPlayer::End() {
  timer_.stop();
  abortRequested_ = false;
  emit ended();
}

}  // namespace kinetta::preview
