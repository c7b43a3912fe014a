#pragma once
// The lines of a Report held compactly and within a bound: UTF-8 text in chunks of a
// quarter megabyte, each line ended by '\n', about 40 bytes for a line of the conical
// ring listing where a text document spends some 200 on its block. When the text kept
// passes the bound, the oldest whole chunks go, so that a Report that keeps growing
// (Calculate after Calculate) holds its newest lines in bounded memory.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "numerics/report.h"

namespace quor::numerics {

class ReportBuffer : public ReportSink {
 public:
  // Each chunk is allocated once at this size and filled with whole lines.
  static constexpr std::size_t kChunkBytes = std::size_t{1} << 18;

  // Keeps at most maxBytes of text (at least the chunk being filled).
  explicit ReportBuffer(std::size_t maxBytes) : maxBytes_(maxBytes) {}

  void Append(std::string_view line) override;
  void Clear();

  // Lines kept, and lines appended since the last Clear that are no longer kept.
  std::int64_t LineCount() const { return lines_; }
  std::int64_t DroppedCount() const { return dropped_; }
  // Bytes of text kept, line ends included.
  std::size_t Bytes() const { return bytes_; }

  // The kept lines from number `first` (0 the oldest kept) to the last, joined by '\n'.
  std::string Text(std::int64_t first = 0) const;
  // Calls visit with each kept line from number `first` on, in order.
  void ForEachLine(std::int64_t first, const std::function<void(std::string_view)>& visit) const;

 private:
  struct Chunk {
    std::string text;  // whole lines, each ended by '\n'
    std::int64_t lines = 0;
  };
  // The chunk holding line `first` and the offset of that line in it.
  std::pair<std::size_t, std::size_t> Find(std::int64_t first) const;

  std::deque<Chunk> chunks_;
  std::size_t maxBytes_;
  std::size_t bytes_ = 0;
  std::int64_t lines_ = 0;
  std::int64_t dropped_ = 0;
};

}  // namespace quor::numerics
