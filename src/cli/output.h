#pragma once
// quor-cli's machine-readable output: a run as one JSON object on one line, or as one
// CSV row under a header row.
//
// Numbers are written with 21 significant digits ("%.20Le"), enough to read back the
// same long double (64-bit significand); an infinity or a NaN, which JSON has no number
// for, is written as the string "Infinity", "-Infinity" or "NaN" (bare in CSV).
#include <string>
#include <vector>

#include "cli/cli.h"
#include "numerics/extended.h"
#include "numerics/library_namespaces.h"

// A number as JSON and CSV write it.
std::string ExactNumberText(Extended v);
// A JSON string literal of text (UTF-8 kept; a byte that is not UTF-8 escaped as the
// Latin-1 character it would be).
std::string JsonString(const std::string& text);
// One field of a CSV row, quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text);

// "ok", "refused" or "fault".
const char* StatusName(CommandStatus status);

// The run as one JSON object, without a line break:
//   {"command": NAME, "version": VERSION, ["Emax": [TEXT...],] ["options": {NAME:
//   [VALUE...]},] "fields": {NAME: TEXT...}, ["sweep": {NAME: TEXT...},]
//   "status": "ok"|"refused"|"fault", ["message": TEXT,] "lines": [LINE...],
//   "values": {KEY: {"unit": UNIT, "value": NUMBER}, KEY: {"unit": UNIT,
//   "dims": [N...], "value": [NUMBER...]}...}}
// An array value's numbers come row by row.
std::string JsonOfRun(const CliInvocation& invocation, const CollectedRun& run);

// The CSV of a set of runs: a header row (command, status, message, the fields in the
// window's order, then every single-number value key in the order first met) and one
// row per run; lines end in CRLF.
class CsvTable {
 public:
  explicit CsvTable(const CliInvocation& invocation);
  void Add(const CollectedRun& run);
  std::string Text() const;

 private:
  struct Row {
    CommandStatus status;
    std::string message;
    std::vector<std::string> fields;
    std::vector<std::pair<std::string, Extended>> values;
  };
  const CliInvocation& invocation_;
  std::vector<std::string> valueKeys_;
  std::vector<Row> rows_;
};
