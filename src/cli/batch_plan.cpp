// Working out each picture's files before a call renders anything, and the checks that keep the
// pictures of one call from writing each other's files.
#include "cli/batch_plan.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <unordered_map>

#include "base/messages.h"
#include "base/path_helpers.h"
#include "base/text_lookup.h"
#include "cli/cli_messages.h"
#include "export/html_page.h"

namespace kinetta::cli {

namespace {

namespace fs = std::filesystem;

// The spelling by which two paths are compared: absolute, with links and dots resolved as far as
// the path exists.
std::string Canonical(const fs::path& path) {
  std::error_code error;
  const fs::path absolute = fs::absolute(path.empty() ? fs::path(".") : path, error);
  const fs::path resolved = fs::weakly_canonical(absolute, error);
  return (error ? absolute.lexically_normal() : resolved).string();
}

std::string FolderOf(const std::string& path) { return Canonical(fs::path(path).parent_path()); }

PicturePlan PlanPicture(const CliOptions& o, const std::string& source) {
  PicturePlan p;
  p.source = source;
  p.framePath = source;
  const std::string stem = base::FrameFileStem(source);
  if (!o.outputDir.empty()) {
    p.outputDir = ExpandPlaceholder(o.outputDir, stem);
    p.framePath = (fs::path(p.outputDir) / fs::path(source).filename()).string();
  }
  const auto fileOf = [&](const std::string& pattern) {
    std::string file = ExpandPlaceholder(pattern, stem);
    // A file named without a folder goes with the frames.
    if (!p.outputDir.empty() && file.find(base::kSeparator) == std::string::npos) {
      file = (fs::path(p.outputDir) / file).string();
    }
    return file;
  };
  for (std::size_t f = 0; f < kAnimationOptions.size(); ++f) {
    const std::string& pattern = o.*kAnimationOptions[f].file;
    if (!pattern.empty()) p.animationFiles[f] = fileOf(pattern);
  }
  for (const StickerCheckRequest& sticker : o.stickers)
    p.stickerFiles.push_back(fileOf(sticker.file));
  return p;
}

BatchPlan Stop(BatchPlan plan, PlanOutcome outcome, base::Status why) {
  plan.outcome = outcome;
  plan.status = std::move(why);
  return plan;
}

// One file asked for twice by the command line: a usage error.
base::Status Twice(const std::string& message) {
  return base::Status::Failed(base::Cause::BadArgument, message);
}

// Two pictures whose frame files meet: the same folder and name, or, in one folder, a name that
// is the other's followed by a number (cat and cat1 meet at cat100.bmp once a run reaches frame
// 100, the file after the last frame counted, which the run puts away). A picture's frames may
// not replace another picture either (cat00.bmp among the pictures with cat.bmp).
base::Status FrameCollision(const std::vector<PicturePlan>& pictures, int frameCount) {
  if (frameCount <= 0) return base::Status::Ok();  // a run without frames writes none
  std::unordered_map<std::string, std::size_t> byName;
  std::vector<std::string> folders;
  for (std::size_t j = 0; j < pictures.size(); ++j) {
    folders.push_back(FolderOf(pictures[j].framePath));
    const auto [it, fresh] =
        byName.emplace(folders[j] + '/' + base::FrameFileStem(pictures[j].framePath), j);
    if (!fresh) {
      return Twice(SameFrameFilesMessage(pictures[it->second].source, pictures[j].source,
                                         base::FrameFileName(pictures[j].framePath, 0)));
    }
  }
  for (std::size_t j = 0; j < pictures.size(); ++j) {
    const std::string stem = base::FrameFileStem(pictures[j].framePath);
    for (std::size_t digits = 1; digits <= 3 && digits <= stem.size(); ++digits) {
      const std::string number = stem.substr(stem.size() - digits);
      if (number.find_first_not_of("0123456789") != std::string::npos) break;
      if (number[0] == '0' || std::stoi(number) * 100 > frameCount) continue;
      const auto it = byName.find(folders[j] + '/' + stem.substr(0, stem.size() - digits));
      if (it != byName.end()) {
        return Twice(SameFrameFileMessage(pictures[it->second].source, pictures[j].source,
                                          base::FrameFileName(pictures[j].framePath, 0)));
      }
    }
  }
  for (std::size_t j = 0; j < pictures.size(); ++j) {
    const std::string name = fs::path(pictures[j].source).filename().string();
    const std::string folder = FolderOf(pictures[j].source);
    for (std::size_t digits = 2; digits <= 5 && digits + 4 <= name.size(); ++digits) {
      const std::string stem = name.substr(0, name.size() - 4 - digits);
      const int k = base::FrameNumberOf(name, stem);
      if (k < 0 || k > frameCount) continue;
      const auto it = byName.find(folder + '/' + stem);
      if (it != byName.end() && it->second != j) {
        return Twice(FramesReplacePictureMessage(pictures[it->second].source, pictures[j].source));
      }
    }
  }
  return base::Status::Ok();
}

// The page and the animation files: each written once, none over a picture or a frame.
BatchPlan CheckFiles(BatchPlan plan, const CliOptions& o) {
  const std::vector<PicturePlan>& pictures = plan.pictures;
  std::unordered_map<std::string, std::size_t> sources;
  for (std::size_t j = 0; j < pictures.size(); ++j)
    sources.emplace(Canonical(pictures[j].source), j);
  std::unordered_map<std::string, std::size_t> written;
  auto twice = [&](std::size_t j, const std::string& file, std::string_view hint) {
    const auto [it, fresh] = written.emplace(Canonical(file), j);
    if (fresh) return base::Status::Ok();
    return Twice(BothWriteMessage(pictures[it->second].source, pictures[j].source, file, hint));
  };
  const bool folderPerPicture = HasPlaceholder(o.outputDir);
  for (std::size_t j = 0; j < pictures.size(); ++j) {
    const PicturePlan& p = pictures[j];
    if (o.htmlMs) {
      const std::string page =
          (fs::path(p.framePath).parent_path() / exporter::kPageFileName).string();
      if (base::Status why = twice(j, page, base::Text(kOwnFolderHint)); !why.ok()) {
        return Stop(std::move(plan), PlanOutcome::Colliding, std::move(why));
      }
    }
    // The animation files, then the stickers: each with its option and the pattern it came
    // from.
    std::vector<std::array<std::string, 3>> files;
    for (std::size_t f = 0; f < kAnimationOptions.size(); ++f) {
      if (p.animationFiles[f].empty()) continue;
      files.push_back({p.animationFiles[f], std::string(kAnimationOptions[f].name),
                       o.*kAnimationOptions[f].file});
    }
    for (std::size_t f = 0; f < p.stickerFiles.size(); ++f) {
      files.push_back({p.stickerFiles[f], "--sticker " + std::string(o.stickers[f].target->name),
                       o.stickers[f].file});
    }
    for (const auto& [file, option, pattern] : files) {
      const std::string hint = HasPlaceholder(pattern) || folderPerPicture
                                   ? std::string()
                                   : PlaceholderHint(option, fs::path(file).extension().string());
      if (base::Status why = twice(j, file, hint); !why.ok()) {
        return Stop(std::move(plan), PlanOutcome::Colliding, std::move(why));
      }
      // Over this picture, its frames (beside it or in the output folder), or another picture.
      std::vector<const std::string*> over = {&p.source};
      if (p.framePath != p.source && Canonical(file) != Canonical(p.framePath)) {
        over.push_back(&p.framePath);
      }
      if (const auto other = sources.find(Canonical(file)); other != sources.end()) {
        over.push_back(&pictures[other->second].source);
      }
      for (const std::string* path : over) {
        if (base::Status fits = exporter::CheckAnimationTarget(file, *path); !fits.ok()) {
          return Stop(std::move(plan), PlanOutcome::Refused, std::move(fits));
        }
      }
    }
  }
  return plan;
}

}  // namespace

base::Status CheckOutputFolder(const std::string& folder) {
  fs::path probe = folder;
  while (true) {
    std::error_code error;
    const fs::file_status status = fs::status(probe, error);
    if (fs::exists(status)) {
      if (!fs::is_directory(status)) {
        return base::CannotWrite(probe.string(), base::SystemFailure(ENOTDIR));
      }
      if (::access(probe.c_str(), W_OK | X_OK) != 0) {
        return base::CannotWrite(folder, base::SystemFailure(errno));
      }
      return base::Status::Ok();
    }
    // Still to be made: the folder above must take it.
    fs::path above = probe.parent_path();
    if (above.empty()) above = ".";
    if (above == probe) return base::CannotWrite(folder, base::SystemFailure(ENOENT));
    probe = above;
  }
}

BatchPlan PlanBatch(const CliOptions& options, int frameCount) {
  BatchPlan plan;
  for (const std::string& source : options.sources) {
    plan.pictures.push_back(PlanPicture(options, source));
  }
  if (base::Status why = FrameCollision(plan.pictures, frameCount); !why.ok()) {
    return Stop(std::move(plan), PlanOutcome::Colliding, std::move(why));
  }
  plan = CheckFiles(std::move(plan), options);
  if (plan.outcome != PlanOutcome::Ready) return plan;
  std::string checked;  // the folder last checked: most calls have one for every picture
  for (const PicturePlan& p : plan.pictures) {
    if (p.outputDir.empty() || p.outputDir == checked) continue;
    if (base::Status why = CheckOutputFolder(p.outputDir); !why.ok()) {
      return Stop(std::move(plan), PlanOutcome::NoFolder, std::move(why));
    }
    checked = p.outputDir;
  }
  return plan;
}

}  // namespace kinetta::cli
