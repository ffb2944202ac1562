#include "base/text_lookup.h"

#include <atomic>

namespace kinetta::base {

namespace {
std::atomic<TextLookup> g_lookup{nullptr};
}  // namespace

void SetTextLookup(TextLookup lookup) { g_lookup.store(lookup); }

std::string Text(std::string_view japanese) {
  const TextLookup lookup = g_lookup.load();
  return lookup ? lookup(japanese) : std::string(japanese);
}

std::string Fill(std::string_view text, std::initializer_list<std::string_view> arguments) {
  std::string filled;
  filled.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t n = i + 1 < text.size() ? static_cast<std::size_t>(text[i + 1] - '1') : 9;
    if (text[i] == '%' && n < arguments.size()) {
      filled += arguments.begin()[n];
      ++i;
    } else {
      filled += text[i];
    }
  }
  return filled;
}

}  // namespace kinetta::base
