#pragma once
// The Report: an append-only list of text lines. Windows, tests and quor-cli each
// provide a sink; every result line of the program goes through ReportLine.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quor::numerics {

inline constexpr std::size_t kMaxReportLine = 255;

class ReportSink {
 public:
  virtual ~ReportSink() = default;
  // Receives a line already cut to at most kMaxReportLine characters.
  virtual void Append(std::string_view line) = 0;
};

// Appends s as a new last line, cut to its first 255 characters.
void ReportLine(ReportSink& report, std::string_view s);

// A sink that keeps the lines in memory (tests, quor-cli, command functions).
class VectorReport : public ReportSink {
 public:
  void Append(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

// Passes every line on and remembers the last: the line a command's refusal ended on,
// when a routine wrote it and only said that it failed.
class LastLineReport : public ReportSink {
 public:
  explicit LastLineReport(ReportSink& inner) : inner_(inner) {}
  void Append(std::string_view line) override {
    inner_.Append(line);
    last.assign(line);
  }
  std::string last;

 private:
  ReportSink& inner_;
};

}  // namespace quor::numerics
