// The language of the desktop program's texts (base/language.h chooses it): the translation of
// the program's texts installed for the windows and the engine, and Qt's own dialogs in the same
// language.
#pragma once

#include <QString>
#include <QTranslator>
#include <memory>

#include "base/language.h"

namespace kinetta::ui {

using base::Language;

/// Installs the texts of `language`: the translation of the program's texts (English), or Qt's
/// own texts of its dialogs in Japanese. The translator stays installed as long as it lives;
/// null when its file is missing (the program's texts then stay Japanese, Qt's English).
std::unique_ptr<QTranslator> InstallLanguage(Language language, const QString& appFolder);

/// The help page in the program folder for the texts installed, without its extension: help,
/// or help-en in English.
QString HelpPageStem();

}  // namespace kinetta::ui
