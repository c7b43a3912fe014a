// The common run path of the window commands: typed numbers refused before anything is
// computed, faults and file errors as results, the Report's sink restored on every way
// out, and the named values of a result.
#include "numerics/command.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "numerics/arithmetic_fault.h"
#include "numerics/file_write.h"
#include "numerics/library_namespaces.h"

namespace {

using Lines = std::vector<std::string>;

const std::vector<FieldDef>& Defs() {
  static const std::vector<FieldDef> defs = {
      {"Er2", "Min. radius 2", "0.044", ""},
      {"Ens1", "Segments/turn for M", "20", "", false, FieldKind::Count},
      {"CBel", "Circular turns", "1", "", true},
      {"CBplotar", "Plot quantity", "Potential V", "", false, FieldKind::Text},
      {"RG123", "Compute", "0", "", false, FieldKind::Choice},
  };
  return defs;
}

std::string Refusal(const std::string& label, const std::string& text) {
  return "Invalid number in \"" + label + "\": " + text + " (use \".\" as the decimal point)";
}

TEST(InvalidNumberLine, WhatAFieldReadsAsAndWhatIsRefused) {
  struct Row {
    const char* name;
    const char* text;
    bool refused;
  };
  const Row rows[] = {
      // Numbers: the decimal form with "." as the point, blanks around it allowed.
      {"Er2", "0.08", false},   {"Er2", " 0.1 ", false},  {"Er2", "", false},
      {"Er2", "   ", false},    {"Er2", "-.5", false},    {"Er2", "2.5e3", false},
      {"Er2", "1E-3", false},   {"Er2", "0,08", true},    {"Er2", "2,5e3", true},
      {"Er2", "0.6m", true},    {"Er2", "12 turns", true}, {"Er2", ".", true},
      {"Er2", "1e", true},      {"Er2", "inf", true},     {"Er2", "nan", true},
      {"Er2", "0x10", true},    {"Er2", "1e99999", true},  // beyond Extended: no value
      // Counts: whole numbers within 32 bits.
      {"Ens1", "20", false},    {"Ens1", " -7 ", false},  {"Ens1", "", false},
      {"Ens1", "20.5", true},   {"Ens1", "1e3", true},    {"Ens1", "2147483648", true},
      // Check boxes, choices and texts are no numbers.
      {"CBel", "yes", false},   {"RG123", "x", false},    {"CBplotar", "0,5", false},
  };
  for (const Row& r : rows) {
    const auto line = InvalidNumberLine(Defs(), {{r.name, r.text}});
    if (!r.refused) {
      EXPECT_FALSE(line.has_value()) << r.name << " '" << r.text << "': " << *line;
      continue;
    }
    const std::string label = r.name == std::string("Er2") ? "Min. radius 2" : "Segments/turn for M";
    EXPECT_EQ(line.value_or("accepted"), Refusal(label, r.text)) << r.text;
  }
  // The first malformed field in the window's order; missing fields take defaults.
  EXPECT_EQ(InvalidNumberLine(Defs(), {{"Ens1", "x"}, {"Er2", "y"}}).value_or(""),
            Refusal("Min. radius 2", "y"));
  EXPECT_FALSE(InvalidNumberLine(Defs(), {}).has_value());
}

// A command that counts its calls, writes a line and then does what the test asks.
struct Probe {
  int calls = 0;
  std::function<void(CommandEnv&)> then;
};
Probe* probe = nullptr;  // set by each test before it runs the command

Result ProbeCommand(const FieldValues&, CommandEnv& env) {
  ++probe->calls;
  ReportLine(env.Report(), "first");
  if (probe->then) probe->then(env);
  ReportLine(env.Report(), "last");
  Result r;
  r.Add("x", "m", 2);
  return r;
}

class RunCommandTest : public ::testing::Test {
 protected:
  RunCommandTest() {
    probe = &state;
    env.report = &live;
  }
  ~RunCommandTest() override { probe = nullptr; }
  Result Run(const FieldValues& fields = {}) { return RunCommand(Defs(), &ProbeCommand, fields, env); }

  Probe state;
  VectorReport live;
  CommandEnv env;
};

TEST_F(RunCommandTest, MalformedNumberIsRefusedBeforeTheCommandRuns) {
  const Result r = Run({{"Er2", "0,08"}});
  EXPECT_EQ(state.calls, 0);
  EXPECT_EQ(r.status, CommandStatus::Refused);
  EXPECT_EQ(r.message, Refusal("Min. radius 2", "0,08"));
  EXPECT_EQ(r.lines, Lines{r.message});
  EXPECT_EQ(live.lines, Lines{r.message});
  EXPECT_TRUE(r.values.empty());
  EXPECT_EQ(env.report, &live);
}

TEST_F(RunCommandTest, LinesLiveAndCollectedValuesKept) {
  const Result r = Run();
  EXPECT_EQ(state.calls, 1);
  EXPECT_TRUE(r.Ok());
  EXPECT_EQ(r.lines, (Lines{"first", "last"}));
  EXPECT_EQ(live.lines, r.lines);
  ASSERT_NE(r.Find("x"), nullptr);
  EXPECT_EQ(r.Find("x")->Number(), 2);
  EXPECT_EQ(r.Find("x")->unit, "m");

  // Where the sink keeps them (a window, quor-cli's stdout) they are not kept twice.
  env.collectLines = false;
  EXPECT_TRUE(Run().lines.empty());
  EXPECT_EQ(live.lines.size(), 4u);
}

TEST_F(RunCommandTest, FaultsAndFileErrorsEndTheCommandAsResults) {
  struct Case {
    std::function<void(CommandEnv&)> then;
    Lines lines;
    std::string message;
  };
  volatile Extended zero = 0;
  const Case cases[] = {
      // Found at the next line: "last" is not written.
      {[&](CommandEnv&) { zero = 1 / zero; }, {"first"}, "Floating point division by zero"},
      {[](CommandEnv&) { throw FileError("Cannot write file t.tab: No such file or directory"); },
       {"first"}, "Cannot write file t.tab: No such file or directory"},
      // Nothing raised: every line, Ok.
      {[](CommandEnv& e) { ReportLine(e.Report(), "x"); }, {"first", "x", "last"}, ""},
  };
  for (const Case& c : cases) {
    state.then = c.then;
    live.lines.clear();
    const Result r = Run();
    EXPECT_EQ(r.lines, c.lines);
    EXPECT_EQ(live.lines, c.lines);
    EXPECT_EQ(env.report, &live);  // the sink of the caller again
    if (c.message.empty()) {
      EXPECT_TRUE(r.Ok());
    } else {
      EXPECT_EQ(r.status, CommandStatus::Fault);
      EXPECT_EQ(r.message, c.message);
      EXPECT_TRUE(r.values.empty());
    }
  }
  // An overflow after the last line is found by the final check.
  state.then = nullptr;
  volatile Extended big = 1e4000L;
  const Result after = RunCommand(
      Defs(),
      [&](const FieldValues& f, CommandEnv& e) {
        Result r = ProbeCommand(f, e);
        big = big * 1e4000L;
        return r;
      },
      {}, env);
  EXPECT_EQ(after.status, CommandStatus::Fault);
  EXPECT_EQ(after.message, "Floating point overflow");
}

TEST_F(RunCommandTest, AnExceptionOfAnotherKindStillRestoresTheSink) {
  state.then = [](CommandEnv&) { throw std::logic_error("bug"); };
  EXPECT_THROW(Run(), std::logic_error);
  EXPECT_EQ(env.report, &live);
}

TEST(CommandResult, NamedValuesByKeyWithTheirShape) {
  Result r;
  r.Add("k", "1", 0.25L);
  r.Add("k", "1", 0.5L);  // replaced, not repeated
  r.AddList("q", "C", {1, 2, 3});
  r.AddMatrix("C", "F", 2, 2, {1, -2, -2, 5});
  ASSERT_EQ(r.values.size(), 3u);
  EXPECT_EQ(r.Find("k")->Number(), 0.5L);
  EXPECT_TRUE(r.Find("k")->IsScalar());
  EXPECT_EQ(r.Find("q")->dims, std::vector<std::size_t>{3});
  EXPECT_EQ(r.Find("C")->dims, (std::vector<std::size_t>{2, 2}));
  EXPECT_EQ(r.Find("C")->numbers[2], -2);
  EXPECT_EQ(r.Find("none"), nullptr);

  VectorReport sink;
  const Result refused = ::Refusal(sink, "Too many rings");
  EXPECT_EQ(refused.status, CommandStatus::Refused);
  EXPECT_EQ(refused.message, "Too many rings");
  EXPECT_EQ(sink.lines, Lines{"Too many rings"});
}

TEST(CommandEnv, DefaultsSuitAHeadlessRun) {
  CommandEnv env;
  ReportLine(env.Report(), "dropped");  // no sink: nothing to crash on
  EXPECT_FALSE(env.StopRequested());
  env.Pump();
  EXPECT_EQ(env.breakdown.Emax, 3000);
  EXPECT_EQ(env.TablePath("toroid.dat"), "toroid.dat");
  env.directory = "/tmp/x";
  EXPECT_EQ(env.TablePath("toroid.dat"), "/tmp/x/toroid.dat");
  EXPECT_EQ(env.Argument("FILE"), "");
  env.arguments["FILE"] = "a.trd";
  EXPECT_EQ(env.Argument("FILE"), "a.trd");
}

}  // namespace
