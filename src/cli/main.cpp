// kinetta-render: renders the animation frames of one picture or many from the command line.
#include <unistd.h>

#include <QStandardPaths>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "base/path_helpers.h"
#include "cli/cli_run.h"

namespace {
kinetta::render::RunControl g_control;

// Ctrl-C ends the program: every motion stops before its next frame, even the cut-out, which
// never stops for the abort button alone; the frames saved so far stay, and so do the pictures
// finished before. The abort flag also
// stops an animation file between two frames.
void OnInterrupt(int) {
  g_control.stop = true;
  g_control.abort = true;
}
}  // namespace

int main(int argc, char** argv) {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);

  const std::vector<std::string> args(argv + 1, argv + argc);
  // mivet.ini of a system install lives in the user's configuration folder, as the desktop
  // program keeps it.
  const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  const std::string userFolder = config.isEmpty() ? "" : config.toStdString() + "/kinetta";
  const kinetta::cli::CliEnvironment env{kinetta::base::AppFolder(), isatty(STDERR_FILENO) != 0,
                                         &g_control, userFolder};
  return kinetta::cli::RunCli(args, env, std::cout, std::cerr);
}
