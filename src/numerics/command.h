#pragma once
// One shape for every window command: a function of the window's field texts and of
// an environment (where the Report goes, what to draw on, the program-wide settings,
// how to stay responsive and be stopped), returning how it ended, the Report lines it
// wrote and the values it computed. The windows, quor-cli and the tests run commands
// through one path, RunCommand, which checks the typed numbers first and turns an
// arithmetic fault or a file error into a Fault with its message.
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "numerics/canvas.h"
#include "numerics/event_pump.h"
#include "numerics/extended.h"
#include "numerics/fields.h"
#include "numerics/report.h"
#include "numerics/screen_mapping.h"

namespace quor::numerics {

// How a command ended.
//  Ok:      it ran to its end (its lines may still warn about the result).
//  Refused: it ended on a line that says why it computes no (further) result: an
//           input check (a malformed number, a size out of range, too many turns, a
//           structure that cannot be calculated) or a stop asked for while it ran.
//           message holds that line; nothing after it was computed.
//  Fault:   an arithmetic fault (division by zero, invalid operation, overflow) or a
//           file error ended it; message holds its text, the lines before it stand.
enum class CommandStatus { Ok, Refused, Fault };

// A value a command computed, by a stable key ("L1", "M", "k", "C_total"), in SI
// units ("H", "F", "V", "V/m", "N", "Hz", "m", "C"; "1" for a ratio). One number, or
// an array: a list (dims {n}) or a matrix stored row by row (dims {rows, columns}).
struct NamedValue {
  std::string key;
  std::string unit;
  std::vector<Extended> numbers;
  std::vector<std::size_t> dims;  // empty for a single number

  bool IsScalar() const { return dims.empty(); }
  Extended Number() const { return numbers.empty() ? 0 : numbers.front(); }
};

struct Result {
  CommandStatus status = CommandStatus::Ok;
  // The refusal line, or the fault's message; empty when Ok.
  std::string message;
  // The Report lines written, in order (collected by RunCommand when the environment
  // asks for them).
  std::vector<std::string> lines;
  std::vector<NamedValue> values;

  bool Ok() const { return status == CommandStatus::Ok; }
  // A refusal on a line already written.
  static Result Refused(std::string line);
  // Adds (or replaces) a single number.
  void Add(std::string key, std::string unit, Extended value);
  // Adds (or replaces) a list of numbers.
  void AddList(std::string key, std::string unit, std::vector<Extended> numbers);
  // Adds (or replaces) a rows x columns matrix given row by row.
  void AddMatrix(std::string key, std::string unit, std::size_t rows, std::size_t columns,
                 std::vector<Extended> numbers);
  // The value of a key, or nullptr.
  const NamedValue* Find(std::string_view key) const;
};

// A refusal: writes the line to the Report and returns a Refused result holding it.
Result Refusal(ReportSink& report, const std::string& line);

// The breakdown field of air: one setting for the whole program, in kV/m, that turns
// a surface field per volt (V/m per V) into a breakdown voltage in kV. The
// application owns one; quor-cli makes one per run. Every start begins at 3 MV/m.
struct BreakdownField {
  Extended Emax = 3000.0L;  // kV/m
};

// A point probed after a calculation: a pixel of the drawing (a click), or a point of
// the plane given in metres (r, z), probed exactly there whatever the drawing's scale.
struct ProbePoint {
  bool inMetres = false;
  int x = 0, y = 0;      // pixel
  Extended r = 0, z = 0;  // metres
  ProbePoint() = default;
  ProbePoint(int px, int py) : x(px), y(py) {}
  static ProbePoint At(Extended r, Extended z) {
    ProbePoint p;
    p.inMetres = true;
    p.r = r;
    p.z = z;
    return p;
  }
};

// A sink that drops every line.
class DiscardReport : public ReportSink {
 public:
  void Append(std::string_view) override {}
};

// What a command needs from outside its fields. Every member has a default that
// suits a headless run; a window fills in its own.
struct CommandEnv {
  // Where the lines go as they are written (the window's Report, quor-cli's stdout).
  // Nothing: they are only collected.
  ReportSink* report = nullptr;
  // RunCommand keeps a copy of every line in Result::lines. Off where the sink already
  // keeps them and a listing may run to millions of lines (windows, quor-cli's text).
  bool collectLines = true;
  // The window's drawing area; nothing: a blank one of the window's size, so that a
  // command draws (and scales) as on a window just opened.
  Canvas* canvas = nullptr;
  // The mapping of that drawing: a command that draws over the last paint reads it,
  // one that paints the drawing anew leaves its own here. May be null.
  ScreenMapping* mapping = nullptr;
  // The Parameters window's setting, read by the electrostatic commands and set by
  // the parameters command.
  BreakdownField breakdown;
  // Called once per outer step of a stoppable loop (true-spiral sums, colour plots);
  // may pass on only some calls. pumpNow serves the window at once (after the last
  // step). Both may be empty.
  EventPump pump;
  EventPump pumpNow;
  // Asked after each pump: true ends the stoppable loop ("Interrupted" for the sums).
  std::function<bool()> stopRequested;
  // Told when a stoppable loop starts (true: the window offers Stop) and ends.
  std::function<void(bool running)> onRunningChanged;
  // Points probed after a calculation (partial toroid, structure), pixels of the
  // drawing or points in metres: one probe line each, numbered in this order.
  std::vector<ProbePoint> probes;
  // Where table files are written ("torus30.tab", "toroid.dat"): empty for the
  // current directory.
  std::string directory;
  // Arguments that are not fields, by name: "FILE" of save-trd, "WINDOW" of to-meters.
  std::map<std::string, std::string> arguments;
  // Threads for the row computations (structure matrices, plots): -1 as many as pay
  // off, 0 none beside the calling thread. Results never depend on the count.
  int workers = -1;

  ReportSink& Report() { return report ? *report : discard_; }
  bool StopRequested() const { return stopRequested && stopRequested(); }
  void Pump() const { PumpEvents(pump); }
  // The argument of that name, or "".
  std::string Argument(const std::string& name) const;
  // A file name in the table directory.
  std::string TablePath(const std::string& fileName) const;

 private:
  DiscardReport discard_;
};

// The shape of every window command.
using CommandFunction = Result (*)(const FieldValues& fields, CommandEnv& env);
// The same for a window's own step that keeps state (a session's Calculate).
using CommandRunner = std::function<Result(const FieldValues& fields, CommandEnv& env)>;

// A value a command may return, as its documentation lists it: the key, the unit and
// what the number is.
struct ValueDef {
  std::string key, unit, meaning;
};

// A command as quor-cli (and anything else that runs commands by name) lists it.
struct CommandDef {
  std::string name;     // "transformer"
  std::string summary;  // one line
  const std::vector<FieldDef>& (*fields)();
  CommandFunction run;
  // The values the command may return (none documented when null).
  const std::vector<ValueDef>& (*values)() = nullptr;
};

// The common run path. Before the command computes, the first number field of defs
// whose text is malformed ends it with the one line of InvalidNumberLine (Refused;
// nothing computed, nothing changed). Then the arithmetic-fault flags are cleared,
// every line is checked for a fault before it is written and once more at the end,
// and an ArithmeticFault or FileError ends the command as a Fault with its message.
// The lines are appended live to env.report and, with env.collectLines, kept in the
// result. env.report is restored on every way out.
Result RunCommand(const std::vector<FieldDef>& defs, const CommandRunner& run,
                  const FieldValues& fields, CommandEnv& env);
Result RunCommand(const CommandDef& def, const FieldValues& fields, CommandEnv& env);

// Replaces a sink pointer for the life of the guard and puts the old one back on every
// way out, exceptions included.
class ScopedSink {
 public:
  ScopedSink(ReportSink*& slot, ReportSink* replacement) : slot_(slot), saved_(slot) {
    slot_ = replacement;
  }
  ~ScopedSink() { slot_ = saved_; }
  ScopedSink(const ScopedSink&) = delete;
  ScopedSink& operator=(const ScopedSink&) = delete;

 private:
  ReportSink*& slot_;
  ReportSink* saved_;
};

}  // namespace quor::numerics
