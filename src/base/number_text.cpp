// Number text: writing with the sign blank, reading the leading number, 16-bit rounding.
#include "base/number_text.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace kinetta::base {

std::string NumberText(long long value) {
  std::string text = std::to_string(value);
  if (value >= 0) text.insert(text.begin(), ' ');
  return text;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Scans the number at the start of `s`; returns its length (0 when there is none).
std::size_t ScanNumber(const std::string& s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) {
    ++i;
    ++digits;
  }
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) {
      ++i;
      ++digits;
    }
  }
  if (digits == 0) return 0;
  // An exponent counts only when digits follow it.
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) ++j;
      i = j;
    }
  }
  return i;
}

double Parse(const std::string& s, std::size_t len) {
  if (len == 0) return 0;
  return std::strtod(s.substr(0, len).c_str(), nullptr);
}

}  // namespace

double LeadingNumber(std::string_view text, Blanks blanks) {
  std::string s;
  if (blanks == Blanks::Anywhere) {
    for (char c : text) {
      if (!IsBlank(c)) s += c;
    }
  } else {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    s.assign(text.substr(i));
  }
  return Parse(s, ScanNumber(s));
}

std::optional<double> WholeNumber(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  const std::string s(text.substr(b, e - b));
  const std::size_t len = ScanNumber(s);
  if (len == 0 || len != s.size()) return std::nullopt;
  return Parse(s, len);
}

std::optional<int> ToInt16(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double r = std::nearbyint(value);
  if (r < -32768 || r > 32767) return std::nullopt;
  return static_cast<int>(r);
}

std::optional<std::int32_t> ToInt32(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double r = std::nearbyint(value);
  if (r < -2147483648.0 || r > 2147483647.0) return std::nullopt;
  return static_cast<std::int32_t>(r);
}

}  // namespace kinetta::base
