// Which language the program speaks. Japanese is the program's own: every text is written in it
// and shown as written. English comes from a translation file (translations/kinetta_en.qm in the
// program folder), looked up by the Japanese text in the context kTextContext, and is chosen for
// every language that has no translation of its own. Both programs choose the same way.
#pragma once

#include <functional>

namespace kinetta::base {

enum class Language { Japanese, English };

/// The translation context of every text of the program.
inline constexpr char kTextContext[] = "Kinetta";

/// The translation file's name in the program folder, without its extension.
inline constexpr char kEnglishTranslation[] = "translations/kinetta_en";

/// The language from the environment, read through `getenv`: KINETTA_LANG (ja or en) first;
/// otherwise the locale of the messages (LC_ALL, LC_MESSAGES, LANG, the first that is set):
/// Japanese for ja and for C, C.UTF-8 and POSIX (or none), else the first language of LANGUAGE
/// that is Japanese or English, else English.
Language ChooseLanguage(const std::function<const char*(const char*)>& getenv);

}  // namespace kinetta::base
