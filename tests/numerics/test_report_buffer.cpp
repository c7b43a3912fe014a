// The compact Report buffer against a plain vector of the same lines: every line back
// in order across chunk boundaries, and the bound that drops the oldest lines.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "numerics/report_buffer.h"
#include "numerics/library_namespaces.h"

namespace {

using Lines = std::vector<std::string>;

// Lines of every length a Report line may have (0 to 255 bytes), empty ones and
// multi-byte UTF-8 among them.
Lines MixedLines(int count, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> length(0, 255);
  Lines out;
  for (int i = 0; i < count; ++i) {
    std::string s = i % 11 == 0 ? "" : "n=" + std::to_string(i) + " µH ";
    s.resize(std::max<std::size_t>(s.size(), static_cast<std::size_t>(length(rng)) / (i % 3 + 1)),
             static_cast<char>('a' + i % 26));
    out.push_back(s.substr(0, 255));
  }
  return out;
}

Lines Read(const ReportBuffer& b, std::int64_t first = 0) {
  Lines out;
  b.ForEachLine(first, [&out](std::string_view line) { out.emplace_back(line); });
  return out;
}

std::string Join(Lines::const_iterator begin, Lines::const_iterator end) {
  std::string s;
  for (auto it = begin; it != end; ++it) s += (it == begin ? "" : "\n") + *it;
  return s;
}

}  // namespace

TEST(ReportBuffer, EveryLineBackInOrderFromAnyLineAcrossChunks) {
  const Lines lines = MixedLines(20000, 5);  // about 1.3 MB: several chunks
  ReportBuffer b(std::size_t{1} << 30);
  std::size_t bytes = 0;
  for (const std::string& l : lines) {
    b.Append(l);
    bytes += l.size() + 1;
  }
  EXPECT_EQ(b.LineCount(), 20000);
  EXPECT_EQ(b.DroppedCount(), 0);
  EXPECT_EQ(b.Bytes(), bytes);
  EXPECT_EQ(Read(b), lines);
  // From the first, a line inside the first chunk, the lines around each chunk's end
  // (found through the byte counts of the reference), the last, and past the end.
  std::vector<std::int64_t> firsts = {0, 1, 777, 19999, 20000, 25000};
  std::size_t filled = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (filled + lines[i].size() + 1 > ReportBuffer::kChunkBytes) {
      firsts.insert(firsts.end(), {static_cast<std::int64_t>(i) - 1, static_cast<std::int64_t>(i)});
      filled = 0;
    }
    filled += lines[i].size() + 1;
  }
  ASSERT_GT(firsts.size(), 8u);  // the lines do cross chunks
  for (std::int64_t first : firsts) {
    const auto from = lines.begin() + std::min<std::int64_t>(first, 20000);
    EXPECT_EQ(b.Text(first), Join(from, lines.end())) << first;
    EXPECT_EQ(Read(b, first), Lines(from, lines.end())) << first;
  }
  b.Clear();
  EXPECT_EQ(b.LineCount(), 0);
  EXPECT_EQ(b.Bytes(), 0u);
  EXPECT_EQ(b.Text(), "");
  b.Append("");
  EXPECT_EQ(Read(b), Lines{""});  // one empty line is a line
}

TEST(ReportBuffer, TheBoundDropsTheOldestWholeLinesFirst) {
  const std::size_t max = 4 * ReportBuffer::kChunkBytes;
  ReportBuffer b(max);
  const Lines lines = MixedLines(200000, 9);  // about 13 MB through a 1 MB bound
  std::size_t appended = 0;
  for (const std::string& l : lines) {
    b.Append(l);
    ++appended;
    ASSERT_LE(b.Bytes(), max);
  }
  // Whole chunks go: what stays fills the bound but for less than one chunk.
  EXPECT_GT(b.Bytes() + ReportBuffer::kChunkBytes + 256, max);
  EXPECT_EQ(static_cast<std::size_t>(b.LineCount() + b.DroppedCount()), appended);
  EXPECT_EQ(Read(b), Lines(lines.end() - b.LineCount(), lines.end()));
  EXPECT_EQ(b.Text(b.LineCount() - 2), lines[lines.size() - 2] + "\n" + lines.back());
}
