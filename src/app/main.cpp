// The start procedure of the desktop program: the GIF marker, the main window, a picture named on
// the command line, the event loop.
#include <QApplication>
#include <QSettings>
#include <QTimer>
#include <cstdlib>

#include "app/main_window.h"
#include "base/gif_rule.h"
#include "base/memory_budget.h"
#include "base/path_helpers.h"
#include "base/version.h"
#include "ui_support/language.h"
#include "ui_support/prompter.h"

int main(int argc, char** argv) {
  kinetta::base::KeepFreedBlocksForReuse();
  QApplication app(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Kinetta"));
  QCoreApplication::setApplicationName(QStringLiteral("Kinetta"));
  QCoreApplication::setApplicationVersion(QStringLiteral(KINETTA_VERSION));
  const std::string folder = kinetta::base::AppFolder();
  // Japanese, the program's own language, or English for a user who reads another language;
  // Qt's own dialogs (file chooser, colour chooser, overwrite question) speak the same.
  const auto texts = kinetta::ui::InstallLanguage(
      kinetta::base::ChooseLanguage([](const char* name) { return std::getenv(name); }),
      QString::fromStdString(folder));

  kinetta::ui::DesktopPrompter prompter;
  QSettings placement;  // the per-user store: organization and application "Kinetta"
  kinetta::app::MainWindow window({QString::fromStdString(folder), &prompter, &placement,
                                   kinetta::base::GifSupportFromMarker(folder),
                                   kinetta::app::UserSettingsFolder()});
  // Unloading the main window ends the program, whatever dialogs are still open.
  QObject::connect(&window, &kinetta::app::MainWindow::unloaded, &app, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  window.show();
  // `kinetta PICTURE` (as a file manager's "Open with" starts it) opens that picture once the
  // window is up, the way the open command does.
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() > 1) {
    QTimer::singleShot(0, &window,
                       [&window, picture = arguments.at(1)] { window.OpenPicture(picture); });
  }
  return app.exec();
}
