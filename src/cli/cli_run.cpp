// kinetta-render: reads the options and mivet.ini, loads the picture, reports the warnings as
// notes, renders the frames with a progress line and maps the outcome to an exit status.
#include "cli/cli_run.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <ostream>

#include "base/gif_rule.h"
#include "base/messages.h"
#include "base/settings_file.h"
#include "cli/cli_options.h"
#include "export/animation_file.h"
#include "export/html_page.h"
#include "image/conversion.h"
#include "image/frame_files.h"
#include "image/source_loading.h"

namespace kinetta::cli {

namespace {

constexpr const char* kGifRefused = "この画像形式には対応していません。";

std::uint64_t ClockSeed() {
  return static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

// "12/40 こま  残り 3 秒" on one terminal line, redrawn after every frame.
class ProgressLine {
 public:
  ProgressLine(std::ostream& err, int total, bool enabled)
      : err_(err), total_(total), enabled_(enabled), start_(Clock::now()) {}
  void Update(int done) {
    if (!enabled_) return;
    const double elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
    const double left = done > 0 ? elapsed / done * (total_ - done) : 0;
    char line[96];
    std::snprintf(line, sizeof line, "\r%d/%d こま  残り %.0f 秒   ", done, total_, left);
    err_ << line << std::flush;
  }
  // Also when the run broke off with an error, so that its message starts on a line of its own.
  ~ProgressLine() { Finish(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;
  void Finish() {
    if (enabled_) err_ << '\n';
    enabled_ = false;
  }

 private:
  using Clock = std::chrono::steady_clock;
  std::ostream& err_;
  int total_;
  bool enabled_;
  Clock::time_point start_;
};

// --html: the page and the viewer files beside the frames.
int WriteHtml(const CliOptions& options, const render::RunResult& run, const base::Settings& s,
              const CliEnvironment& env, std::ostream& out, std::ostream& err) {
  exporter::ExportRequest request;
  request.sourcePath = options.source;
  request.appFolder = env.appFolder;
  request.frameCount = s.FrameCount;
  request.canvasWidth = run.frameWidth;
  request.canvasHeight = run.frameHeight;
  request.frameTimeMs = *options.htmlMs;
  const exporter::ExportResult result = exporter::ExportPage(request);
  if (!result.ok) {
    std::string message = result.message;
    for (char& c : message) {
      if (c == '\n') c = ' ';
    }
    err << "kinetta-render: " << message << '\n';
    return kExitFailed;
  }
  if (!result.viewerFailures.empty()) {
    // The page is there but cannot show the frames without its viewer files.
    err << "kinetta-render: " << result.pagePath.string()
        << " は書き出しましたが、表示に要るファイルをコピーできなかったため動きません: "
        << result.viewerFailures << '\n';
    return kExitFailed;
  }
  out << result.pagePath.string() << " を書き出しました。\n";
  return kExitOk;
}

// --gif / --webp / --mp4 / --apng: the frame files just written, read back as the desktop program reads them,
// as one animation file. The progress line shows the frames read, then the frames encoded.
int WriteAnimationFile(const CliOptions& options, exporter::AnimationFormat format,
                       const std::string& target, const base::Settings& s,
                       const CliEnvironment& env, std::ostream& out, std::ostream& err) {
  constexpr const char* kNames[] = {"GIF", "WebP", "MP4", "APNG"};
  const char* name = kNames[static_cast<int>(format)];
  exporter::AnimationRequest request;
  request.format = format;
  request.background = s.BackColor;  // the run just made the frames on it
  request.delay = options.delay;
  request.target = target;
  request.abort = env.control != nullptr ? &env.control->abort : nullptr;
  if (options.maxMemoryMiB) request.memoryBudget = *options.maxMemoryMiB << 20;
  if (env.progress) {
    request.progress = [&err, name](int done, int total) {
      char line[96];
      if (total == 0) {
        std::snprintf(line, sizeof line, "\r%s: %d こま読み込み   ", name, done);
      } else {
        std::snprintf(line, sizeof line, "\r%s: %d/%d こま        ", name, done, total);
      }
      err << line << std::flush;
    };
  }
  const exporter::AnimationResult result =
      exporter::WriteAnimation(image::FrameFileReader(options.source), request);
  if (env.progress) err << '\n';
  switch (result.status) {
    case exporter::AnimationStatus::Written:
      out << target << " を書き出しました。(" << result.frames << " こま)\n";
      return kExitOk;
    case exporter::AnimationStatus::Aborted:
      err << "kinetta-render: " << target << ": 中断しました。\n";
      return kExitInterrupted;
    case exporter::AnimationStatus::NoFrames:
    case exporter::AnimationStatus::Failed:
      break;
  }
  std::string message = result.message;
  for (char& c : message) {
    if (c == '\n') c = ' ';
  }
  err << "kinetta-render: " << message << '\n';
  return kExitFailed;
}

// What follows a completed run: the page and the animation files that were asked for, in that
// order; the first that fails ends it.
int WriteExtras(const CliOptions& options, const render::RunResult& run,
                const base::Settings& s, const CliEnvironment& env, std::ostream& out,
                std::ostream& err) {
  if (options.htmlMs) {
    if (const int status = WriteHtml(options, run, s, env, out, err); status != kExitOk) {
      return status;
    }
  }
  const std::pair<exporter::AnimationFormat, const std::string*> files[] = {
      {exporter::AnimationFormat::Gif, &options.gifPath},
      {exporter::AnimationFormat::WebP, &options.webpPath},
      {exporter::AnimationFormat::Mp4, &options.mp4Path},
      {exporter::AnimationFormat::Apng, &options.apngPath},
  };
  for (const auto& [format, path] : files) {
    if (path->empty()) continue;
    if (const int status = WriteAnimationFile(options, format, *path, s, env, out, err);
        status != kExitOk) {
      return status;
    }
  }
  return kExitOk;
}

// Everything RunCli does, without the guard against errors.
int RunUnguarded(const std::vector<std::string>& args, const CliEnvironment& env, std::ostream& out,
                 std::ostream& err) {
  const ParsedArguments parsed = ParseArguments(args);
  switch (parsed.outcome) {
    case ParseOutcome::Help:
      out << UsageText();
      return kExitOk;
    case ParseOutcome::Error:
      err << "kinetta-render: " << parsed.error << "\n\n" << UsageText();
      return kExitUsage;
    case ParseOutcome::Run:
      break;
  }
  const CliOptions& options = parsed.options;

  const std::filesystem::path folder(env.appFolder);
  const base::Settings settings =
      ApplyOptions(base::ReadSettingsFile(folder / "mivet.ini").settings, options);

  if (base::IsGifName(options.source) && !base::GifSupportFromMarker(folder)) {
    err << "kinetta-render: " << options.source << ": " << kGifRefused << '\n';
    return kExitFailed;
  }
  // An animation file may replace neither the source nor a frame: refused before any is written.
  for (const std::string* target : {&options.gifPath, &options.webpPath}) {
    if (target->empty()) continue;
    if (const base::Status fits = exporter::CheckAnimationTarget(*target, options.source);
        !fits.ok()) {
      err << "kinetta-render: " << fits.message() << '\n';
      return kExitFailed;
    }
  }
  const base::Result<render::Surface> loaded = image::LoadSourcePicture(options.source);
  if (!loaded.ok()) {
    err << "kinetta-render: " << loaded.message() << '\n';
    return kExitFailed;
  }
  const render::Surface& source = loaded.value();

  for (render::RunWarning w :
       render::CheckRunWarnings(settings, source.width(), source.height())) {
    err << "注意: " << render::WarningText(w) << '\n';
  }

  render::RenderOptions ro;
  ro.seed = options.seed ? *options.seed : ClockSeed();
  ro.control = env.control;
  if (options.maxMemoryMiB) ro.memoryBudget = *options.maxMemoryMiB << 20;
  ProgressLine progress(err, settings.FrameCount, env.progress && settings.FrameCount > 0);
  progress.Update(0);
  const render::RunResult result = image::RunConversion(
      source, options.source, settings, ro,
      [&](int k, const render::Surface&, const std::string&) { progress.Update(k + 1); });
  progress.Finish();

  switch (result.status) {
    case render::RunStatus::Completed:
      out << result.framesDone << " こまを書き出しました。\n";
      if (!result.notice.empty()) err << "注意: " << result.notice << '\n';
      return WriteExtras(options, result, settings, env, out, err);
    case render::RunStatus::Aborted:
      // Interrupted, even when every frame was written meanwhile: the page and animation
      // files asked for are not.
      err << "kinetta-render: 中断しました。(" << result.framesDone << " こまを書き出し済み)\n";
      return kExitInterrupted;
    case render::RunStatus::WriteFailed:
    case render::RunStatus::Failed:
    case render::RunStatus::BadFrameSize:
    case render::RunStatus::TooLarge:
    case render::RunStatus::NoShape:
      err << "kinetta-render: " << result.message << '\n';
      return kExitFailed;
  }
  return kExitFailed;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, const CliEnvironment& env, std::ostream& out,
           std::ostream& err) {
  // An error anywhere (memory running out while the picture is read or the frames are drawn,
  // say) is a failure with its message, not the end of the program through an abort.
  try {
    return RunUnguarded(args, env, out, err);
  } catch (...) {
    err << "kinetta-render: " << base::ErrorMessage(std::current_exception()) << '\n';
    return kExitFailed;
  }
}

}  // namespace kinetta::cli
