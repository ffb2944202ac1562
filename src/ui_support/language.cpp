#include "ui_support/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <string>
#include <string_view>

#include "base/text_lookup.h"
#include "ui_support/form_metrics.h"

namespace kinetta::ui {

namespace {

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

// The C locale and its kin: the program's own language.
bool IsPlainLocale(std::string_view locale) {
  return locale == "C" || locale == "POSIX" || StartsWith(locale, "C.");
}

// The engine's sentences looked up in the same translation as the windows' texts.
std::string LookUp(std::string_view japanese) {
  const std::string source(japanese);
  return QCoreApplication::translate(kTextContext, source.c_str()).toStdString();
}

}  // namespace

Language ChooseLanguage(const std::function<const char*(const char*)>& getenv) {
  const auto value = [&](const char* name) {
    const char* v = getenv(name);
    return std::string_view(v ? v : "");
  };
  if (value("KINETTA_LANG") == "ja") return Language::Japanese;
  if (value("KINETTA_LANG") == "en") return Language::English;
  std::string_view locale;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (!value(name).empty()) {
      locale = value(name);
      break;
    }
  }
  if (locale.empty() || IsPlainLocale(locale)) return Language::Japanese;
  // LANGUAGE lists languages by preference (ja:en, fr:ja); the first we speak wins.
  std::string_view list = value("LANGUAGE");
  while (!list.empty()) {
    const std::size_t colon = list.find(':');
    const std::string_view entry = list.substr(0, colon);
    if (StartsWith(entry, "ja")) return Language::Japanese;
    if (StartsWith(entry, "en")) return Language::English;
    list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
  }
  return StartsWith(locale, "ja") ? Language::Japanese : Language::English;
}

std::unique_ptr<QTranslator> InstallLanguage(Language language, const QString& appFolder) {
  // Qt's dialogs (file chooser, colour chooser, the buttons of a message box) speak the
  // program's language: Japanese from Qt's translations, English as Qt is written.
  auto translator = std::make_unique<QTranslator>();
  const bool loaded = language == Language::Japanese
                          ? translator->load(QStringLiteral("qtbase_ja"),
                                             QLibraryInfo::path(QLibraryInfo::TranslationsPath))
                          : translator->load(QStringLiteral("kinetta_en"),
                                             appFolder + QStringLiteral("/translations"));
  if (!loaded) return nullptr;
  QCoreApplication::installTranslator(translator.get());
  base::SetTextLookup(&LookUp);
  return translator;
}

QString HelpPageStem() {
  // The page's name is a text of the program like any other: the translation names its page.
  return QCoreApplication::translate(kTextContext, "help");
}

}  // namespace kinetta::ui
