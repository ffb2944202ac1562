// kinetta-render: reads the options and mivet.ini, plans the files of every picture, and renders
// the pictures in turn: the picture, the notes, the frames with a progress line, the page and the
// animation files; then the summary and the exit status.
#include "cli/cli_run.h"

#include <chrono>
#include <exception>
#include <filesystem>
#include <ostream>
#include <set>
#include <system_error>

#include "base/gif_rule.h"
#include "base/messages.h"
#include "base/settings_file.h"
#include "cli/batch_plan.h"
#include "cli/cli_options.h"
#include "cli/progress_line.h"
#include "export/animation_file.h"
#include "export/html_page.h"
#include "image/conversion.h"
#include "image/frame_files.h"
#include "image/source_loading.h"

namespace kinetta::cli {

namespace {

constexpr const char* kGifRefused = "この画像形式には対応していません。";
constexpr const char* kProgram = "kinetta-render: ";
constexpr const char* kTryHelp = "Try 'kinetta-render --help'.\n";

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
  void Error(std::string_view text) { Say(err_, kProgram + Label() + std::string(text)); }
  // An error whose text starts with the picture's path.
  void ErrorNamingPicture(std::string_view text) { Say(err_, kProgram + std::string(text)); }
  // A note that something was left in place or not quite as asked; shown even when quiet.
  void Note(std::string_view text) { Say(err_, "注意: " + Label() + std::string(text)); }
  // A note that the run will take long: not when quiet, and once a call, for the first picture
  // it holds for.
  void TimeNote(render::RunWarning warning) {
    if (!quiet_ && warned_.insert(warning).second) Note(render::WarningText(warning));
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
int WriteHtml(const CliOptions& options, const PicturePlan& plan, const render::RunResult& run,
              const base::Settings& s, const CliEnvironment& env, PictureReport& report) {
  exporter::ExportRequest request;
  request.sourcePath = plan.framePath;
  request.appFolder = env.appFolder;
  request.frameCount = s.FrameCount;
  request.canvasWidth = run.frameWidth;
  request.canvasHeight = run.frameHeight;
  request.frameTimeMs = *options.htmlMs;
  const exporter::ExportResult result = exporter::ExportPage(request);
  if (!result.status.ok()) {
    report.Error(OneLine(result.status.message()));
    return kExitFailed;
  }
  if (!result.viewers.ok()) {
    // The page is there but cannot show the frames without its viewer files.
    report.Error(result.pagePath.string() +
                 " は書き出しましたが、表示に要るファイルをコピーできなかったため動きません: " +
                 result.viewers.message());
    return kExitFailed;
  }
  report.Wrote(result.pagePath.string() + " を書き出しました。");
  return kExitOk;
}

// --gif / --webp / --mp4 / --apng: the frame files just written, read back as the desktop
// program reads them, as one animation file. The progress line shows the frames read, then the
// frames encoded.
int WriteAnimationFile(const CliOptions& options, const PicturePlan& plan,
                       exporter::AnimationFormat format, const std::string& target,
                       const base::Settings& s, const CliEnvironment& env, PictureReport& report) {
  constexpr const char* kNames[] = {"GIF", "WebP", "MP4", "APNG"};
  const char* name = kNames[static_cast<int>(format)];
  exporter::AnimationRequest request;
  request.format = format;
  request.background = s.BackColor;  // the run just made the frames on it
  request.delay = options.delay;
  request.target = target;
  request.abort = env.control != nullptr ? &env.control->abort : nullptr;
  if (options.maxMemoryMiB) request.memoryBudget = *options.maxMemoryMiB << 20;
  ProgressLine& progress = report.progress();
  request.progress = [&progress, name](int done, int total) { progress.File(name, done, total); };
  const exporter::AnimationResult result =
      exporter::WriteAnimation(image::FrameFileReader(plan.framePath), request);
  switch (result.outcome) {
    case exporter::AnimationStatus::Written:
      report.Wrote(target + " を書き出しました。(" + std::to_string(result.frames) + " こま)");
      return kExitOk;
    case exporter::AnimationStatus::Aborted:
      report.ErrorNamingPicture(target + ": 中断しました。");
      return kExitInterrupted;
    case exporter::AnimationStatus::NoFrames:
    case exporter::AnimationStatus::Failed:
      break;
  }
  report.Error(OneLine(result.status.message()));
  return kExitFailed;
}

// What follows a completed run: the page and the animation files that were asked for, in that
// order; the first that fails ends it.
int WriteExtras(const CliOptions& options, const PicturePlan& plan, const render::RunResult& run,
                const base::Settings& s, const CliEnvironment& env, PictureReport& report) {
  if (options.htmlMs) {
    if (const int status = WriteHtml(options, plan, run, s, env, report); status != kExitOk) {
      return status;
    }
  }
  for (std::size_t f = 0; f < kAnimationOptions.size(); ++f) {
    const std::string& target = plan.animationFiles[f];
    if (target.empty()) continue;
    if (const int status =
            WriteAnimationFile(options, plan, kAnimationOptions[f].format, target, s, env, report);
        status != kExitOk) {
      return status;
    }
  }
  return kExitOk;
}

// How one picture ended, for the summary.
enum class PictureEnd { Done, Unreadable, Failed, Interrupted };

// One picture: its output folder, the picture, the notes, the frames, the page and the files.
PictureEnd RenderPicture(const CliOptions& options, const PicturePlan& plan,
                         const base::Settings& settings, bool gifAllowed, const CliEnvironment& env,
                         PictureReport& report) {
  if (base::IsGifName(plan.source) && !gifAllowed) {
    report.ErrorNamingPicture(plan.source + ": " + kGifRefused);
    return PictureEnd::Unreadable;
  }
  const base::Result<render::Surface> loaded = image::LoadSourcePicture(plan.source);
  if (!loaded.ok()) {
    report.ErrorNamingPicture(loaded.message());
    return PictureEnd::Unreadable;
  }
  const render::Surface& source = loaded.value();
  if (!plan.outputDir.empty()) {
    std::error_code error;
    std::filesystem::create_directories(plan.outputDir, error);
    if (error) {
      report.Error(base::CannotWriteMessage(plan.outputDir, base::SystemErrorText(error.value())));
      return PictureEnd::Failed;
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
      report.Wrote(std::to_string(result.framesDone) + " こまを書き出しました。");
      if (!result.notice.empty()) report.Note(result.notice);
      const int status = WriteExtras(options, plan, result, settings, env, report);
      return status == kExitOk            ? PictureEnd::Done
             : status == kExitInterrupted ? PictureEnd::Interrupted
                                          : PictureEnd::Failed;
    }
    case render::RunStatus::Aborted:
      // Interrupted, even when every frame was written meanwhile: the page and animation
      // files asked for are not.
      report.Error("中断しました。(" + std::to_string(result.framesDone) + " こまを書き出し済み)");
      return PictureEnd::Interrupted;
    case render::RunStatus::WriteFailed:
    case render::RunStatus::Failed:
    case render::RunStatus::BadFrameSize:
    case render::RunStatus::TooLarge:
    case render::RunStatus::NoShape:
      report.Error(result.status.message());
      return PictureEnd::Failed;
  }
  return PictureEnd::Failed;
}

// The one line after several pictures: how many were done, and the first that failed, by name.
std::string Summary(int pictures, int done,
                    const std::vector<std::pair<std::string, PictureEnd>>& failures,
                    bool interrupted) {
  constexpr std::size_t kNamed = 3;
  std::string line = interrupted ? "中断しました。" : "";
  line += std::to_string(pictures) + " 枚のうち " + std::to_string(done) + " 枚を書き出しました。";
  if (failures.empty()) return line;
  line += "失敗 " + std::to_string(failures.size()) + " 枚: ";
  for (std::size_t i = 0; i < failures.size() && i < kNamed; ++i) {
    if (i > 0) line += "、";
    line +=
        failures[i].first +
        (failures[i].second == PictureEnd::Unreadable ? "（開けません）" : "（書き出せません）");
  }
  if (failures.size() > kNamed) line += " ほか " + std::to_string(failures.size() - kNamed) + " 枚";
  return line;
}

// Everything RunCli does, without the guard against errors.
int RunUnguarded(const std::vector<std::string>& args, const CliEnvironment& env, std::ostream& out,
                 std::ostream& err) {
  const ParsedArguments parsed = ParseArguments(args);
  switch (parsed.outcome) {
    case ParseOutcome::Help:
      out << UsageText();
      return kExitOk;
    case ParseOutcome::Version:
      out << VersionText();
      return kExitOk;
    case ParseOutcome::Error:
      err << kProgram << parsed.error << '\n' << kTryHelp;
      return kExitUsage;
    case ParseOutcome::Run:
      break;
  }
  const CliOptions& options = parsed.options;

  const std::filesystem::path folder(env.appFolder);
  const base::Settings settings =
      ApplyOptions(base::ReadSettingsFile(base::SettingsFilePath(folder)).settings, options);

  // Every file of every picture is known, and refused when two would meet, before the first
  // picture is read.
  const BatchPlan plan = PlanBatch(options, settings.FrameCount);
  switch (plan.outcome) {
    case PlanOutcome::Ready:
      break;
    case PlanOutcome::Colliding:
      err << kProgram << plan.message << '\n' << kTryHelp;
      return kExitUsage;
    case PlanOutcome::Refused:
    case PlanOutcome::NoFolder:
      err << kProgram << plan.message << '\n';
      return kExitFailed;
  }

  const bool gifAllowed = base::GifSupportFromMarker(folder);
  const int count = static_cast<int>(plan.pictures.size());
  ProgressLine progress(err, env.progress && !options.quiet && settings.FrameCount > 0, count,
                        settings.FrameCount);
  std::vector<std::pair<std::string, PictureEnd>> failures;
  std::set<render::RunWarning> warned;
  int done = 0;
  bool interrupted = false;
  for (int i = 0; i < count && !interrupted; ++i) {
    const PicturePlan& picture = plan.pictures[static_cast<std::size_t>(i)];
    PictureReport report(out, err, progress, count > 1 ? picture.source : "", options.quiet,
                         warned);
    progress.StartPicture(i);
    PictureEnd end = PictureEnd::Failed;
    // An error in one picture (memory running out while it is read or drawn, say) is that
    // picture's failure with its message; the others go on.
    try {
      end = RenderPicture(options, picture, settings, gifAllowed, env, report);
    } catch (...) {
      report.Error(base::ErrorStatus(std::current_exception()).message());
    }
    if (end == PictureEnd::Done) {
      ++done;
    } else if (end == PictureEnd::Interrupted) {
      interrupted = true;
    } else {
      failures.emplace_back(picture.source, end);
    }
    // Ctrl-C between two pictures ends the call too.
    if (env.control != nullptr && env.control->stop) interrupted = true;
  }
  progress.Clear();
  if (count > 1 && (!options.quiet || done < count)) {
    err << kProgram << Summary(count, done, failures, interrupted) << '\n';
  }
  return interrupted ? kExitInterrupted : failures.empty() ? kExitOk : kExitFailed;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, const CliEnvironment& env, std::ostream& out,
           std::ostream& err) {
  // An error anywhere outside a picture's run is a failure with its message, not the end of the
  // program through an abort.
  try {
    return RunUnguarded(args, env, out, err);
  } catch (...) {
    err << kProgram << base::ErrorStatus(std::current_exception()).message() << '\n';
    return kExitFailed;
  }
}

}  // namespace kinetta::cli
