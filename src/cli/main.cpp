// kinetta-render: renders the animation frames of one picture or many from the command line.
#include <unistd.h>

#include <QStandardPaths>
#include <QTranslator>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "base/language.h"
#include "base/memory_budget.h"
#include "base/path_helpers.h"
#include "base/text_lookup.h"
#include "cli/cli_run.h"

namespace {
kinetta::render::RunControl g_control;

// The English texts, when English is the language and its file is in the program folder.
const QTranslator* g_english = nullptr;

// Every text the program prints, looked up by its Japanese; a text without a translation is
// printed as it is.
std::string LookUp(std::string_view japanese) {
  const std::string source(japanese);
  const QString english = g_english->translate(kinetta::base::kTextContext, source.c_str());
  return english.isEmpty() ? source : english.toStdString();
}

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
  kinetta::base::KeepFreedBlocksForReuse();
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);

  const std::vector<std::string> args(argv + 1, argv + argc);
  const std::string folder = kinetta::base::AppFolder();
  // Japanese, the program's own language, or English for a user who reads another language, as
  // the desktop program chooses; without its file the texts stay Japanese.
  QTranslator english;
  if (kinetta::base::ChooseLanguage([](const char* name) { return std::getenv(name); }) ==
          kinetta::base::Language::English &&
      english.load(QString::fromUtf8(kinetta::base::kEnglishTranslation),
                   QString::fromStdString(folder))) {
    g_english = &english;
    kinetta::base::SetTextLookup(&LookUp);
  }
  // mivet.ini of a system install lives in the user's configuration folder, as the desktop
  // program keeps it.
  const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  const std::string userFolder = config.isEmpty() ? "" : config.toStdString() + "/kinetta";
  const kinetta::cli::CliEnvironment env{folder, isatty(STDERR_FILENO) != 0, &g_control,
                                         userFolder};
  return kinetta::cli::RunCli(args, env, std::cout, std::cerr);
}
