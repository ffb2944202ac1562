#include "base/language.h"

#include <string_view>

namespace kinetta::base {

namespace {

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

// The C locale and its kin: the program's own language.
bool IsPlainLocale(std::string_view locale) {
  return locale == "C" || locale == "POSIX" || StartsWith(locale, "C.");
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

}  // namespace kinetta::base
