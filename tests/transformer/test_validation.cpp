// Reading the main window's fields and the input checks of Calculate.
#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "command_run.h"
#include "transformer/coil_pair.h"
#include "transformer/context.h"
#include "transformer/driver.h"
#include "transformer/validation.h"
#include "numerics/library_namespaces.h"

namespace {

CoilPair Read(const FieldValues& overrides) {
  CoilPair c;
  ReadTransformerInputs(overrides, c);
  return c;
}

std::optional<std::string> Check(const FieldValues& overrides) {
  return CheckTransformerInputs(Read(overrides));
}

}  // namespace

TEST(TransformerFields, FormTableHasEveryComponentOnce) {
  const auto& defs = TransformerFieldDefs();
  ASSERT_EQ(defs.size(), 22u);
  std::set<std::string> names;
  int boxes = 0;
  for (const FieldDef& d : defs) {
    names.insert(d.name);
    EXPECT_FALSE(d.label.empty()) << d.name;
    EXPECT_FALSE(d.hint.empty()) << d.name;
    if (d.isCheckBox) {
      ++boxes;
      EXPECT_TRUE(d.defaultText == "0" || d.defaultText == "1") << d.name;
    }
  }
  EXPECT_EQ(names.size(), 22u);
  EXPECT_EQ(boxes, 7);
  // The edit fields come first, the option boxes after them.
  for (std::size_t i = 0; i < defs.size(); ++i) EXPECT_EQ(defs[i].isCheckBox, i >= 15);
}

TEST(TransformerFields, DefaultsReadAsTheDefaultCoilPair) {
  const CoilPair c = Read({});
  EXPECT_TRUE(c.InputsRead);
  EXPECT_EQ(c.N1, 12.0L);
  EXPECT_EQ(c.h1, 0.1L);
  EXPECT_EQ(c.rmin1, 0.1L);
  EXPECT_EQ(c.rmax1, 0.1L);
  EXPECT_EQ(c.b1, 0.0L);
  EXPECT_EQ(c.wd1, 0.001L);
  EXPECT_EQ(c.N2, 1152.0L);
  EXPECT_EQ(c.h2, 0.32L);
  EXPECT_EQ(c.rmin2, 0.044L);
  EXPECT_EQ(c.rmax2, 0.044L);
  EXPECT_EQ(c.b2, 0.0L);
  EXPECT_EQ(c.wd2, 0.0002L);
  EXPECT_EQ(c.ns1, 20);
  EXPECT_EQ(c.ns2, 20);
  EXPECT_EQ(c.nsm, 2000);
  EXPECT_EQ(Read(TransformerDefaults()).N2, c.N2);
  EXPECT_FALSE(CheckTransformerInputs(c).has_value());
}

TEST(TransformerFields, EachFieldLandsInItsOwnVariable) {
  const CoilPair c = Read({{"En1", "1.5"}, {"Eh1", "2.5"}, {"Er1", "3.5"}, {"Es1", "4.5"},
                           {"Eb1", "5.5"}, {"Ewd1", "6.5"}, {"En2", "7.5"}, {"Eh2", "8.5"},
                           {"Er2", "9.5"}, {"Es2", "10.5"}, {"Eb2", "11.5"}, {"Ewd2", "12.5"},
                           {"Ens1", "13"}, {"Ens2", "14"}, {"Ensm", "15"}});
  const Extended got[] = {c.N1, c.h1, c.rmin1, c.rmax1, c.b1, c.wd1,
                          c.N2, c.h2, c.rmin2, c.rmax2, c.b2, c.wd2};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(got[i], i + 1.5L) << i;
  EXPECT_EQ(c.ns1, 13);
  EXPECT_EQ(c.ns2, 14);
  EXPECT_EQ(c.nsm, 15);
}

TEST(TransformerFields, OptionBoxes) {
  const TransformerOptions d = ReadTransformerOptions({});
  EXPECT_TRUE(d.CBm && d.CBML1 && d.CBML2 && d.CBel);
  EXPECT_FALSE(d.CBOudin || d.CBjvj || d.CBparalelo);
  const TransformerOptions o =
      ReadTransformerOptions({{"CBm", "0"}, {"CBOudin", "1"}, {"CBel", "0"}, {"CBparalelo", "1"}});
  EXPECT_FALSE(o.CBm);
  EXPECT_TRUE(o.CBOudin);
  EXPECT_FALSE(o.CBel);
  EXPECT_TRUE(o.CBparalelo);
  EXPECT_TRUE(o.CBML1);
}

struct CheckCase {
  const char* what;
  FieldValues fields;
  const char* message;  // nullptr: all checks pass
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.what; }

class InputChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(InputChecks, FirstFailingCheckWins) {
  const CheckCase& tc = GetParam();
  const auto got = Check(tc.fields);
  if (tc.message == nullptr) {
    EXPECT_FALSE(got.has_value()) << *got;
  } else {
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, tc.message);
  }
}

const char kDims[] = "The dimensions must be positive";
const char kIntercept[] = "The coils can't intercept";
const char kFewTurns[] = "Too small turns number for the numbers of segments";
const char kSegments[] = "Too large or invalid number of segments (max=10000)";

INSTANTIATE_TEST_SUITE_P(
    Table, InputChecks,
    ::testing::Values(
        CheckCase{"h1 negative", {{"Eh1", "-1"}}, kDims},
        CheckCase{"h2 negative", {{"Eh2", "-0.1"}}, kDims},
        CheckCase{"rmin1 negative", {{"Er1", "-0.1"}}, kDims},
        CheckCase{"rmin2 negative", {{"Er2", "-1e-9"}}, kDims},
        CheckCase{"rmax1 negative", {{"Es1", "-0.1"}}, kDims},
        CheckCase{"rmax2 negative", {{"Es2", "-0.1"}}, kDims},
        CheckCase{"base elevation not tested", {{"Eb1", "-1"}}, nullptr},
        CheckCase{"negative dims before intercept", {{"Eh1", "-1"}, {"Er2", "0.1"}}, kDims},
        CheckCase{"radius 0 accepted", {{"Er1", "0"}, {"Es1", "0"}}, nullptr},
        CheckCase{"same bottom turn", {{"Er2", "0.1"}, {"Es2", "0.1"}}, kIntercept},
        CheckCase{"same radius, other base", {{"Er2", "0.1"}, {"Es2", "0.1"}, {"Eb2", "0.01"}},
                  nullptr},
        CheckCase{"primary wire", {{"Ewd1", "0.02"}},
                  "The primary wire is too thick (max=~0.01667)"},
        CheckCase{"12.5 turns count 13 pitches", {{"En1", "12.5"}, {"Ewd1", "0.016"}},
                  "The primary wire is too thick (max=~0.01538)"},
        CheckCase{"12 turns take that wire", {{"Ewd1", "0.016"}}, nullptr},
        CheckCase{"one turn has no pitch", {{"En1", "1"}, {"Ewd1", "0.5"}}, nullptr},
        CheckCase{"conical pitch along the side",
                  {{"Eh1", "0.03"}, {"Es1", "0.14"}, {"Ewd1", "0.0085"}},
                  "The primary wire is too thick (max=~0.00833)"},
        CheckCase{"secondary wire", {{"Ewd2", "0.001"}},
                  "The secondary wire is too thick (max=~0.00056)"},
        CheckCase{"primary wire reported first", {{"Ewd1", "0.02"}, {"Ewd2", "0.001"}},
                  "The primary wire is too thick (max=~0.01667)"},
        CheckCase{"empty height makes a flat coil with no room",
                  {{"Eh1", ""}}, "The primary wire is too thick (max=~0.00000)"},
        CheckCase{"no turns", {{"En1", "0"}}, kFewTurns},
        CheckCase{"empty turns field reads 0", {{"En1", ""}}, kFewTurns},
        CheckCase{"unreadable turns field reads 0", {{"En1", "abc"}}, kFewTurns},
        CheckCase{"less than one segment on coil 2", {{"En2", "0.04"}}, kFewTurns},
        CheckCase{"exactly one segment", {{"En1", "0.05"}}, nullptr},
        CheckCase{"ns1 zero", {{"Ens1", "0"}}, kSegments},
        CheckCase{"ns1 empty", {{"Ens1", ""}}, kSegments},
        CheckCase{"ns2 negative", {{"Ens2", "-3"}}, kSegments},
        CheckCase{"ns2 fractional text reads 0", {{"Ens2", "2.5"}}, kSegments},
        CheckCase{"nsm above the limit", {{"Ensm", "10001"}}, kSegments},
        CheckCase{"nsm at the limit", {{"Ensm", "10000"}}, nullptr},
        CheckCase{"zero count skips the turn test", {{"Ens1", "0"}, {"En1", "0"}}, kSegments}),
    [](const ::testing::TestParamInfo<CheckCase>& info) {
      std::string s;
      for (const char* p = info.param.what; *p; ++p)
        s += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
      return s;
    });

// Through the command: one empty line, the message, nothing else; a refusal.
TEST(CalculateChecks, RejectedInputWritesOneLineAfterTheBlank) {
  CommandEnv env;
  const std::vector<std::pair<FieldValues, std::string>> cases = {
      {{{"Eh1", "-1"}}, kDims},
      {{{"Ewd1", "0.02"}}, "The primary wire is too thick (max=~0.01667)"},
      {{{"En1", ""}}, kFewTurns},
      {{{"Ens1", "0"}}, kSegments},
  };
  for (const auto& [fields, message] : cases) {
    const Result r = RunCommand(TransformerFieldDefs(), &TransformerCommand, fields, env);
    EXPECT_EQ(r.lines, (std::vector<std::string>{"", message}));
    EXPECT_EQ(r.status, CommandStatus::Refused);
    EXPECT_EQ(r.message, message);
  }
}

// Texts that are no numbers: the one line that names the field, before the blank line
// of Calculate; nothing drawn, no values.
TEST(CalculateChecks, TypedNumbersAreRefusedBeforeTheCommand) {
  const struct {
    const char* name;
    const char* text;
    const char* label;
  } rows[] = {
      {"Er2", "0,08", "Min. radius 2"},          {"Eh2", "0.6m", "Height 2"},
      {"En2", "1000 turns", "Number of turns 2"}, {"Ewd1", "1/1000", "Wire diameter 1"},
      {"Ens1", "20.5", "Segments/turn for M"},   {"Ensm", "2e3", "Segs./turn for L"},
  };
  for (const auto& r : rows) {
    RecordingCanvas canvas(kArrangementSize, kArrangementSize);
    CommandEnv env;
    env.canvas = &canvas;
    const Result result =
        RunCommand(TransformerFieldDefs(), &TransformerCommand, {{r.name, r.text}}, env);
    const std::string line = std::string("Invalid number in \"") + r.label + "\": " + r.text +
                             " (use \".\" as the decimal point)";
    EXPECT_EQ(result.lines, std::vector<std::string>{line});
    EXPECT_EQ(result.status, CommandStatus::Refused);
    EXPECT_EQ(result.message, line);
    EXPECT_TRUE(result.values.empty());
    EXPECT_TRUE(canvas.calls.empty()) << r.name;
  }
}

TEST(CalculateChecks, RejectedInputLeavesRunningStateAndDrawingAlone) {
  RecordingCanvas canvas(kArrangementSize, kArrangementSize);
  CommandEnv env;
  env.canvas = &canvas;
  int changes = 0;
  env.onRunningChanged = [&](bool) { ++changes; };
  const Result r = RunCommand(TransformerFieldDefs(), &TransformerCommand, {{"Eh2", "-1"}}, env);
  EXPECT_EQ(r.lines, (std::vector<std::string>{"", kDims}));
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(canvas.calls.empty());
}

// The context's running state: listeners hear each change once, and a stop request is
// read through the environment's function.
TEST(TransformerContextState, RunningChangesAndStopRequests) {
  CommandEnv env;
  std::vector<bool> heard;
  bool stop = false;
  env.onRunningChanged = [&](bool r) { heard.push_back(r); };
  env.stopRequested = [&] { return stop; };
  TransformerContext ctx(env);
  EXPECT_FALSE(ctx.Running());
  ctx.SetRunning(true);
  ctx.SetRunning(true);
  EXPECT_TRUE(ctx.Running());
  EXPECT_FALSE(ctx.StopRequested());
  stop = true;
  EXPECT_TRUE(ctx.StopRequested());
  ctx.SetRunning(false);
  EXPECT_EQ(heard, (std::vector<bool>{true, false}));
  // Without a canvas the context draws on a blank area of the window's size.
  EXPECT_EQ(ctx.canvas->Width(), kArrangementSize);
}

// The bounds on the work of one Calculate, each just past its limit and a realistic
// coil just inside.
TEST(CalculateChecks, WorkBounds) {
  struct Row {
    FieldValues fields;
    const char* message;  // nullptr: accepted
  };
  const char kTurns[] = "Too many turns (max=100000)";
  const char kRingSum[] = "Too many turns for the ring sum of a conical or flat coil (max=2000)";
  const Row rows[] = {
      {{}, nullptr},
      {{{"En2", "100001"}, {"Ewd2", "0"}}, kTurns},
      {{{"En1", "1e308"}, {"Ewd1", "0"}}, kTurns},
      // 3163 x 3163 ring pairs for M; without M only the turns count.
      {{{"En1", "3163"}, {"Eh1", "1"}, {"Ewd1", "0"}, {"En2", "3163"}, {"Eh2", "1"}, {"Ewd2", "0"}},
       "Too many turn pairs for M (max=10000000)"},
      {{{"En1", "3163"}, {"Eh1", "1"}, {"Ewd1", "0"}, {"En2", "3163"}, {"Eh2", "1"}, {"Ewd2", "0"},
        {"CBm", "0"}},
       nullptr},
      // True spirals: 12 x 1152 turns with 270 segments each pass 1e9 segment pairs.
      {{{"CBel", "0"}, {"Ens1", "270"}, {"Ens2", "270"}}, "Too many segment pairs for M (max=1000000000)"},
      {{{"CBel", "0"}, {"Ens1", "200"}, {"Ens2", "200"}}, nullptr},
      // A conical secondary of 2001 turns summed ring by ring, in series and in parallel.
      {{{"Es2", "0.05"}, {"En2", "2001"}, {"Ewd2", "0.0001"}}, kRingSum},
      {{{"Es2", "0.05"}, {"En2", "2001"}, {"Ewd2", "0.0001"}, {"CBML2", "0"}}, nullptr},
      {{{"Es2", "0.05"}, {"En2", "2001"}, {"Ewd2", "0.0001"}, {"CBML2", "0"}, {"CBparalelo", "1"}},
       kRingSum},
      {{{"Es2", "0.05"}, {"En2", "2000"}, {"Ewd2", "0.0001"}}, nullptr},
  };
  for (const Row& row : rows) {
    const CoilPair c = Read(row.fields);
    ASSERT_FALSE(CheckTransformerInputs(c).has_value());
    const auto got = CheckTransformerWork(c, ReadTransformerOptions(row.fields));
    if (row.message == nullptr) {
      EXPECT_FALSE(got.has_value()) << *got;
    } else {
      EXPECT_EQ(got.value_or("accepted"), row.message);
    }
  }
  // Through the command: the message after the empty line, nothing computed.
  EXPECT_EQ(command_run::LinesOf(TransformerFieldDefs(), &TransformerCommand,
                                 {{"En2", "1e9"}, {"Ewd2", "0"}}),
            (std::vector<std::string>{"", kTurns}));
}

// The true-spiral Maxwell L where no Stop can end it: a solenoid by its segments, a
// conical or flat coil by its segment pairs, each just past its bound and just inside;
// coils whose L is not a true-spiral sum pass whatever their size.
TEST(CalculateChecks, UnstoppableTrueSpiralBounds) {
  const char kSegments[] = "Too many segments for L (max=100000000)";
  const char kPairs[] = "Too many segment pairs for L (max=1000000000)";
  // A long thin secondary of 10^4 turns at 10^4 segments a turn: 10^8 segments.
  const FieldValues longSecondary{{"CBel", "0"}, {"Ensm", "10000"}, {"En2", "10000"},
                                  {"Eh2", "1"}, {"Ewd2", "0.00005"}};
  auto with = [](FieldValues f, std::initializer_list<std::pair<const char*, const char*>> set) {
    for (const auto& [name, text] : set) f[name] = text;
    return f;
  };
  struct Row {
    FieldValues fields;
    const char* message;  // nullptr: accepted
  };
  const Row rows[] = {
      {longSecondary, nullptr},
      {with(longSecondary, {{"En2", "10001"}}), kSegments},
      {with(longSecondary, {{"En2", "10000.01"}}), kSegments},  // the general sum, linear too
      {with(longSecondary, {{"En2", "10001"}, {"CBML2", "0"}}), nullptr},
      {with(longSecondary, {{"En2", "10001"}, {"CBel", "1"}}), nullptr},
      // A conical primary of 15.82 turns at 2000 segments a turn: 31640^2 pairs.
      {{{"CBel", "0"}, {"Es1", "0.12"}, {"En1", "15.82"}}, kPairs},
      {{{"CBel", "0"}, {"Es1", "0.12"}, {"En1", "15.8"}, {"CBML2", "0"}}, nullptr},
      {{{"CBel", "0"}, {"Es1", "0.12"}, {"En1", "15.82"}, {"CBML1", "0"}, {"CBML2", "0"}}, nullptr},
      // The primary in parallel loops takes the circular ring sums.
      {{{"CBel", "0"}, {"Es2", "0.06"}, {"CBparalelo", "1"}}, nullptr},
      {{{"CBel", "0"}, {"Es2", "0.06"}}, kPairs},  // the default secondary made conical
  };
  for (const Row& row : rows) {
    const CoilPair c = Read(row.fields);
    const TransformerOptions opt = ReadTransformerOptions(row.fields);
    ASSERT_FALSE(CheckTransformerInputs(c).has_value());
    ASSERT_FALSE(CheckTransformerWork(c, opt).has_value());
    const auto got = CheckUnstoppableWork(c, opt);
    if (row.message == nullptr) {
      EXPECT_FALSE(got.has_value()) << *got;
    } else {
      EXPECT_EQ(got.value_or("accepted"), row.message);
      // quor-cli's command: the message after the empty line, nothing computed.
      const Result refused = command_run::Run(TransformerFieldDefs(), &TransformerCommand, row.fields);
      EXPECT_EQ(refused.status, CommandStatus::Refused);
      EXPECT_EQ(refused.lines, (std::vector<std::string>{"", row.message}));
    }
  }
}
