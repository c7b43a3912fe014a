#include "numerics/number_reading.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <optional>
#include <string>

namespace quor::numerics {

namespace {

// Spaces, tabs and the line-end characters a text file may leave behind.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text without its leading and trailing blanks.
std::string_view TrimBlanks(std::string_view t) {
  while (!t.empty() && IsBlank(t.front())) t.remove_prefix(1);
  while (!t.empty() && IsBlank(t.back())) t.remove_suffix(1);
  return t;
}

// True when t is: optional sign, digits with an optional "." (at least one digit),
// optional exponent letter with optional sign and at least one digit.
bool IsDecimalNumber(std::string_view t) {
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t mantissaDigits = 0;
  while (i < t.size() && IsDigit(t[i])) ++i, ++mantissaDigits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && IsDigit(t[i])) ++i, ++mantissaDigits;
  }
  if (mantissaDigits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t exponentDigits = 0;
    while (i < t.size() && IsDigit(t[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  return i == t.size();
}

// The "C" locale, created once: the conversion must not follow the user's locale
// (a GUI toolkit may switch LC_NUMERIC to one with a decimal comma).
locale_t ClassicLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

// The value of a complete number text, or nothing for a malformed or infinite one.
std::optional<Extended> ParseNumber(std::string_view t) {
  if (!IsDecimalNumber(t)) return std::nullopt;
  // The validated text is plain decimal, which strtold converts correctly rounded.
  const std::string s(t);
  const Extended v = strtold_l(s.c_str(), nullptr, ClassicLocale());
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

// The value of a complete whole number within 32 bits, or nothing.
std::optional<std::int32_t> ParseInteger(std::string_view t) {
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  if (i == t.size()) return std::nullopt;
  long long value = 0;  // magnitude, capped just above the 32-bit range
  for (; i < t.size(); ++i) {
    if (!IsDigit(t[i])) return std::nullopt;
    value = value * 10 + (t[i] - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace

Extended ReadNumber(std::string_view text) {
  return ParseNumber(TrimBlanks(text)).value_or(0);
}

std::int32_t ReadInteger(std::string_view text) {
  return ParseInteger(TrimBlanks(text)).value_or(0);
}

bool IsNumberText(std::string_view text) {
  const std::string_view t = TrimBlanks(text);
  return t.empty() || ParseNumber(t).has_value();
}

bool IsIntegerText(std::string_view text) {
  const std::string_view t = TrimBlanks(text);
  return t.empty() || ParseInteger(t).has_value();
}

}  // namespace quor::numerics
