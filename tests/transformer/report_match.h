#pragma once
// Matching Report lines against their layout: literal text with number fields written
// as {W.D} (a FixedStr of width W and D decimals: right-aligned, at least W wide,
// exactly D decimals) or {I} (an IntStr).
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

namespace report_match {

inline std::string Escape(const std::string& s) {
  static const std::string special = R"(\^$.|?*+()[]{})";
  std::string out;
  for (char c : s) {
    if (special.find(c) != std::string::npos) out += '\\';
    out += c;
  }
  return out;
}

// True when line has the layout of pattern.
inline bool Matches(const std::string& line, const std::string& pattern) {
  std::string re;
  std::vector<int> widths;
  std::size_t pos = 0;
  while (pos < pattern.size()) {
    const std::size_t open = pattern.find('{', pos);
    if (open == std::string::npos) {
      re += Escape(pattern.substr(pos));
      break;
    }
    const std::size_t close = pattern.find('}', open + 1);
    re += Escape(pattern.substr(pos, open - pos));
    const std::string field = pattern.substr(open + 1, close - open - 1);
    if (field == "I") {
      re += "(-?[0-9]+)";
      widths.push_back(0);
    } else {
      const std::size_t dot = field.find('.');
      const int w = std::stoi(field.substr(0, dot));
      const int d = std::stoi(field.substr(dot + 1));
      re += "( *-?[0-9]+" + (d > 0 ? "\\.[0-9]{" + std::to_string(d) + "}" : std::string()) + ")";
      widths.push_back(w);
    }
    pos = close + 1;
  }
  std::smatch m;
  if (!std::regex_match(line, m, std::regex(re))) return false;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    const std::string field = m[i + 1].str();
    const int len = static_cast<int>(field.size());
    if (len < widths[i]) return false;
    if (field[0] == ' ' && len != widths[i]) return false;  // padded only up to the width
  }
  return true;
}

// Every line has the layout of the pattern at the same position, and no line more.
inline void ExpectLayout(const std::vector<std::string>& lines,
                         const std::vector<std::string>& patterns) {
  for (std::size_t i = 0; i < std::min(lines.size(), patterns.size()); ++i)
    EXPECT_TRUE(Matches(lines[i], patterns[i]))
        << "line " << i << ": [" << lines[i] << "] vs [" << patterns[i] << "]";
  EXPECT_EQ(lines.size(), patterns.size());
  if (lines.size() > patterns.size())
    ADD_FAILURE() << "first extra line: [" << lines[patterns.size()] << "]";
}

// The number that follows label in the first line starting with it.
inline long double ValueAfter(const std::vector<std::string>& lines, const std::string& label) {
  for (const std::string& l : lines)
    if (l.rfind(label, 0) == 0) return std::stold(l.substr(label.size()));
  ADD_FAILURE() << "no line starts with [" << label << "]";
  return 0;
}

inline bool HasLineStarting(const std::vector<std::string>& lines, const std::string& label) {
  for (const std::string& l : lines)
    if (l.rfind(label, 0) == 0) return true;
  return false;
}

}  // namespace report_match
