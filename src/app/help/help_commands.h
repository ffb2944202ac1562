// The help menu's two commands: the operating instructions help.htm in the user's browser, and
// the version box.
#pragma once

#include <QString>

#include "ui_support/prompter.h"

class QWidget;

namespace kinetta::help {

/// Opens help.htm of `appFolder` in the browser, or says that the page is missing.
void ShowHelpContents(QWidget* parent, ui::Prompter& prompter, const QString& appFolder);

/// Has the desktop open the HTML page `path`; a path without any point gets ".HTM". When the
/// desktop cannot open it, ".HTM" is appended and it is asked once more; when that fails too,
/// a message says that a browser is needed.
void OpenHtmlPage(QWidget* owner, ui::Prompter& prompter, const QString& path);

/// The version box "ﾊﾞｰｼﾞｮﾝ情報", modal.
void ShowAbout(QWidget* parent, ui::Prompter& prompter);

}  // namespace kinetta::help
