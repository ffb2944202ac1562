// The language of the program's texts. Japanese is the program's own: every text is written in
// it and shown as written. English comes from a translation file (translations/kinetta_en.qm in
// the program folder), looked up by the Japanese text, and is chosen for every language that has
// no translation of its own.
#pragma once

#include <QString>
#include <QTranslator>
#include <functional>
#include <memory>

namespace kinetta::ui {

enum class Language { Japanese, English };

/// The language from the environment, read through `getenv`: KINETTA_LANG (ja or en) first;
/// otherwise the locale of the messages (LC_ALL, LC_MESSAGES, LANG, the first that is set):
/// Japanese for ja and for C, C.UTF-8 and POSIX (or none), else the first language of LANGUAGE
/// that is Japanese or English, else English.
Language ChooseLanguage(const std::function<const char*(const char*)>& getenv);

/// Installs the texts of `language`: the translation of the program's texts (English), or Qt's
/// own texts of its dialogs in Japanese. The translator stays installed as long as it lives;
/// null when its file is missing (the program's texts then stay Japanese, Qt's English).
std::unique_ptr<QTranslator> InstallLanguage(Language language, const QString& appFolder);

/// The help page in the program folder for the texts installed, without its extension: help,
/// or help-en in English.
QString HelpPageStem();

}  // namespace kinetta::ui
