// What one call of kinetta-render will write for each of its pictures, worked out and checked
// before the first is rendered: two pictures never write the same file, a frame never replaces
// another picture, and the output folders can take the files.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "export/animation_file.h"

namespace kinetta::cli {

struct PicturePlan {
  std::string source;  ///< the picture, as given
  /// The path the frame files, the page and the frame reader are named from: the source itself,
  /// or its file name in the output folder.
  std::string framePath;
  std::string outputDir;  ///< the folder to make before the run; empty without --output
  /// The animation file of each of kAnimationOptions; empty where none was asked for.
  std::array<std::string, kAnimationOptions.size()> animationFiles;
  /// The file of each of the options' stickers, in their order.
  std::vector<std::string> stickerFiles;
};

enum class PlanOutcome {
  Ready,
  Colliding,  ///< the command line asks for one file twice: a usage error (Cause::BadArgument)
  Refused,    ///< an animation file over a picture or a frame: nothing is written
  NoFolder,   ///< an output folder that cannot be made or written in
};

struct BatchPlan {
  PlanOutcome outcome = PlanOutcome::Ready;
  /// Ok when Ready; else the cause and why (one line).
  base::Status status;
  std::vector<PicturePlan> pictures;
};

/// The files of every picture in `options.sources` for runs of `frameCount` frames (the frame
/// after the last included, which a run puts away), and whether they may all be written.
BatchPlan PlanBatch(const CliOptions& options, int frameCount);

/// Whether files can be made in `folder`, or in the nearest folder above it that exists when it
/// is still to be made; if not, the cause and the message naming the folder and the reason.
base::Status CheckOutputFolder(const std::string& folder);

}  // namespace kinetta::cli
