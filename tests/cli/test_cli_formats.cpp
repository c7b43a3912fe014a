// quor-cli's JSON and CSV: for every command of the table, the JSON of a default run
// holds the very lines of the text output, every number printed is one of its values,
// and the values read back to the same long double; refusals and faults carry their
// status and exit status.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/output.h"
#include "support/json_reader.h"
#include "support/value_coverage.h"

namespace {

struct CliOutput {
  int status = 0;
  std::string out, err;
};

CliOutput Cli(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  CliOutput r;
  r.status = RunCli(args, out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
    lines.push_back(text.substr(start, nl - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// The command and its positional arguments for a default run (the first choice of a
// window, a file in the test directory).
std::vector<std::string> DefaultArgs(const CliCommand& c) {
  std::vector<std::string> args{c.name};
  for (const CliArgumentDef& a : c.arguments)
    args.push_back(a.choices.empty() ? ::testing::TempDir() + "formats_" + c.name
                                     : a.choices.front());
  return args;
}

// The values of a JSON run as a Result, the numbers read back from their text.
Result ValuesOf(const json_reader::Value& run) {
  Result r;
  for (const auto& [key, v] : run["values"].members) {
    NamedValue n;
    n.key = key;
    n.unit = v["unit"].text;
    if (v.Has("dims")) {
      for (const auto& d : v["dims"].items) n.dims.push_back(std::stoul(d.text));
      for (const auto& x : v["value"].items) n.numbers.push_back(x.AsNumber());
    } else {
      n.numbers.push_back(v["value"].AsNumber());
    }
    r.values.push_back(n);
  }
  return r;
}

bool SameNumber(long double a, long double b) {
  return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, 10) == 0 || a == b;
}


// The JSON of a run holds the lines quor-cli prints for it, the field texts used, values
// that read back as the long doubles the command computed, and a value for every
// number its lines print.
void ExpectJsonMatchesText(const std::vector<std::string>& args) {
  SCOPED_TRACE(args[0] + (args.size() > 1 ? " " + args[1] : ""));
  const CliOutput text = Cli(args);
  std::vector<std::string> jsonArgs = args;
  jsonArgs.insert(jsonArgs.end(), {"--format", "json"});
  const CliOutput json = Cli(jsonArgs);
  ASSERT_EQ(text.status, 0) << text.err;
  ASSERT_EQ(json.status, 0) << json.err;

  const std::vector<std::string> records = SplitLines(json.out);
  ASSERT_EQ(records.size(), 1u);
  const json_reader::Value run = json_reader::Parse(records[0]);
  EXPECT_EQ(run["command"].text, args[args[0].rfind("Emax=", 0) == 0 ? 1 : 0]);
  EXPECT_EQ(run["status"].text, "ok");
  EXPECT_FALSE(run.Has("message"));

  std::vector<std::string> lines;
  for (const auto& l : run["lines"].items) lines.push_back(l.text);
  EXPECT_EQ(lines, SplitLines(text.out));

  // The field texts used, in the window's order.
  CliInvocation invocation;
  std::ostringstream ignored;
  ASSERT_EQ(ParseCliArgs(args, invocation, ignored, ignored), kRunCommand);
  const json_reader::Value& fields = run["fields"];
  ASSERT_EQ(fields.members.size(), invocation.fieldDefs->size());
  FieldValues used = invocation.fields;
  for (const auto& [name, value] : invocation.overrides) used[name] = value;
  for (std::size_t i = 0; i < fields.members.size(); ++i) {
    const std::string& name = (*invocation.fieldDefs)[i].name;
    EXPECT_EQ(fields.members[i].first, name);
    EXPECT_EQ(fields.members[i].second.text, used[name]);
  }

  // Every value reads back as the long double the command computed.
  const Result values = ValuesOf(run);
  const CollectedRun direct = RunCollected(invocation);
  ASSERT_EQ(values.values.size(), direct.result.values.size());
  for (std::size_t i = 0; i < values.values.size(); ++i) {
    const NamedValue& a = values.values[i];
    const NamedValue& b = direct.result.values[i];
    EXPECT_EQ(a.key, b.key);
    EXPECT_EQ(a.unit, b.unit);
    EXPECT_EQ(a.dims, b.dims);
    ASSERT_EQ(a.numbers.size(), b.numbers.size()) << a.key;
    for (std::size_t k = 0; k < a.numbers.size(); ++k)
      EXPECT_TRUE(SameNumber(a.numbers[k], b.numbers[k])) << a.key << "[" << k << "]";
  }

  value_coverage::ExpectEveryPrintedNumberIsAValue(
      lines, values, value_coverage::FieldNumbers(*invocation.fieldDefs, used));
}

}  // namespace

TEST(CliJson, EveryCommandsDefaultRunHoldsTheTextLinesAndTheirNumbersAsValues) {
  for (const CliCommand& c : CliCommands()) ExpectJsonMatchesText(DefaultArgs(c));
}

// The listings and probes that default runs leave out: per-ring tables (angles printed
// in degrees, kept in radians), probe lines by pixel and by point.
TEST(CliJson, ListingsAndProbesHoldTheirNumbersAsValues) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"partial", "CBlistar=1", "--probe", "500,120", "--probe-at", "0.3,0.1"},
           {"sheet", "CBlsheet=1"},
           {"structure", "CBlistar=1", "--probe-at", "0.3,0.2"},
           {"toroid", "CBdetails=1"},
           {"elliptic-incomplete", "Ephi1=30"},
           {"Emax=2000", "spheres"},
           {"transformer", "CBOudin=1", "CBjvj=1", "En2=300"},
           {"transformer", "CBparalelo=1", "CBel=0", "En2=100", "Ensm=100"},
           {"transformer", "CBm=0", "En2=300"},
           {"resonator", "RGtopload=1", "Ecprimary=20"},
           {"resonator", "RGtopload=2", "Etheight=0.15"},
           {"selfcap", "En2=300"}})
    ExpectJsonMatchesText(args);
}


namespace {

json_reader::Value OnlyRecord(const CliOutput& r) {
  const std::vector<std::string> records = SplitLines(r.out);
  EXPECT_EQ(records.size(), 1u) << r.out;
  return json_reader::Parse(records.empty() ? "null" : records[0]);
}

std::vector<std::string> Plus(std::vector<std::string> args, std::vector<std::string> more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

// RFC 4180 records (CRLF line ends, quoted fields with doubled quotes).
std::vector<std::vector<std::string>> ReadCsv(const std::string& text) {
  std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    std::string& field = rows.back().back();
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') field += '"', ++i;
      else if (c == '"') quoted = false;
      else field += c;
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      rows.back().emplace_back();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      ++i;
      if (i + 1 < text.size()) rows.emplace_back(1);
    } else {
      field += c;
    }
  }
  return rows;
}

}  // namespace

// A refusal is "refused" with the refusal line as its message and exit status 3; a fault
// "fault" with the message the text output writes on stderr and exit status 1; in JSON
// and in CSV alike.
TEST(CliJson, RefusalsAndFaultsCarryTheirStatusAndMessage) {
  const std::string missing = ::testing::TempDir() + "no-such-dir/";
  const struct {
    std::vector<std::string> args;
    int exit;
    const char* status;
  } cases[] = {
      {{"transformer", "En2=1000 turns"}, 3, "refused"},
      {{"partial", "Enrings=201"}, 3, "refused"},
      {{"Emax=abc", "toroid"}, 3, "refused"},
      {{"structure", "Mlista=Xwire a 3 0 0 1 1"}, 3, "refused"},
      {{"transformer", "Er1=0", "Es1=0"}, 1, "fault"},
      {{"spheres", "Ev1=1e4932"}, 1, "fault"},
      {{"structure", "--cap", missing + "a.cap"}, 1, "fault"},
      {{"save-trd", missing + "a.trd"}, 1, "fault"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[1]);
    const CliOutput text = Cli(c.args);
    const CliOutput json = Cli(Plus(c.args, {"--format", "json"}));
    const CliOutput csv = Cli(Plus(c.args, {"--format=csv"}));
    EXPECT_EQ(text.status, c.exit);
    EXPECT_EQ(json.status, c.exit);
    EXPECT_EQ(csv.status, c.exit);
    const json_reader::Value run = OnlyRecord(json);
    EXPECT_EQ(run["status"].text, c.status);
    std::vector<std::string> lines;
    for (const auto& l : run["lines"].items) lines.push_back(l.text);
    EXPECT_EQ(lines, SplitLines(text.out));
    if (c.exit == 3) {
      // The refusal is the last line written.
      ASSERT_FALSE(lines.empty());
      EXPECT_EQ(run["message"].text, lines.back());
    } else {
      EXPECT_EQ(text.err, "quor-cli: " + c.args[0] + ": " + run["message"].text + "\n");
    }
    const auto rows = ReadCsv(csv.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][1], c.status);
    EXPECT_EQ(rows[1][2], run["message"].text);
  }
}

// A sweep runs the product of its axes in order, the last varying fastest; each row is
// the run quor-cli makes with those texts given as NAME=VALUE, whatever the number of
// threads; a refused or failed run has its own row and the sweep goes on; the exit
// status is the worst of the runs.
TEST(CliSweep, ProductInOrderEqualToSingleRunsWhateverTheThreads) {
  const std::vector<std::string> base = {"transformer", "Ensm=200", "--format", "json",
                                         "--sweep",     "En2=20:80:4", "--sweep",
                                         "Er2=0.03,abc,0.05"};
  const CliOutput one = Cli(Plus(base, {"--jobs", "1"}));
  const CliOutput three = Cli(Plus(base, {"--jobs=3"}));
  EXPECT_EQ(one.status, 3);
  EXPECT_EQ(three.status, 3);
  EXPECT_EQ(one.out, three.out);
  const std::vector<std::string> records = SplitLines(three.out);
  ASSERT_EQ(records.size(), 12u);
  const char* turns[] = {"20", "40", "60", "80"};
  const char* radii[] = {"0.03", "abc", "0.05"};
  for (std::size_t i = 0; i < records.size(); ++i) {
    const json_reader::Value run = json_reader::Parse(records[i]);
    const json_reader::Value& swept = run["sweep"];
    ASSERT_EQ(swept.members.size(), 2u);
    EXPECT_EQ(swept["En2"].text, turns[i / 3]);
    EXPECT_EQ(swept["Er2"].text, radii[i % 3]);
    EXPECT_EQ(run["fields"]["En2"].text, turns[i / 3]);
    EXPECT_EQ(run["status"].text, i % 3 == 1 ? "refused" : "ok");
    // The same run on its own.
    const CliOutput single = Cli({"transformer", "Ensm=200", std::string("En2=") + turns[i / 3],
                                  std::string("Er2=") + radii[i % 3], "--format", "json"});
    const json_reader::Value alone = OnlyRecord(single);
    EXPECT_EQ(alone["lines"].items.size(), run["lines"].items.size());
    ASSERT_EQ(alone["values"].members.size(), run["values"].members.size());
    for (std::size_t k = 0; k < alone["values"].members.size(); ++k)
      EXPECT_EQ(alone["values"].members[k].second["value"].text,
                run["values"].members[k].second["value"].text);
  }

  // A fault in the middle: its row, then the next run; exit status 1.
  const CliOutput faults = Cli({"transformer", "Ensm=200", "Es1=0", "--format", "csv", "--sweep",
                                "Er1=0.1,0,0.12"});
  EXPECT_EQ(faults.status, 1);
  const auto rows = ReadCsv(faults.out);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[1][1], "ok");
  EXPECT_EQ(rows[2][1], "fault");
  EXPECT_EQ(rows[3][1], "ok");
}

// The texts of the ranges: both ends as given, the points between evenly spaced in
// value or in logarithm.
TEST(CliSweep, RangesAndTheirUsageErrors) {
  const struct {
    const char* option;
    std::vector<long double> values;
  } ranges[] = {
      {"En2=100:400:4", {100, 200, 300, 400}},
      {"En2=0.1:0.2:3", {0.1L, 0.15L, 0.2L}},
      {"En2=1:1000:4:log", {1, 10, 100, 1000}},
      {"En2=-8:-0.5:3:log", {-8, -2, -0.5L}},
      {"En2=5:9:1", {5}},
      {"En2=1e-3,2.5,x", {1e-3L, 2.5L, NAN}},
  };
  for (const auto& r : ranges) {
    const SweepAxis axis = ParseSweep(r.option);
    EXPECT_EQ(axis.name, "En2");
    ASSERT_EQ(axis.texts.size(), r.values.size()) << r.option;
    for (std::size_t i = 0; i < r.values.size(); ++i) {
      if (std::isnan(r.values[i])) continue;
      const long double v = std::strtold(axis.texts[i].c_str(), nullptr);
      EXPECT_NEAR(static_cast<double>(v / r.values[i]), 1.0, 1e-16)
          << r.option << " " << axis.texts[i];
    }
  }
  EXPECT_EQ(ParseSweep("En2=x,y").texts[1], "y");

  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"transformer", "--sweep", "En2=1:2"},
           {"transformer", "--sweep", "En2=1:2:0"},
           {"transformer", "--sweep", "En2=1:2:1000001"},
           {"transformer", "--sweep", "En2=1:2:1000", "--sweep", "Er2=1:2:1001"},
           {"transformer", "--sweep", "En2=1:2:3:lin"},
           {"transformer", "--sweep", "En2=a:2:3"},
           {"transformer", "--sweep", "En2=-1:1:3:log"},
           {"transformer", "--sweep", "=1,2"},
           {"transformer", "--sweep", "Nope=1,2"},
           {"transformer", "--sweep", "CBel=0,2"},
           {"transformer", "--sweep", "En2=1,2", "--sweep", "En2=3,4"},
           {"transformer", "--jobs", "0"},
           {"transformer", "--format", "xml"},
           {"transformer", "--sweep"},
           {"structure", "--plot", "x.png", "--sweep", "CBlistar=0,1"}}) {
    const CliOutput r = Cli(args);
    EXPECT_EQ(r.status, 2) << args[1] << " " << (args.size() > 2 ? args[2] : "");
    EXPECT_EQ(r.out, "");
  }
}

// --probe-at R,Z probes the exact point: at the point a pixel probe stands for, its line
// is the pixel probe's and its values the same; probes are numbered in the order given.
TEST(CliProbeAt, TheExactPointOfAPixelGivesThePixelsProbe) {
  for (const char* command : {"structure", "partial"}) {
    SCOPED_TRACE(command);
    const std::string pixel = std::string(command) == "partial" ? "500,120" : "240,100";
    const json_reader::Value byPixel =
        OnlyRecord(Cli({command, "--probe", pixel, "--format", "json"}));
    const json_reader::Value& values = byPixel["values"];
    const std::string at =
        values["probe1_r"]["value"].text + "," + values["probe1_z"]["value"].text;
    const CliOutput text = Cli({command, "--probe", pixel, "--probe-at", at});
    const CliOutput json = Cli({command, "--probe", pixel, "--probe-at", at, "--format", "json"});
    ASSERT_EQ(text.status, 0) << text.err;
    const json_reader::Value both = OnlyRecord(json);
    // The lines of the pixel's probe, written twice.
    const std::size_t single = byPixel["lines"].items.size();
    const std::size_t probeLines = both["lines"].items.size() - single;
    ASSERT_GT(probeLines, 0u);
    for (std::size_t i = 0; i < probeLines; ++i)
      EXPECT_EQ(both["lines"].items[single + i].text,
                both["lines"].items[single - probeLines + i].text);
    for (const auto& [key, v] : both["values"].members) {
      if (key.rfind("probe2_", 0) != 0) continue;
      const long double a = v["value"].AsNumber();
      const long double b = both["values"]["probe1_" + key.substr(7)]["value"].AsNumber();
      EXPECT_NEAR(static_cast<double>(a), static_cast<double>(b),
                  1e-15 * std::fabs(static_cast<double>(b)))
          << key;
    }
  }
  // On the axis of the partial toroid: no radial sum to divide by zero, and no exact
  // values there.
  const CliOutput axis = Cli({"partial", "--probe-at", "0,0.1"});
  EXPECT_EQ(axis.status, 0);
  EXPECT_NE(axis.out.find("r: 0.000 z: 0.100 V: "), std::string::npos);
  EXPECT_NE(axis.out.find("Exact values are not defined on the axis"), std::string::npos);

  for (const char* bad : {"1", "1;2", "a,1", "1,", "1,nan", "1,inf", "0x1,2", "1e400,0", " 1,2"})
    EXPECT_EQ(Cli({"structure", "--probe-at", bad}).status, 2) << bad;
  EXPECT_EQ(Cli({"sheet", "--probe-at", "1,2"}).status, 2);
}
