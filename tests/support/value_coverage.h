#pragma once
// Checks of a command's named values against its documentation and its lines: every
// key is documented with its unit, and every number a line prints is one of the
// values (in SI, shown in one of the report's units) to the digits printed, or an
// echo of a field's number.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "numerics/command.h"
#include "numerics/library_namespaces.h"

namespace value_coverage {

// Number i of a key's value (a failure, and 0, when there is none).
inline long double V(const Result& r, const std::string& key, std::size_t i = 0) {
  const NamedValue* v = r.Find(key);
  if (!v || i >= v->numbers.size()) {
    ADD_FAILURE() << "no value " << key << "[" << i << "]";
    return 0;
  }
  return v->numbers[i];
}

// Every key of the result is documented, with the unit it carries.
inline void ExpectDocumented(const Result& r, const std::vector<ValueDef>& defs) {
  for (const NamedValue& v : r.values) {
    const ValueDef* def = nullptr;
    for (const ValueDef& d : defs)
      if (d.key == v.key) def = &d;
    if (!def) {
      ADD_FAILURE() << "undocumented key " << v.key;
      continue;
    }
    EXPECT_EQ(def->unit, v.unit) << v.key;
    std::size_t size = 1;
    for (std::size_t d : v.dims) size *= d;
    EXPECT_EQ(v.numbers.size(), size) << v.key;
  }
}

struct Printed {
  long double value;
  int decimals;      // digits after the point
  int exponent = 0;  // of E-notation: the last digit is worth 10^(exponent - decimals)
  bool degrees = false;  // followed by "deg" or a degree sign: an angle in radians
  bool label = false;    // part of a label ("1/4 wave", "max=400"), not a result
};

// The numbers of a line: a run of digits (with a sign, a point and an exponent) not
// glued to a word ("L1", "x2", "#61"), leaving out the indices of "L(1,2)".
inline std::vector<Printed> NumbersOf(const std::string& line) {
  std::vector<Printed> out;
  const auto digit = [&](std::size_t i) {
    return i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]));
  };
  std::size_t i = 0;
  while (i < line.size()) {
    const char before = i == 0 ? ' ' : line[i - 1];
    const bool glued = std::isalnum(static_cast<unsigned char>(before)) || before == '_' ||
                       before == '.' || before == '-' || before == '#';
    const bool starts = digit(i) || (line[i] == '-' && digit(i + 1));
    if (!starts || glued) {
      ++i;
      continue;
    }
    std::size_t end = i + (line[i] == '-');
    while (digit(end)) ++end;
    int decimals = 0;
    if (end < line.size() && line[end] == '.' && digit(end + 1)) {
      ++end;
      while (digit(end)) ++end, ++decimals;
    }
    int exponent = 0;
    if (end + 1 < line.size() && (line[end] == 'e' || line[end] == 'E') &&
        (digit(end + 1) || ((line[end + 1] == '-' || line[end + 1] == '+') && digit(end + 2)))) {
      const std::size_t e = end + 1;
      end += 2;
      while (digit(end)) ++end;
      exponent = std::stoi(line.substr(e, end - e));
    }
    const char after = end < line.size() ? line[end] : ' ';
    const bool index = (before == '(' && after == ',') || (before == ',' && after == ')');
    std::size_t unit = end;
    while (unit < line.size() && line[unit] == ' ') ++unit;
    const bool degrees =
        line.compare(unit, 3, "deg") == 0 || line.compare(unit, 2, "\xc2\xb0") == 0;
    const std::size_t word = line.find_last_of(' ', i == 0 ? 0 : i - 1);
    const std::string lead = line.substr(word == std::string::npos ? 0 : word + 1,
                                         i - (word == std::string::npos ? 0 : word + 1));
    // "1/4 wave", "max=400", the order of "P+1.5" (the order of a Legendre function).
    const bool label = after == '/' || before == '/' || lead.find("max=") != std::string::npos ||
                       (before == '+' && i >= 2 && std::isalpha(static_cast<unsigned char>(line[i - 2])));
    if (!index)
      out.push_back({std::stold(line.substr(i, end - i)), decimals, exponent, degrees, label});
    i = end;
  }
  return out;
}

// True when p is v shown in one of the report's units, to its printed digits.
inline bool Shows(const Printed& p, long double v) {
  const long double half = 0.5000001L * std::pow(10.0L, p.exponent - p.decimals);
  // An angle printed in degrees may be kept in degrees or in radians.
  const long double degree = p.degrees ? 57.2957795130823208768L : 1.0L;
  for (long double unitScale : {1.0L, 1e3L, 1e6L, 1e9L, 1e12L, 1e-3L, degree}) {
    const long double scale = unitScale;
    const long double shown = v * scale;
    if (std::fabs(shown - p.value) <= half + 1e-12L * std::fabs(p.value)) return true;
  }
  return false;
}

// Every number of the lines is a value or one of echoes (the fields' numbers); the
// lines that start with one of skipped (messages with fixed numbers) are left out.
inline void ExpectEveryNumberHasAValue(const std::vector<std::string>& lines, const Result& r,
                                       const std::vector<long double>& echoes,
                                       const std::vector<std::string>& skipped = {}) {
  for (const std::string& line : lines) {
    bool skip = false;
    for (const std::string& s : skipped) skip = skip || line.rfind(s, 0) == 0;
    if (skip) continue;
    for (const Printed& p : NumbersOf(line)) {
      bool found = false;
      for (long double e : echoes) found = found || Shows(p, e);
      for (const NamedValue& v : r.values)
        for (std::size_t i = 0; !found && i < v.numbers.size(); ++i) found = Shows(p, v.numbers[i]);
      EXPECT_TRUE(found) << "no value for " << static_cast<double>(p.value) << " in [" << line
                         << "]";
    }
  }
}

// A whole number that counts or names a thing: "Mode 2", "ring 14", "turn 3", "line 7",
// "Conductor 2", "3 spheres".
inline bool IsCounter(const std::string& line, const Printed& p) {
  const std::string number = std::to_string(static_cast<long long>(p.value));
  for (const char* word : {"Mode ", "mode ", "ring ", "Ring ", "turn ", "Turn ", "line ",
                           "Line ", "Conductor ", "conductor "})
    if (line.find(word + number) != std::string::npos) return true;
  return line.find(" " + number + " spheres") != std::string::npos;
}

// Every number the lines print, but labels ("1/4 wave", "max=400") and counters (a
// table row's number first on its line, the number of a ring, turn, line or
// conductor), is a value to its printed digits, or one of echoes (the fields' numbers).
inline void ExpectEveryPrintedNumberIsAValue(const std::vector<std::string>& lines,
                                             const Result& r,
                                             const std::vector<long double>& echoes) {
  for (const std::string& line : lines) {
    const std::vector<Printed> numbers = NumbersOf(line);
    for (std::size_t n = 0; n < numbers.size(); ++n) {
      const Printed& p = numbers[n];
      if (p.label) continue;
      const bool whole = p.decimals == 0 && p.exponent == 0;
      if (whole && n == 0 && numbers.size() > 1 && line.find_first_not_of(' ') ==
                                                       line.find_first_of("-0123456789"))
        continue;  // the row number of a table
      if (whole && IsCounter(line, p)) continue;
      bool found = false;
      for (long double e : echoes) found = found || Shows(p, e);
      for (const NamedValue& v : r.values) {
        // An angle kept in radians may be printed in degrees.
        const long double toDegrees = v.unit == "rad" ? 57.2957795130823208768L : 1.0L;
        for (std::size_t i = 0; !found && i < v.numbers.size(); ++i)
          found = Shows(p, v.numbers[i]) || Shows(p, v.numbers[i] * toDegrees);
      }
      EXPECT_TRUE(found) << "no value for " << static_cast<double>(p.value) << " in [" << line
                         << "]";
    }
  }
}

// The numbers of the fields' texts, as echoes.
inline std::vector<long double> FieldNumbers(const std::vector<FieldDef>& defs,
                                             const FieldValues& fields) {
  std::vector<long double> numbers;
  for (const FieldDef& d : defs) {
    const std::string text = FieldText(fields, defs, d.name);
    try {
      numbers.push_back(std::stold(text));
    } catch (const std::exception&) {
    }
  }
  return numbers;
}

}  // namespace value_coverage
