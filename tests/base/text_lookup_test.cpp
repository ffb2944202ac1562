// Templates filled with their arguments, and the lookup the desktop program sets.
#include "base/text_lookup.h"

#include <gtest/gtest.h>

#include "base/messages.h"

namespace kinetta::base {
namespace {

TEST(Fill, PutsEachArgumentInItsPlaceOnce) {
  const struct {
    std::string_view text;
    std::initializer_list<std::string_view> arguments;
    std::string_view filled;
  } rows[] = {
      {"%1 を開く", {"/a b.jpg"}, "/a b.jpg を開く"},
      {"%2 x %1", {"3", "4"}, "4 x 3"},
      {"%1", {"%2"}, "%2"},               // an argument's text is not read again
      {"100% %3 %", {"a"}, "100% %3 %"},  // no such argument: the text stays
  };
  for (const auto& row : rows) EXPECT_EQ(Fill(row.text, row.arguments), row.filled) << row.text;
}

TEST(TextLookup, TranslatesTheTemplateBeforeItIsFilled) {
  EXPECT_EQ(CannotOpenMessage("/p.jpg", "理由"), "/p.jpgが開けません。\n（理由）");
  SetTextLookup([](std::string_view japanese) {
    return std::string(japanese == "%1が開けません。" ? "%1 cannot be opened." : japanese);
  });
  EXPECT_EQ(CannotOpenMessage("/p.jpg"), "/p.jpg cannot be opened.");
  SetTextLookup(nullptr);
  EXPECT_EQ(CannotOpenMessage("/p.jpg"), "/p.jpgが開けません。");
}

}  // namespace
}  // namespace kinetta::base
