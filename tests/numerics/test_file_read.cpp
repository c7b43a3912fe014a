// Lines of the files read, with any of the three line ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "numerics/file_read.h"
#include "numerics/library_namespaces.h"

using Lines = std::vector<std::string>;

TEST(FileRead, LinesEndWithLfCrLfOrCrAndAByteOrderMarkIsNoText) {
  const struct {
    std::string text;
    Lines lines;
  } rows[] = {
      {"a\nb\n", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},           // the old Mac line end
      {"a\rb", {"a", "b"}},             // no end on the last line
      {"a\n\rb", {"a", "", "b"}},       // LF then CR: two ends, not one
      {"a\r\r\nb", {"a", "", "b"}},
      {"\r\n\n", {"", ""}},
      {"", {}},
      {"\xEF\xBB\xBF* two plates\r\nLa a 1", {"* two plates", "La a 1"}},
      {"\xEF\xBB\xBF", {}},
      {"x\xEF\xBB\xBF", {"x\xEF\xBB\xBF"}},  // only at the very start
      {"\xEF\xBB\xBF\xEF\xBB\xBFx", {"\xEF\xBB\xBFx"}},
      {"tab\there \r\n", {"tab\there "}},  // blanks kept
  };
  for (const auto& r : rows) EXPECT_EQ(SplitLines(r.text), r.lines) << r.text;
}
