// The conversion run's driver: checks, the work picture, the frame loop on all cores with
// frames saved in order, abort, and the frame files.
#include "render/run.h"

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "app/path_helpers.h"
#include "image/bmp_file.h"
#include "render/motions.h"
#include "render/renderer.h"

namespace kinetta::render {

std::vector<RunWarning> CheckRunWarnings(const Settings& s, double w, double h) {
  std::vector<RunWarning> warnings;
  if ((s.WidthMode == 0 && w > 500) || (s.WidthMode == 1 && h > 500) ||
      (s.WidthMode == 2 && s.WidthValue > 500)) {
    warnings.push_back(RunWarning::WideFrame);
  }
  if (w > 300 && h > 300) warnings.push_back(RunWarning::LargeSource);
  if (s.FrameCount > 40) warnings.push_back(RunWarning::ManyFrames);
  return warnings;
}

std::string_view WarningText(RunWarning w) {
  switch (w) {
    case RunWarning::WideFrame: return "幅が大きくて時間がかかります。";
    case RunWarning::LargeSource: return "原図が大きくて時間がかかります。";
    case RunWarning::ManyFrames: return "こま数が多くて時間がかかります。";
  }
  return {};
}

std::string WarningQuestion(RunWarning w) {
  return std::string(WarningText(w)) + "\n" + std::string(kContinueQuestion);
}

Surface PrepareWork(const Surface& source, int copies) {
  Surface work(source.width() * copies, source.height(), 0);
  for (int k = 0; k < copies; ++k) {
    work.CopyFrom(source, 0, 0, source.width(), source.height(), k * source.width(), 0);
  }
  return work;
}

namespace {

// The checkpoint of one drawing thread: reports the frame to the test hook, then tells whether
// the run is to stop (abort button, end of program, or a failed save).
class DriverCheckpoint final : public Checkpoint {
 public:
  DriverCheckpoint(const RenderOptions& o, const std::atomic<bool>& failed)
      : options_(o), failed_(failed) {}
  void SetFrame(int k) { frame_ = k; }
  bool Step() override {
    if (options_.onCheckpoint) options_.onCheckpoint(frame_);
    return failed_ || (options_.control &&
                       (options_.control->abort || options_.control->stop));
  }

 private:
  const RenderOptions& options_;
  const std::atomic<bool>& failed_;
  int frame_ = 0;
};

bool Stopping(const RenderOptions& o) { return o.control && o.control->stop; }
bool AbortPressed(const RenderOptions& o) { return o.control && o.control->abort; }

// One canvas, frames in order: the fade-in's dots, and every motion when one thread is asked for.
RunResult DrawInOrder(Renderer& r, int n, const RenderOptions& o, const FrameConsumer& consume) {
  RunResult result;
  std::atomic<bool> failed{false};
  DriverCheckpoint checkpoint(o, failed);
  const FrameSize size = r.Size();
  Surface canvas(size.width, size.height);
  r.StartCanvas(canvas);
  for (int k = 0; k < n; ++k) {
    checkpoint.SetFrame(k);
    if (Stopping(o) || !r.DrawFrame(k, canvas, checkpoint)) {
      result.status = RunStatus::Aborted;
      return result;
    }
    if (!consume(k, canvas, result.failedPath, result.message)) {
      result.status = RunStatus::WriteFailed;
      return result;
    }
    result.framesDone = k + 1;
  }
  return result;
}

// Independent frames drawn by `threads` workers on a small pool of canvases, handed on in order
// by the calling thread. A canvas is reused for later frames once its frame has been handed on,
// so memory stays at a few frames whatever the frame count.
RunResult DrawInParallel(Renderer& r, int n, int threads, const RenderOptions& o,
                         const FrameConsumer& consume) {
  RunResult result;
  const FrameSize size = r.Size();
  std::mutex m;
  std::condition_variable cv;
  std::vector<std::unique_ptr<Surface>> pool;
  for (int i = 0; i < threads + 2; ++i) {
    pool.push_back(std::make_unique<Surface>(size.width, size.height));
    r.StartCanvas(*pool.back());
  }
  std::map<int, std::unique_ptr<Surface>> ready;
  int nextFrame = 0;
  bool stopped = false;  // a worker stopped at a checkpoint, or the consumer failed
  std::atomic<bool> failed{false};

  auto work = [&] {
    DriverCheckpoint checkpoint(o, failed);
    for (;;) {
      std::unique_ptr<Surface> canvas;
      int k;
      {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return stopped || nextFrame >= n || !pool.empty(); });
        if (stopped || nextFrame >= n) return;
        k = nextFrame++;
        canvas = std::move(pool.back());
        pool.pop_back();
      }
      checkpoint.SetFrame(k);
      const bool drawn = !Stopping(o) && r.DrawFrame(k, *canvas, checkpoint);
      {
        std::lock_guard lock(m);
        if (drawn) {
          ready.emplace(k, std::move(canvas));
        } else {
          stopped = true;
          pool.push_back(std::move(canvas));
        }
      }
      cv.notify_all();
      if (!drawn) return;
    }
  };

  std::vector<std::jthread> workers;
  for (int i = 0; i < threads; ++i) workers.emplace_back(work);

  for (int k = 0; k < n; ++k) {
    std::unique_ptr<Surface> frame;
    {
      std::unique_lock lock(m);
      cv.wait(lock, [&] { return stopped || ready.count(k) > 0; });
      if (stopped) {
        result.status = RunStatus::Aborted;
        break;
      }
      frame = std::move(ready[k]);
      ready.erase(k);
    }
    const bool ok = consume(k, *frame, result.failedPath, result.message);
    {
      std::lock_guard lock(m);
      pool.push_back(std::move(frame));
      if (!ok) {
        stopped = true;
        failed = true;
      }
    }
    cv.notify_all();
    if (!ok) {
      result.status = RunStatus::WriteFailed;
      break;
    }
    result.framesDone = k + 1;
  }
  workers.clear();  // joins
  return result;
}

}  // namespace

RunResult RenderFrames(const Surface& source, const Settings& s, const RenderOptions& o,
                       const FrameConsumer& consume) {
  RunResult result;
  const Motion* motion = FindMotion(s.ShapeIndex);
  if (!motion) {
    result.status = RunStatus::NoShape;
    result.message = "形状の番号 " + std::to_string(s.ShapeIndex) +
                     " に当たる動きがありません。設定で形状を選び直してください。";
    return result;
  }
  const int n = s.FrameCount;
  if (n < 1) return result;  // no frame at all

  const Surface work = PrepareWork(source, motion->workCopies);
  const RenderInput input{work, source.width(), source.height(), s, o.seed};
  std::unique_ptr<Renderer> renderer = motion->make(input);
  const FrameSize size = renderer->Size();
  if (size.width < 1 || size.height < 1) {
    result.status = RunStatus::BadFrameSize;
    result.message = "こまの大きさが " + std::to_string(size.width) + " x " +
                     std::to_string(size.height) +
                     " ピクセルになり、1 ピクセルに足りません。横幅の設定を確かめてください。";
    return result;
  }

  int threads = o.threads > 0 ? o.threads
                              : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  threads = std::min(threads, n);
  result = (renderer->Sequential() || threads <= 1)
               ? DrawInOrder(*renderer, n, o, consume)
               : DrawInParallel(*renderer, n, threads, o, consume);
  // The abort button also reports a run that went to its end (the cut-out never stops for it).
  if (result.status == RunStatus::Completed && AbortPressed(o)) result.status = RunStatus::Aborted;
  return result;
}

RunResult RunConversion(
    const Surface& source, const std::string& sourcePath, const Settings& s,
    const RenderOptions& options,
    const std::function<void(int, const Surface&, const std::string&)>& onSaved) {
  return RenderFrames(
      source, s, options,
      [&](int k, const Surface& frame, std::string& failedPath, std::string& message) {
        const std::string path = app::FrameFileName(sourcePath, k);
        std::string reason;
        if (!image::WriteBmp24(frame, path, &reason)) {
          failedPath = path;
          message = path + " に書き込めません。(" + reason + ")";
          return false;
        }
        if (k + 1 == s.FrameCount) {
          // The frame after the last one is stale from a longer run: delete it, ignoring failure.
          std::error_code ignored;
          std::filesystem::remove(app::FrameFileName(sourcePath, k + 1), ignored);
        }
        if (onSaved) onSaved(k, frame, path);
        return true;
      });
}

}  // namespace kinetta::render
