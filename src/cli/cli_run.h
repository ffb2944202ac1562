// kinetta-render's run: options over mivet.ini, the picture, the notes, the frames, the exit
// status.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "render/run.h"

namespace kinetta::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInterrupted = 130;

/// The exit status of a call that ended with `end`, chosen here alone: kExitOk when it is ok,
/// kExitInterrupted for Cause::Aborted (Ctrl-C), kExitUsage for Cause::BadArgument (a mistake on
/// the command line), kExitFailed for any other cause (a picture unreadable, a file not written).
int ExitStatusOf(const base::Status& end);

struct CliEnvironment {
  std::string appFolder;        ///< where mivet.ini and gifsw are looked for
  bool progress = false;        ///< draw the progress line (standard error is a terminal)
  render::RunControl* control;  ///< Ctrl-C sets stop and abort here
  std::string userFolder = {};  ///< the user's configuration folder for Kinetta (mivet.ini)
};

/// Runs kinetta-render with `args` (without the program name); returns the exit status.
int RunCli(const std::vector<std::string>& args, const CliEnvironment& env, std::ostream& out,
           std::ostream& err);

}  // namespace kinetta::cli
