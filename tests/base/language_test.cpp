// Which language the environment chooses.
#include "base/language.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace kinetta::base {
namespace {

TEST(ChooseLanguage, OverrideThenLocaleThenLanguageList) {
  using Env = std::map<std::string, std::string>;
  const Language ja = Language::Japanese, en = Language::English;
  const struct {
    Env env;
    Language expected;
  } rows[] = {
      {{}, ja},
      {{{"LANG", "C"}}, ja},
      {{{"LANG", "C.UTF-8"}}, ja},
      {{{"LANG", "POSIX"}}, ja},
      {{{"LANG", "ja_JP.UTF-8"}}, ja},
      {{{"LANG", "en_US.UTF-8"}}, en},
      {{{"LANG", "de_DE.UTF-8"}}, en},  // no German of its own: English
      {{{"LANG", "ja_JP.UTF-8"}, {"LC_ALL", "fr_FR.UTF-8"}}, en},
      {{{"LANG", "en_GB.UTF-8"}, {"LC_MESSAGES", "ja_JP.UTF-8"}}, ja},
      {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "fr:ja:en"}}, ja},
      {{{"LANG", "C.UTF-8"}, {"LANGUAGE", "en"}}, ja},  // the C locale ignores the list
      {{{"LANG", "ja_JP.UTF-8"}, {"KINETTA_LANG", "en"}}, en},
      {{{"LANG", "en_US.UTF-8"}, {"KINETTA_LANG", "ja"}}, ja},
      {{{"LANG", "en_US.UTF-8"}, {"KINETTA_LANG", "xx"}}, en},
  };
  for (const auto& row : rows) {
    const Language got = ChooseLanguage([&](const char* name) -> const char* {
      const auto it = row.env.find(name);
      return it == row.env.end() ? nullptr : it->second.c_str();
    });
    std::string described;
    for (const auto& [name, value] : row.env) described += name + "=" + value + " ";
    EXPECT_EQ(got, row.expected) << described;
  }
}

}  // namespace
}  // namespace kinetta::base
