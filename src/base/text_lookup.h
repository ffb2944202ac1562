// The engine's sentences in the user's language, without the engine knowing how. Every sentence
// is written in Japanese, the program's own language; a sentence built with a path or a number is
// written as one template with %1, %2 ... where they go, so that a translation can put them
// where its own language wants them. The layer that shows the sentences (the desktop program)
// sets the lookup once at start; until then, and for a text without a translation, a text is
// its own.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace kinetta::base {

/// Gives the translation of a Japanese text, or the text itself.
using TextLookup = std::string (*)(std::string_view japanese);

/// Sets the lookup for every thread; null puts back the Japanese.
void SetTextLookup(TextLookup lookup);

/// `japanese` in the user's language.
std::string Text(std::string_view japanese);

/// `text` with each %1 ... %9 replaced by that argument (the arguments' own text is not read
/// again); a % before any other character stays as it is.
std::string Fill(std::string_view text, std::initializer_list<std::string_view> arguments);

}  // namespace kinetta::base
