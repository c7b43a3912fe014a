#include "numerics/number_reading.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

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

}  // namespace

Extended ReadNumber(std::string_view text) {
  const std::string_view t = TrimBlanks(text);
  if (t.empty() || !IsDecimalNumber(t)) return 0;
  // The validated text is plain decimal, which strtold converts correctly rounded.
  const std::string s(t);
  const Extended v = strtold_l(s.c_str(), nullptr, ClassicLocale());
  return std::isfinite(v) ? v : 0;
}

std::int32_t ReadInteger(std::string_view text) {
  const std::string_view t = TrimBlanks(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  if (i == t.size()) return 0;
  long long value = 0;  // magnitude, capped just above the 32-bit range
  for (; i < t.size(); ++i) {
    if (!IsDigit(t[i])) return 0;
    value = value * 10 + (t[i] - '0');
    if (value > 2147483648LL) return 0;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return 0;
  return static_cast<std::int32_t>(value);
}
