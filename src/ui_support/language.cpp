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

// The engine's sentences looked up in the same translation as the windows' texts.
std::string LookUp(std::string_view japanese) {
  const std::string source(japanese);
  return QCoreApplication::translate(kTextContext, source.c_str()).toStdString();
}

}  // namespace

std::unique_ptr<QTranslator> InstallLanguage(Language language, const QString& appFolder) {
  // Qt's dialogs (file chooser, colour chooser, the buttons of a message box) speak the
  // program's language: Japanese from Qt's translations, English as Qt is written.
  auto translator = std::make_unique<QTranslator>();
  const bool loaded =
      language == Language::Japanese
          ? translator->load(QStringLiteral("qtbase_ja"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath))
          : translator->load(QString::fromUtf8(base::kEnglishTranslation), appFolder);
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
