// Numbers as the program writes and reads them: a leading blank for zero and positive values,
// the leading number of a typed text, and rounding into a 16-bit setting.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kinetta::base {

/// Decimal text with one blank in the sign position for zero and positive values: " 100", "-1".
std::string NumberText(long long value);

enum class Blanks {
  Leading,   ///< only blanks before the number are skipped
  Anywhere,  ///< blanks, tabs and line feeds are ignored wherever they stand
};

/// The longest decimal number at the start of `text` (sign, digits, optional fraction and
/// exponent); text that starts with no number gives 0.
double LeadingNumber(std::string_view text, Blanks blanks);

/// The whole text as one decimal number (blanks around it allowed), or nothing when any other
/// character stands in it.
std::optional<double> WholeNumber(std::string_view text);

/// `value` brought to the nearest integer (halves to even) when that fits 16 bits.
std::optional<int> ToInt16(double value);

/// The same for a 32-bit value.
std::optional<std::int32_t> ToInt32(double value);

}  // namespace kinetta::base
