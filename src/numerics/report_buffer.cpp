#include "numerics/report_buffer.h"

#include <cstring>

namespace quor::numerics {

void ReportBuffer::Append(std::string_view line) {
  const std::size_t size = line.size() + 1;
  if (chunks_.empty() || chunks_.back().text.size() + size > kChunkBytes) {
    chunks_.emplace_back();
    // A line longer than a chunk (not one of ReportLine's) gets a chunk of its own.
    chunks_.back().text.reserve(size > kChunkBytes ? size : kChunkBytes);
  }
  Chunk& last = chunks_.back();
  last.text.append(line);
  last.text.push_back('\n');
  ++last.lines;
  bytes_ += size;
  ++lines_;
  while (bytes_ > maxBytes_ && chunks_.size() > 1) {
    bytes_ -= chunks_.front().text.size();
    lines_ -= chunks_.front().lines;
    dropped_ += chunks_.front().lines;
    chunks_.pop_front();
  }
}

void ReportBuffer::Clear() {
  chunks_.clear();
  bytes_ = 0;
  lines_ = 0;
  dropped_ = 0;
}

std::pair<std::size_t, std::size_t> ReportBuffer::Find(std::int64_t first) const {
  std::size_t c = 0;
  while (c < chunks_.size() && first >= chunks_[c].lines) first -= chunks_[c++].lines;
  std::size_t offset = 0;
  if (c < chunks_.size()) {
    const std::string& text = chunks_[c].text;
    for (; first > 0; --first)
      offset = static_cast<const char*>(std::memchr(text.data() + offset, '\n',
                                                    text.size() - offset)) -
               text.data() + 1;
  }
  return {c, offset};
}

std::string ReportBuffer::Text(std::int64_t first) const {
  if (first < 0) first = 0;
  std::string out;
  if (first >= lines_) return out;
  const auto [c0, offset] = Find(first);
  std::size_t size = chunks_[c0].text.size() - offset;
  for (std::size_t c = c0 + 1; c < chunks_.size(); ++c) size += chunks_[c].text.size();
  out.reserve(size);
  out.append(chunks_[c0].text, offset);
  for (std::size_t c = c0 + 1; c < chunks_.size(); ++c) out += chunks_[c].text;
  out.pop_back();  // the last line's end
  return out;
}

void ReportBuffer::ForEachLine(std::int64_t first,
                               const std::function<void(std::string_view)>& visit) const {
  if (first < 0) first = 0;
  if (first >= lines_) return;
  auto [c, offset] = Find(first);
  for (; c < chunks_.size(); ++c, offset = 0) {
    const std::string_view text(chunks_[c].text);
    while (offset < text.size()) {
      const std::size_t end = text.find('\n', offset);
      visit(text.substr(offset, end - offset));
      offset = end + 1;
    }
  }
}

}  // namespace quor::numerics
