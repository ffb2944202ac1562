// kinetta-render: reads the options and mivet.ini, plans the files of every picture, and renders
// the pictures in turn: the picture, the notes, the frames with a progress line, the page and the
// animation files; then the summary and the exit status.
#include "cli/cli_run.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <exception>
#include <filesystem>
#include <optional>
#include <ostream>
#include <set>
#include <system_error>

#include "base/gif_rule.h"
#include "base/messages.h"
#include "base/settings_file.h"
#include "base/text_lookup.h"
#include "cli/batch_plan.h"
#include "cli/cli_messages.h"
#include "cli/cli_options.h"
#include "cli/progress_line.h"
#include "export/animation_file.h"
#include "export/html_page.h"
#include "export/sticker_fit.h"
#include "image/conversion.h"
#include "image/frame_files.h"
#include "image/picture.h"
#include "image/quick_look.h"
#include "image/source_loading.h"
#include "render/motions.h"
#include "render/scaling.h"

namespace kinetta::cli {

namespace {

// The frames of a run for stickers alone are drawn this much larger than the largest sticker's
// picture, so that rounding never leaves them a pixel short and the sticker is always a
// reduction of them.
constexpr double kStickerFrameMargin = 1.02;

// Below this the smaller run is not worth it: the picture is read and drawn as it is.
constexpr double kWorthSmallerFrames = 0.9;

std::uint64_t ClockSeed() {
  return static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

// What is said about one picture. With several pictures, each line names the picture it is
// about, unless its text names it already; every line first takes the progress line away.
class PictureReport {
 public:
  PictureReport(std::ostream& out, std::ostream& err, ProgressLine& progress, std::string label,
                bool quiet, std::set<render::RunWarning>& warned)
      : out_(out),
        err_(err),
        progress_(progress),
        label_(std::move(label)),
        quiet_(quiet),
        warned_(warned) {}
  void Error(std::string_view text) {
    Say(err_, std::string(kProgramPrefix) + Label() + std::string(text));
  }
  // An error whose text starts with the picture's path.
  void ErrorNamingPicture(std::string_view text) {
    Say(err_, std::string(kProgramPrefix) + std::string(text));
  }
  // A note that something was left in place or not quite as asked; shown even when quiet.
  void Note(std::string_view text) {
    Say(err_, base::Text(kNotePrefix) + Label() + std::string(text));
  }
  // A note that the run will take long: not when quiet, and once a call, for the first picture
  // it holds for.
  void TimeNote(render::RunWarning warning) {
    if (!quiet_ && warned_.insert(warning).second) Note(base::Text(render::WarningText(warning)));
  }
  // What was written.
  void Wrote(std::string_view text) {
    if (!quiet_) Say(out_, Label() + std::string(text));
  }
  ProgressLine& progress() { return progress_; }

 private:
  std::string Label() const { return label_.empty() ? label_ : label_ + ": "; }
  void Say(std::ostream& stream, const std::string& line) {
    progress_.Clear();
    stream << line << '\n';
  }
  std::ostream& out_;
  std::ostream& err_;
  ProgressLine& progress_;
  std::string label_;
  bool quiet_;
  std::set<render::RunWarning>& warned_;
};

// A message that may run over several lines, on one.
std::string OneLine(std::string message) {
  for (char& c : message) {
    if (c == '\n') c = ' ';
  }
  return message;
}

// --html: the page and the viewer files beside the frames.
base::Status WriteHtml(const CliOptions& options, const PicturePlan& plan,
                       const render::RunResult& run, const base::Settings& s,
                       const CliEnvironment& env, PictureReport& report) {
  exporter::ExportRequest request;
  request.sourcePath = plan.framePath;
  request.appFolder = env.appFolder;
  request.frameCount = s.FrameCount;
  request.canvasWidth = run.frameWidth;
  request.canvasHeight = run.frameHeight;
  request.frameTimeMs = *options.htmlMs;
  request.frameExtension = exporter::FrameExtensionOf(s);
  const exporter::ExportResult result = exporter::ExportPage(request);
  if (!result.status.ok()) {
    report.Error(OneLine(result.status.message()));
    return result.status;
  }
  if (!result.viewers.ok()) {
    // The page is there but cannot show the frames without its viewer files.
    report.Error(ViewerFilesMissingMessage(result.pagePath.string(), result.viewers.message()));
    return result.viewers;
  }
  report.Wrote(WroteFileMessage(result.pagePath.string()));
  return base::Status::Ok();
}

// --gif / --webp / --mp4 / --apng / --webm: the frame files just written, read back as the desktop
// program reads them, as one animation file. The progress line shows the frames read, then the
// frames encoded.
base::Status WriteAnimationFile(const CliOptions& options, const PicturePlan& plan,
                                exporter::AnimationFormat format, const std::string& target,
                                const base::Settings& s, const CliEnvironment& env,
                                PictureReport& report) {
  constexpr const char* kNames[] = {"GIF", "WebP", "MP4", "APNG", "WebM"};
  const char* name = kNames[static_cast<int>(format)];
  exporter::AnimationRequest request;
  request.format = format;
  request.background = s.BackColor;  // the run just made the frames on it
  request.delay = options.delay;
  request.matte = options.matte;
  request.webpQuality = options.webpQuality;
  request.maxSide = options.maxSide.value_or(0);
  request.target = target;
  request.abort = env.control != nullptr ? &env.control->abort : nullptr;
  if (options.maxMemoryMiB) request.memoryBudget = *options.maxMemoryMiB << 20;
  ProgressLine& progress = report.progress();
  request.progress = [&progress, name](int done, int total) { progress.File(name, done, total); };
  const exporter::AnimationResult result =
      exporter::WriteAnimation(image::FrameFileReader(plan.framePath, s), request);
  switch (result.outcome) {
    case exporter::AnimationStatus::Written:
      if (result.withinLevel) report.Note(Mp4WithinLevelMessage(result.width, result.height));
      report.Wrote(WroteAnimationMessage(target, result.frames));
      return base::Status::Ok();
    case exporter::AnimationStatus::Aborted:
      report.ErrorNamingPicture(FileInterruptedMessage(target));
      return result.status;
    case exporter::AnimationStatus::NoFrames:
    case exporter::AnimationStatus::Failed:
      break;
  }
  report.Error(OneLine(result.status.message()));
  return result.status;
}

// --sticker: the frame files just written, fitted to the target, and what was chosen.
base::Status WriteSticker(const CliOptions& options, const StickerCheckRequest& sticker,
                          const std::string& file, const PicturePlan& plan, const base::Settings& s,
                          const CliEnvironment& env, PictureReport& report) {
  exporter::StickerRequest request;
  request.target = sticker.target;
  request.frameCount = s.FrameCount;
  request.delayMs = options.delay.webpMilliseconds;
  request.file = file;
  request.abort = env.control != nullptr ? &env.control->abort : nullptr;
  const base::Result<exporter::StickerFit> fit =
      exporter::FitSticker(image::FrameFileReader(plan.framePath, s), request);
  if (fit.ok()) {
    report.Wrote(StickerWroteMessage(file, *sticker.target, fit.value()));
    return base::Status::Ok();
  }
  if (fit.cause() == base::Cause::Aborted) {
    report.ErrorNamingPicture(FileInterruptedMessage(file));
  } else {
    report.Error(OneLine(fit.message()));
  }
  return fit.status();
}

// What follows a completed run: the page and the animation files that were asked for, in that
// order; the first that fails ends it.
base::Status WriteExtras(const CliOptions& options, const PicturePlan& plan,
                         const render::RunResult& run, const base::Settings& s,
                         const CliEnvironment& env, PictureReport& report) {
  if (options.htmlMs) {
    if (base::Status page = WriteHtml(options, plan, run, s, env, report); !page.ok()) {
      return page;
    }
  }
  for (std::size_t f = 0; f < kAnimationOptions.size(); ++f) {
    const std::string& target = plan.animationFiles[f];
    if (target.empty()) continue;
    if (base::Status file =
            WriteAnimationFile(options, plan, kAnimationOptions[f].format, target, s, env, report);
        !file.ok()) {
      return file;
    }
  }
  for (std::size_t f = 0; f < options.stickers.size(); ++f) {
    if (base::Status file =
            WriteSticker(options, options.stickers[f], plan.stickerFiles[f], plan, s, env, report);
        !file.ok()) {
      return file;
    }
  }
  return base::Status::Ok();
}

// How one picture ended: done, or the failure (Cause::Aborted when interrupted), and whether it
// was the picture itself that could not be read, for the summary.
struct PictureEnd {
  base::Status status;
  bool unreadable = false;
};

// Whether stickers are all the call writes besides the frames.
bool StickersOnly(const CliOptions& options) {
  return !options.stickers.empty() && !options.htmlMs.has_value() &&
         std::none_of(kAnimationOptions.begin(), kAnimationOptions.end(),
                      [&](const AnimationOption& a) { return !(options.*a.file).empty(); });
}

// With stickers alone to make, the frames need be no larger than the largest sticker's picture:
// how much smaller than a `width` x `height` picture would make them (below 1) the run may draw
// them; 1 for no smaller.
double StickerOnlyScale(const CliOptions& options, const base::Settings& s, int width, int height) {
  const render::Motion* motion = render::FindMotion(s.ShapeIndex);
  if (!StickersOnly(options) || motion == nullptr) return 1.0;
  const render::FrameSize frame = motion->size(s, width, height);
  if (frame.width < 1 || frame.height < 1) return 1.0;
  double scale = 0.0;
  for (const StickerCheckRequest& sticker : options.stickers) {
    const std::optional<exporter::StickerPlan> plan = exporter::PlanStickerForRun(
        *sticker.target, s, width, height, options.delay.webpMilliseconds);
    if (!plan) return 1.0;
    scale = std::max({scale, static_cast<double>(plan->pictureWidth) / frame.width,
                      static_cast<double>(plan->pictureHeight) / frame.height});
  }
  // A little over, so that rounding never leaves the frames a pixel short.
  scale *= kStickerFrameMargin;
  return scale < kWorthSmallerFrames ? scale : 1.0;
}

// The picture the run reads and the settings it runs with; smaller than the picture, with a width
// in pixels scaled alike, when stickers are all it makes.
struct RunSource {
  render::Surface source;
  base::Settings settings;
  bool reduced = false;
};

// `source` (read at `width` x `height` or larger) scaled for a run that draws its frames
// `scale` times as large as the whole picture would make them: each pixel the area-weighted mean
// of those it covers; a picture of two stacked faces keeps an even height, so its halves stay
// apart.
RunSource ScaledForRun(const render::Surface& source, const base::Settings& s, double scale,
                       int width, int height) {
  const auto side = [scale](int n) { return std::max(1, static_cast<int>(std::ceil(n * scale))); };
  const render::Motion* motion = render::FindMotion(s.ShapeIndex);
  const bool stacked = motion != nullptr && motion->stackedFaces;
  const int h = stacked ? (side(height) + 1) / 2 * 2 : side(height);
  RunSource run{render::Scaled(source, side(width), h), s, true};
  if (s.WidthMode == 2) run.settings.WidthValue = static_cast<std::int16_t>(side(s.WidthValue));
  return run;
}

// The picture for the run, read as LoadSourcePicture reads it. With stickers alone to make, a
// JPEG is first read reduced by its decoder, which is enough when its frames need be no larger
// than the stickers'.
base::Result<RunSource> LoadForRun(const CliOptions& options, const PicturePlan& plan,
                                   const base::Settings& s, bool gifAllowed) {
  if (StickersOnly(options)) {
    int box = 0;
    for (const StickerCheckRequest& sticker : options.stickers) {
      box = std::max({box, sticker.target->maxWidth, sticker.target->maxHeight});
    }
    // Twice the largest sticker: a motion's frames may be smaller than its picture.
    if (std::optional<image::QuickLook> look =
            image::ReadQuickLook(plan.source, {2 * box, 2 * box})) {
      const double scale = StickerOnlyScale(options, s, look->width, look->height);
      if (scale < 1.0 && look->picture.width() >= std::ceil(look->width * scale) &&
          look->picture.height() >= std::ceil(look->height * scale)) {
        const render::Surface reduced =
            image::SurfaceFor(image::PictureOf(std::move(look->picture)), s);
        return ScaledForRun(reduced, s, scale, look->width, look->height);
      }
    }
  }
  base::Result<image::Picture> loaded = image::LoadSourcePicture(plan.source, gifAllowed);
  if (!loaded.ok()) return loaded.status();
  // The motions read the picture laid over the run's background colour, or with its
  // transparency when the background is clear.
  RunSource run{image::SurfaceFor(std::move(loaded).value(), s), s};
  const double scale = StickerOnlyScale(options, s, run.source.width(), run.source.height());
  if (scale < 1.0)
    run = ScaledForRun(run.source, s, scale, run.source.width(), run.source.height());
  return run;
}

// One picture: its output folder, the picture, the notes, the frames, the page and the files.
PictureEnd RenderPicture(const CliOptions& options, const PicturePlan& plan,
                         const base::Settings& asked, bool gifAllowed, const CliEnvironment& env,
                         PictureReport& report) {
  if (base::IsGifName(plan.source) && !gifAllowed) {
    const std::string refused = plan.source + ": " + base::Text(base::kUnsupportedFormatMessage);
    report.ErrorNamingPicture(refused);
    return {base::Status::Failed(base::Cause::Unsupported, refused), true};
  }
  base::Result<RunSource> loaded = LoadForRun(options, plan, asked, gifAllowed);
  if (!loaded.ok()) {
    report.ErrorNamingPicture(loaded.message());
    return {loaded.status(), true};
  }
  const render::Surface source = std::move(loaded.value().source);
  const base::Settings settings = loaded.value().settings;
  if (loaded.value().reduced) {
    const render::FrameSize frame =
        render::FindMotion(settings.ShapeIndex)->size(settings, source.width(), source.height());
    report.Note(StickerSizedFramesMessage(frame.width, frame.height));
  }
  if (!plan.outputDir.empty()) {
    std::error_code error;
    std::filesystem::create_directories(plan.outputDir, error);
    if (error) {
      const base::Status made =
          base::CannotWrite(plan.outputDir, base::SystemFailure(error.value()));
      report.Error(made.message());
      return {made};
    }
  }
  for (render::RunWarning w : render::CheckRunWarnings(settings, source.width(), source.height())) {
    report.TimeNote(w);
  }

  render::RenderOptions ro;
  ro.seed = options.seed ? *options.seed : ClockSeed();
  ro.control = env.control;
  if (options.maxMemoryMiB) ro.memoryBudget = *options.maxMemoryMiB << 20;
  ProgressLine& progress = report.progress();
  // Nothing here looks at the frames: each is written as it is drawn, a strip at a time.
  const render::RunResult result =
      image::RunConversionInStrips(source, plan.framePath, settings, ro,
                                   [&](int k, const std::string&) { progress.Frames(k + 1); });

  switch (result.outcome) {
    case render::RunStatus::Completed: {
      report.Wrote(WroteFramesMessage(result.framesDone));
      if (!result.notice.empty()) report.Note(result.notice);
      return {WriteExtras(options, plan, result, settings, env, report)};
    }
    case render::RunStatus::Aborted: {
      // Interrupted, even when every frame was written meanwhile: the page and animation
      // files asked for are not.
      const std::string said = RunInterruptedMessage(result.framesDone);
      report.Error(said);
      return {base::Status::Failed(base::Cause::Aborted, said)};
    }
    case render::RunStatus::WriteFailed:
    case render::RunStatus::Failed:
    case render::RunStatus::BadFrameSize:
    case render::RunStatus::TooLarge:
    case render::RunStatus::NoShape:
      break;
  }
  report.Error(result.status.message());
  return {result.status};
}

// --check-sticker: each file measured and held to its target's rules, the rules on standard
// output; a file that cannot be measured is said on standard error. The first failure, or ok.
base::Status CheckStickers(const CliOptions& options, std::ostream& out, std::ostream& err) {
  base::Status first;
  for (const StickerCheckRequest& check : options.stickerChecks) {
    const base::Result<exporter::StickerMeasure> measured =
        exporter::MeasureStickerFile(check.file);
    base::Status end;
    if (!measured.ok()) {
      err << kProgramPrefix << OneLine(measured.message()) << '\n';
      end = measured.status();
    } else {
      out << StickerCheckHeading(check.file, *check.target) << '\n';
      int failed = 0;
      for (const exporter::RuleOutcome& o :
           exporter::CheckSticker(*check.target, measured.value())) {
        out << StickerRuleLine(*check.target, measured.value(), o) << '\n';
        if (o.verdict == exporter::RuleVerdict::Fail) ++failed;
      }
      out << "  " << StickerCheckSummary(failed) << '\n';
      // A file the platform would refuse: not of a kind it takes.
      if (failed > 0)
        end = base::Status::Failed(base::Cause::Unsupported, StickerCheckSummary(failed));
    }
    if (first.ok()) first = end;
  }
  return first;
}

// A call refused before any picture: the reason, and for a mistake on the command line the hint
// to the usage text.
base::Status Refuse(std::ostream& err, base::Status why) {
  err << kProgramPrefix << why.message() << '\n';
  if (why.cause() == base::Cause::BadArgument) err << base::Text(kTryHelpLine) << '\n';
  return why;
}

// Everything RunCli does, without the guard against errors; how the call ended.
base::Status RunUnguarded(const std::vector<std::string>& args, const CliEnvironment& env,
                          std::ostream& out, std::ostream& err) {
  const ParsedArguments parsed = ParseArguments(args);
  switch (parsed.outcome) {
    case ParseOutcome::Help:
      out << UsageText() << StickerTargetsUsage();
      return base::Status::Ok();
    case ParseOutcome::Version:
      out << VersionText();
      return base::Status::Ok();
    case ParseOutcome::Error:
      return Refuse(err, parsed.status);
    case ParseOutcome::Run:
      break;
  }
  const CliOptions& options = parsed.options;
  if (options.sources.empty()) return CheckStickers(options, out, err);

  const std::filesystem::path folder(env.appFolder);
  // The settings the desktop program keeps, wherever it keeps them.
  const base::SettingsLocation location =
      base::LocateSettingsFile(folder, env.userFolder, base::FolderWritable(folder));
  const base::Settings settings =
      ApplyOptions(base::ReadSettingsFile(location.read).settings, options);

  // Every file of every picture is known, and refused when two would meet, before the first
  // picture is read.
  const BatchPlan plan = PlanBatch(options, settings.FrameCount);
  if (plan.outcome != PlanOutcome::Ready) return Refuse(err, plan.status);

  // A platform that wants a transparent background still takes one over a colour: said, not
  // refused.
  for (const StickerCheckRequest& sticker : options.stickers) {
    if (sticker.target->wantsTransparency && !settings.TransparentBack) {
      err << kNotePrefix << StickerOverColourMessage(*sticker.target) << '\n';
    }
  }
  const bool gifAllowed = base::GifSupportFromMarker(folder);
  const int count = static_cast<int>(plan.pictures.size());
  ProgressLine progress(err, env.progress && !options.quiet && settings.FrameCount > 0, count,
                        settings.FrameCount);
  std::vector<FailedPicture> failures;
  base::Status firstFailure;
  std::set<render::RunWarning> warned;
  int done = 0;
  bool interrupted = false;
  for (int i = 0; i < count && !interrupted; ++i) {
    const PicturePlan& picture = plan.pictures[static_cast<std::size_t>(i)];
    PictureReport report(out, err, progress, count > 1 ? picture.source : "", options.quiet,
                         warned);
    progress.StartPicture(i);
    PictureEnd end;
    // An error in one picture (memory running out while it is read or drawn, say) is that
    // picture's failure with its message; the others go on.
    try {
      end = RenderPicture(options, picture, settings, gifAllowed, env, report);
    } catch (...) {
      end.status = base::ErrorStatus(std::current_exception());
      report.Error(end.status.message());
    }
    if (end.status.ok()) {
      ++done;
    } else if (end.status.cause() == base::Cause::Aborted) {
      interrupted = true;
    } else {
      failures.push_back({picture.source, end.unreadable});
      if (firstFailure.ok()) firstFailure = end.status;
    }
    // Ctrl-C between two pictures ends the call too.
    if (env.control != nullptr && env.control->stop) interrupted = true;
  }
  progress.Clear();
  if (count > 1 && (!options.quiet || done < count)) {
    err << kProgramPrefix << SummaryMessage(count, done, failures, interrupted) << '\n';
  }
  // An interruption ends the call whatever failed before it; the files are checked after the
  // pictures, which may have written them.
  if (interrupted) return base::Status::Failed(base::Cause::Aborted, {});
  const base::Status checked = CheckStickers(options, out, err);
  return firstFailure.ok() ? checked : firstFailure;
}

}  // namespace

int ExitStatusOf(const base::Status& end) {
  if (end.ok()) return kExitOk;
  switch (end.cause()) {
    case base::Cause::Aborted:
      return kExitInterrupted;
    case base::Cause::BadArgument:
      return kExitUsage;
    default:
      return kExitFailed;
  }
}

int RunCli(const std::vector<std::string>& args, const CliEnvironment& env, std::ostream& out,
           std::ostream& err) {
  // An error anywhere outside a picture's run is a failure with its message, not the end of the
  // program through an abort.
  try {
    return ExitStatusOf(RunUnguarded(args, env, out, err));
  } catch (...) {
    const base::Status error = base::ErrorStatus(std::current_exception());
    err << kProgramPrefix << error.message() << '\n';
    return ExitStatusOf(error);
  }
}

}  // namespace kinetta::cli
