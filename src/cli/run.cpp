// Runs of an invocation with their lines kept, and sweeps over field texts on worker
// threads with their results handed on in order.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#include "cli/cli.h"
#include "cli/run_steps.h"
#include "numerics/file_error.h"
#include "numerics/file_write.h"
#include "numerics/library_namespaces.h"

namespace {

// Keeps every line in the result it fills.
class KeepingReport : public ReportSink {
 public:
  explicit KeepingReport(std::vector<std::string>& lines) : lines_(lines) {}
  void Append(std::string_view line) override { lines_.emplace_back(line); }

 private:
  std::vector<std::string>& lines_;
};

// A number of a sweep's range as a field text: the fewest digits (up to 18, as many
// as a long double holds exactly in decimal) that give it back.
std::string SweepText(Extended v) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%.18Lg", v);
  return buffer;
}

Extended SweepNumber(const std::string& text, const std::string& range) {
  const bool plain =
      !text.empty() && text.find_first_not_of("0123456789.eE+-") == std::string::npos;
  char* end = nullptr;
  const Extended v = plain ? std::strtold(text.c_str(), &end) : 0;
  if (!plain || end != text.c_str() + text.size() || !std::isfinite(v))
    throw CliArgumentError("--sweep: '" + text + "' is not a number in '" + range + "'");
  return v;
}

}  // namespace

Result ExecuteInvocation(const CliInvocation& invocation, const FieldAssignments& swept,
                         FieldValues& fields, CommandEnv& env, const CliHooks& hooks) {
  const CliCommand& cmd = *invocation.command;
  // Emax=VALUE: Apply of the Parameters window, refused as it refuses.
  // Its value (Emax, V/m) comes first among the run's values.
  const CliCommand* parameters = FindCliCommand("parameters");
  std::vector<NamedValue> settings;
  for (const std::string& emax : invocation.emaxTexts) {
    Result set = RunCommand(*parameters, {{"Eemax", emax}}, env);
    if (!set.Ok()) return set;
    settings = std::move(set.values);
  }
  const auto withSettings = [&settings](Result r) {
    for (const NamedValue& v : settings)
      if (!r.Find(v.key)) r.values.insert(r.values.begin(), v);
    return r;
  };

  // Field texts from files first (--trd, --cap), then the NAME=VALUE changes.
  try {
    for (const CliOptionDef& o : cmd.options)
      if (const auto given = invocation.options.find(o.name);
          o.kind == CliOptionKind::LoadsFields && given != invocation.options.end())
        for (const std::string& value : given->second) o.loadFields(value, fields);
  } catch (const FileError& error) {
    Result failed;
    failed.status = CommandStatus::Fault;
    failed.message = error.what();
    return failed;
  }
  for (const auto& [name, value] : invocation.overrides) fields[name] = value;
  for (const auto& [name, value] : swept) fields[name] = value;
  for (const CliArgumentDef& a : cmd.arguments)
    env.arguments[a.name] = invocation.options.at(a.name).front();
  env.probes = invocation.probes;

  if (!invocation.plot) return withSettings(RunCommand(cmd, fields, env));

  Result result;
  try {
    const CliOptionDef& plot = *invocation.plot;
    const std::string png = hooks.renderPng(plot.width, plot.height, [&](Canvas& canvas) {
      env.canvas = &canvas;
      result = RunCommand(cmd, fields, env);
      env.canvas = nullptr;
    });
    // A refusal still leaves the drawing as the window shows it; a fault leaves none.
    if (result.status != CommandStatus::Fault) WriteFileAtomically(invocation.plotPath, png);
  } catch (const FileError& error) {
    result.status = CommandStatus::Fault;
    result.message = error.what();
  }
  return withSettings(std::move(result));
}

CollectedRun RunCollected(const CliInvocation& invocation, const FieldAssignments& swept,
                          int workers, const CliHooks& hooks) {
  CollectedRun run;
  run.fields = invocation.fields;
  run.swept = swept;
  std::vector<std::string> lines;
  KeepingReport keep(lines);
  CommandEnv env;
  env.report = &keep;
  env.collectLines = false;  // every line, the Emax lines too, goes to keep
  env.workers = workers;
  run.result = ExecuteInvocation(invocation, swept, run.fields, env, hooks);
  run.result.lines = std::move(lines);
  return run;
}

CollectedRun RunCollected(const CliInvocation& invocation, const FieldAssignments& swept,
                          int workers) {
  return RunCollected(invocation, swept, workers, CliHooks{});
}

SweepAxis ParseSweep(const std::string& text) {
  const std::size_t eq = text.find('=');
  if (eq == std::string::npos || eq == 0 || eq + 1 == text.size())
    throw CliArgumentError("--sweep takes NAME=START:STOP:COUNT[:log] or NAME=V1,V2,..., not '" +
                           text + "'");
  SweepAxis axis;
  axis.name = text.substr(0, eq);
  const std::string range = text.substr(eq + 1);
  if (range.find(':') == std::string::npos) {
    // A list: the texts as given.
    std::size_t start = 0;
    for (;;) {
      const std::size_t comma = range.find(',', start);
      axis.texts.push_back(range.substr(start, comma - start));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    return axis;
  }
  std::vector<std::string> parts;
  for (std::size_t start = 0;;) {
    const std::size_t colon = range.find(':', start);
    parts.push_back(range.substr(start, colon - start));
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  const bool log = parts.size() == 4 && parts[3] == "log";
  if (parts.size() != 3 && !log)
    throw CliArgumentError("--sweep takes NAME=START:STOP:COUNT[:log], not '" + text + "'");
  const Extended a = SweepNumber(parts[0], text), b = SweepNumber(parts[1], text);
  const bool digits =
      !parts[2].empty() && parts[2].find_first_not_of("0123456789") == std::string::npos;
  const long count =
      digits && parts[2].size() <= 7 ? std::strtol(parts[2].c_str(), nullptr, 10) : 0;
  if (count < 1 || static_cast<std::size_t>(count) > kMostSweepRuns)
    throw CliArgumentError("--sweep: COUNT must be a whole number from 1 to 1000000 in '" + text +
                           "'");
  if (log && !((a > 0 && b > 0) || (a < 0 && b < 0)))
    throw CliArgumentError("--sweep: a log sweep needs START and STOP of one sign, not zero, in '" +
                           text + "'");
  for (long i = 0; i < count; ++i) {
    // The ends are the texts given; the points between are formed from them.
    if (i == 0 || i == count - 1) {
      axis.texts.push_back(i == 0 ? parts[0] : parts[1]);
      continue;
    }
    const Extended t = static_cast<Extended>(i) / static_cast<Extended>(count - 1);
    const Extended v = log ? a * std::pow(b / a, t) : a + (b - a) * t;
    axis.texts.push_back(SweepText(v));
  }
  return axis;
}

std::vector<FieldAssignments> SweepPoints(const std::vector<SweepAxis>& axes) {
  std::vector<FieldAssignments> points(1);
  for (const SweepAxis& axis : axes) {
    std::vector<FieldAssignments> next;
    next.reserve(points.size() * axis.texts.size());
    for (const FieldAssignments& p : points)
      for (const std::string& text : axis.texts) {
        next.push_back(p);
        next.back().emplace_back(axis.name, text);
      }
    points = std::move(next);
  }
  return points;
}

void RunSweep(const CliInvocation& invocation,
              const std::function<void(std::size_t index, CollectedRun& run)>& emit,
              const CliHooks& hooks) {
  const std::vector<FieldAssignments> points = SweepPoints(invocation.sweeps);
  const std::size_t n = points.size();

  // Runs that write files go one after the other, in order.
  bool concurrent = invocation.plot == nullptr;
  if (const auto writes = invocation.command->writesFiles) {
    // Every point sets the same fields: each overwrites the last one's texts.
    FieldValues fields = invocation.fields;
    for (const auto& [name, value] : invocation.overrides) fields[name] = value;
    for (std::size_t i = 0; concurrent && i < n; ++i) {
      for (const auto& [name, value] : points[i]) fields[name] = value;
      concurrent = !writes(fields);
    }
  }

  unsigned jobs = invocation.jobs > 0 ? static_cast<unsigned>(invocation.jobs)
                                      : std::max(1u, std::thread::hardware_concurrency());
  if (!concurrent) jobs = 1;
  jobs = static_cast<unsigned>(std::min<std::size_t>(jobs, n));
  if (jobs <= 1) {
    for (std::size_t i = 0; i < n; ++i) {
      CollectedRun run = RunCollected(invocation, points[i], -1, hooks);
      emit(i, run);
    }
    return;
  }

  // Each worker takes the next point; the calling thread hands the runs on in order as
  // they come in. A run's own row loops stay on its thread (workers 0): the sweep
  // already keeps every core busy. An exception a run throws (no memory) stops the
  // workers and goes on from the calling thread, as it would from a run made there.
  // The workers keep at most a few runs per thread ahead of the one handed on last, so
  // that a million runs written to a slow pipe do not pile up in memory.
  struct Slot {
    std::optional<CollectedRun> run;
    std::exception_ptr error;
  };
  const std::size_t ahead = 4 * static_cast<std::size_t>(jobs);
  // Run i waits in slot i % ahead: the run that held it before, i - ahead, has been
  // handed on once run i may start.
  std::vector<Slot> slots(std::min(n, ahead));
  const auto done = [&slots](std::size_t i) -> Slot& { return slots[i % slots.size()]; };
  std::mutex mu;
  std::condition_variable ready, room;
  std::atomic<std::size_t> next{0};
  std::size_t handedOn = 0;  // under mu
  bool stopping = false;     // under mu
  std::vector<std::thread> threads;
  for (unsigned t = 0; t < jobs; ++t)
    threads.emplace_back([&] {
      for (std::size_t i; (i = next.fetch_add(1)) < n;) {
        {
          std::unique_lock<std::mutex> lock(mu);
          room.wait(lock, [&] { return stopping || i < handedOn + ahead; });
          if (stopping) return;
        }
        Slot slot;
        try {
          slot.run = RunCollected(invocation, points[i], 0);
        } catch (...) {
          slot.error = std::current_exception();
          next = n;
        }
        const std::lock_guard<std::mutex> lock(mu);
        done(i) = std::move(slot);
        ready.notify_all();
      }
    });
  std::exception_ptr error;
  for (std::size_t i = 0; i < n && !error; ++i) {
    std::unique_lock<std::mutex> lock(mu);
    ready.wait(lock, [&] { return done(i).run.has_value() || done(i).error; });
    if (done(i).error) {
      error = done(i).error;
      break;
    }
    CollectedRun run = std::move(*done(i).run);
    done(i).run.reset();
    handedOn = i + 1;
    room.notify_all();
    lock.unlock();
    try {
      emit(i, run);
    } catch (...) {
      error = std::current_exception();
      next = n;
    }
  }
  {
    const std::lock_guard<std::mutex> lock(mu);
    stopping = true;
    room.notify_all();
  }
  for (std::thread& t : threads) t.join();
  if (error) std::rethrow_exception(error);
}

int WorstExitStatus(int a, int b) {
  const auto rank = [](int status) { return status == 1 ? 2 : status == 3 ? 1 : 0; };
  return rank(a) >= rank(b) ? a : b;
}
