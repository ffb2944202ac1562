// The help page command and the opening of an HTML page through the desktop.
#include "app/help/help_commands.h"

#include <QFileInfo>

#include "app/help/about_box.h"
#include "base/path_helpers.h"
#include "ui_support/form_metrics.h"
#include "ui_support/language.h"
#include "ui_support/ui_messages.h"

namespace kinetta::help {

namespace {

const QString kSep = QString(QChar(base::kSeparator));

// On a case-sensitive file system "help.HTM" and "help.htm" are different files: when the
// page asked for with the upper-case extension is missing, the one that exists is opened.
QString ExistingPage(const QString& target) {
  if (!QFileInfo::exists(target) && target.endsWith(QStringLiteral(".HTM"))) {
    const QString lower = target.chopped(4) + QStringLiteral(".htm");
    if (QFileInfo::exists(lower)) return lower;
  }
  return target;
}

// The desktop hands a file to a program without looking at it first, so it does not report a
// missing file as a failure; a page that does not exist counts as one here.
bool AskDesktop(ui::Prompter& prompter, const QString& target) {
  const QString page = ExistingPage(target);
  return QFileInfo::exists(page) && prompter.OpenLocalFile(page);
}

}  // namespace

void OpenHtmlPage(QWidget* owner, ui::Prompter& prompter, const QString& path) {
  const bool hasPoint = base::InStrNth(path.toStdString(), ".", 1) != -1;
  const QString target = hasPoint ? path : path + QStringLiteral(".HTM");
  if (AskDesktop(prompter, target)) return;
  if (AskDesktop(prompter, path + QStringLiteral(".HTM"))) return;
  prompter.Warn(owner, ui::Utf8(ui::kBrowserNeeded));
}

void ShowHelpContents(QWidget* parent, ui::Prompter& prompter, const QString& appFolder) {
  // The page in the program's language: help.htm, or help-en.htm in English.
  const QString stem = appFolder + kSep + ui::HelpPageStem();
  const QString page = stem + QStringLiteral(".htm");
  if (QFileInfo::exists(page)) {
    OpenHtmlPage(parent, prompter, stem);  // the stem: OpenHtmlPage adds the extension
  } else {
    prompter.Warn(parent, page + ui::Utf8(ui::kHelpPageMissing));
  }
}

void ShowAbout(QWidget* parent, ui::Prompter& prompter) {
  AboutBox box(prompter, FindOnPath, parent);
  box.exec();
}

}  // namespace kinetta::help
