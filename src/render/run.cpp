// The conversion run's driver: checks, the work picture, the frame loop on all cores with
// frames handed on in order, and abort.
#include "render/run.h"

#include <algorithm>
#include <array>
#include <exception>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

#include "base/memory_budget.h"
#include "base/messages.h"
#include "base/text_lookup.h"
#include "render/frame_slots.h"
#include "render/motions.h"
#include "render/ordered_queue.h"
#include "render/renderer.h"
#include "render/run_budget.h"
#include "render/run_parts.h"

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
  // In the order of RunWarning.
  static constexpr std::array<std::string_view, 3> kTexts{
      base::kWideFrameWarning, base::kLargeSourceWarning, base::kManyFramesWarning};
  const auto i = static_cast<std::size_t>(w);
  return i < kTexts.size() ? kTexts[i] : std::string_view();
}

std::string WarningQuestion(RunWarning w) {
  return std::string(WarningText(w)) + "\n" + std::string(base::kContinueQuestion);
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
    return failed_ || (options_.control && (options_.control->abort || options_.control->stop));
  }

 private:
  const RenderOptions& options_;
  const std::atomic<bool>& failed_;
  int frame_ = 0;
};

bool Stopping(const RenderOptions& o) { return o.control && o.control->stop; }
bool AbortPressed(const RenderOptions& o) { return o.control && o.control->abort; }

// The checkpoint of the run's preparation (the renderer's tables): the abort
// button and the end of the program both stop it, for every motion. It remembers a stop, so
// that nothing is drawn from tables left incomplete. Tables made on several threads call it
// from each.
class PrepareCheckpoint final : public Checkpoint {
 public:
  explicit PrepareCheckpoint(const RenderOptions& o) : options_(o) {}
  bool Step() override {
    if (AbortPressed(options_) || Stopping(options_)) stopped_ = true;
    return stopped_;
  }
  bool stopped() const { return stopped_; }

 private:
  const RenderOptions& options_;
  std::atomic<bool> stopped_{false};
};

// The memory the run may take: what the machine has available besides the source already held,
// or the caller's budget when that is lower.
std::uint64_t MemoryAllowed(const RenderOptions& o, const Surface& source) {
  const std::uint64_t machine = base::AvailableMemoryBytes();
  const std::uint64_t held =
      static_cast<std::uint64_t>(source.width()) * static_cast<std::uint64_t>(source.height()) * 4;
  const std::uint64_t allowed = machine > UINT64_MAX - held ? UINT64_MAX : machine + held;
  return o.memoryBudget > 0 ? std::min(allowed, o.memoryBudget) : allowed;
}

// `result` ended by a frame that could not be handed on: the consumer's path and failure.
RunResult WriteFailed(RunResult result, FrameOutcome outcome) {
  result.outcome = RunStatus::WriteFailed;
  result.failedPath = std::move(outcome.failedPath);
  result.status = std::move(outcome.status);
  return result;
}

// `result` with a failure that ends the run before it starts, or as it goes on.
RunResult Ended(RunResult result, RunStatus outcome, base::Status status) {
  result.outcome = outcome;
  result.status = std::move(status);
  return result;
}

// `result` stopped by the abort button or the end of the program.
RunResult Stopped(RunResult result) {
  return Ended(std::move(result), RunStatus::Aborted,
               base::Status::Failed(base::Cause::Aborted, {}));
}

// The run frame drawn i-th: frame i, or the i-th of the frames asked for.
int FrameAt(const RenderOptions& o, int i) {
  return o.frames.empty() ? i : o.frames[static_cast<std::size_t>(i)];
}

// One slot, frames in order, each taken on and committed at once, when one thread is asked for
// (or there is one frame). `n` frames are drawn: the run's, or those asked for.
RunResult DrawInOrder(const Renderer& r, int n, const RenderOptions& o, const SlotMaker& make) {
  RunResult result;
  std::atomic<bool> failed{false};
  DriverCheckpoint checkpoint(o, failed);
  const std::unique_ptr<FrameSlot> slot = make(r);
  for (int i = 0; i < n; ++i) {
    const int k = FrameAt(o, i);
    checkpoint.SetFrame(k);
    std::optional<FrameCommit> commit;
    if (!Stopping(o)) commit = slot->Draw(r, k, checkpoint);
    if (!commit) {
      result.outcome = RunStatus::Aborted;
      return result;
    }
    FrameOutcome handed = (*commit)();
    if (!handed.status.ok()) return WriteFailed(std::move(result), std::move(handed));
    result.framesDone = i + 1;
  }
  return result;
}

// Frames drawn by `threads` workers on kFramesInFlight slots, each frame taken on by the thread
// that drew it and committed in order by the calling thread. A slot is reused for later frames
// once its frame has been committed, so at most two frames are in flight whatever the frame
// count and the number of cores: each worker draws a frame and writes its file while the other
// does the same with the next. An error on any thread (memory running out while drawing or
// encoding a frame, say) stops the run and is passed on to the caller once every worker has
// ended: an exception leaving a thread would end the program.
RunResult DrawInParallel(const Renderer& r, int n, int threads, const RenderOptions& o,
                         const SlotMaker& make) {
  RunResult result;
  std::vector<std::unique_ptr<FrameSlot>> slots;
  for (int i = 0; i < kFramesInFlight; ++i) slots.push_back(make(r));
  // What is left to do on this thread for the frame each slot holds.
  std::vector<FrameCommit> commits(slots.size());
  OrderedQueue queue(n, kFramesInFlight);
  std::atomic<bool> failed{false};  // a frame not handed on, or an error: the workers stop
  const auto fail = [&](std::exception_ptr error) {
    failed = true;
    queue.Stop(std::move(error));
  };

  const auto work = [&] {
    try {
      DriverCheckpoint checkpoint(o, failed);
      while (const std::optional<OrderedQueue::Ticket> ticket = queue.Take()) {
        const int k = FrameAt(o, ticket->index);
        checkpoint.SetFrame(k);
        std::optional<FrameCommit> commit;
        if (!Stopping(o)) commit = slots[ticket->slot]->Draw(r, k, checkpoint);
        if (!commit) {
          queue.Stop();
          return;
        }
        commits[ticket->slot] = std::move(*commit);
        queue.Put(*ticket);
      }
    } catch (...) {
      fail(std::current_exception());
    }
  };
  std::vector<std::jthread> workers;
  try {
    for (int i = 0; i < threads; ++i) workers.emplace_back(work);
  } catch (...) {
    fail(std::current_exception());  // the workers already started end at once
  }

  for (int i = 0; i < n; ++i) {
    const std::optional<OrderedQueue::Ticket> ticket = queue.Next();
    if (!ticket) {
      result.outcome = RunStatus::Aborted;
      break;
    }
    FrameCommit& commit = commits[ticket->slot];
    FrameOutcome handed;
    try {
      handed = commit();
    } catch (...) {
      handed.status = base::Status::Failed(base::Cause::Unexpected, {});
      fail(std::current_exception());
    }
    commit = nullptr;  // done with before the slot draws again
    if (!handed.status.ok()) {
      fail(nullptr);
      result = WriteFailed(std::move(result), std::move(handed));
      break;
    }
    queue.Release(ticket->slot);
    result.framesDone = i + 1;
  }
  workers.clear();  // joins
  commits.clear();  // frames staged but never committed go now
  if (const std::exception_ptr error = queue.error()) std::rethrow_exception(error);
  return result;
}

}  // namespace

RunResult RenderFrames(const Surface& source, const Settings& s, const RenderOptions& o,
                       const FrameConsumer& consume) {
  // Everything on the calling thread: the stage only remembers the frame.
  return RenderFrames(source, s, o, [&consume](int k, const Surface& frame) -> FrameCommit {
    return [&consume, k, &frame] { return consume(k, frame); };
  });
}

namespace {

// The run: its checks, the renderer and its tables, then the frames on the slots `make` gives.
RunResult Render(const Surface& source, const Settings& s, const RenderOptions& o,
                 FrameHolding holding, const SlotMaker& make) {
  RunResult result;
  const Motion* motion = FindMotion(s.ShapeIndex);
  if (!motion) {
    return Ended(std::move(result), RunStatus::NoShape,
                 base::Status::Failed(base::Cause::BadSetting, base::NoShapeMessage(s.ShapeIndex)));
  }
  const FrameSize size = PlannedFrameSize(s, source.width(), source.height());
  result.frameWidth = size.width;
  result.frameHeight = size.height;
  if (s.FrameCount < 1) return result;  // no frame at all
  // The frames drawn: the run's, or those asked for (a preview's sample of them).
  const int n = o.frames.empty() ? s.FrameCount : static_cast<int>(o.frames.size());
  if (n < 1) return result;
  if (size.width < 1 || size.height < 1) {
    // Not the width setting's fault where the picture has no two rows to split into faces.
    const std::string why = motion->stackedFaces && source.height() < 2
                                ? base::Text(base::kPictureTooShortMessage)
                                : base::FrameTooSmallMessage(size.width, size.height);
    return Ended(std::move(result), RunStatus::BadFrameSize,
                 base::Status::Failed(base::Cause::BadSetting, why));
  }
  // The tables are made on every core (or as many threads as asked for); frames are drawn on
  // at most kFramesInFlight.
  const int tableThreads =
      o.threads > 0 ? o.threads
                    : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  const int threads = std::min({tableThreads, n, kFramesInFlight});

  // Refused before any pixel memory is taken: a frame as wide as a tall source is high, say.
  const std::uint64_t needed = RunMemoryBytes(s, source.width(), source.height(), threads, holding);
  const std::uint64_t allowed = MemoryAllowed(o, source);
  if (needed > allowed) {
    return Ended(
        std::move(result), RunStatus::TooLarge,
        base::Status::Failed(base::Cause::TooLarge,
                             base::TooLargeMessage(size.width, size.height, needed, allowed)));
  }

  // The abort button pressed while the run was being prepared: no motion is drawn, not even the
  // cut-out, which otherwise never stops for it.
  PrepareCheckpoint preparing(o);
  if (preparing.Step()) return Stopped(std::move(result));
  // The work picture is the source itself, read in place for the length of the run (the
  // renderer ends before this function does).
  auto work = std::shared_ptr<const Surface>(&source, [](const Surface*) {});
  std::unique_ptr<const Renderer> renderer;
  if (!preparing.stopped()) {
    renderer = motion->make(
        {std::move(work), source.width(), source.height(), s, o.seed, &preparing,
         [tableThreads](int count, const auto& part) { RunParts(tableThreads, count, part); }});
  }
  if (preparing.Step()) return Stopped(std::move(result));

  const RunResult drawn = threads <= 1 ? DrawInOrder(*renderer, n, o, make)
                                       : DrawInParallel(*renderer, n, threads, o, make);
  result.framesDone = drawn.framesDone;
  result.failedPath = drawn.failedPath;
  // The abort button also reports a run that went to its end (the cut-out never stops for it).
  if (drawn.outcome == RunStatus::Aborted ||
      (drawn.outcome == RunStatus::Completed && AbortPressed(o))) {
    return Stopped(std::move(result));
  }
  return Ended(std::move(result), drawn.outcome, drawn.status);
}

}  // namespace

RunResult RenderFrames(const Surface& source, const Settings& s, const RenderOptions& o,
                       const FrameStage& stage) {
  return Render(source, s, o, FrameHolding::Canvases,
                [&stage](const Renderer& r) { return MakeCanvasSlot(r, stage); });
}

RunResult RenderFrames(const Surface& source, const Settings& s, const RenderOptions& o,
                       const FrameSinkOpener& open) {
  return Render(source, s, o, FrameHolding::Strips,
                [&open](const Renderer& r) { return MakeStripSlot(r, open); });
}

}  // namespace kinetta::render
