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

}  // namespace

TEST(CliJson, EveryCommandsDefaultRunHoldsTheTextLinesAndTheirNumbersAsValues) {
  for (const CliCommand& c : CliCommands()) {
    SCOPED_TRACE(c.name);
    const std::vector<std::string> args = DefaultArgs(c);
    const CliOutput text = Cli(args);
    std::vector<std::string> jsonArgs = args;
    jsonArgs.insert(jsonArgs.end(), {"--format", "json"});
    const CliOutput json = Cli(jsonArgs);
    ASSERT_EQ(text.status, 0) << text.err;
    ASSERT_EQ(json.status, 0) << json.err;

    const std::vector<std::string> records = SplitLines(json.out);
    ASSERT_EQ(records.size(), 1u);
    const json_reader::Value run = json_reader::Parse(records[0]);
    EXPECT_EQ(run["command"].text, c.name);
    EXPECT_EQ(run["status"].text, "ok");
    EXPECT_FALSE(run.Has("message"));

    std::vector<std::string> lines;
    for (const auto& l : run["lines"].items) lines.push_back(l.text);
    EXPECT_EQ(lines, SplitLines(text.out));

    // The field texts used are the window's defaults, in its order.
    CliInvocation invocation;
    std::ostringstream ignored;
    ASSERT_EQ(ParseCliArgs(args, invocation, ignored, ignored), kRunCommand);
    const json_reader::Value& fields = run["fields"];
    ASSERT_EQ(fields.members.size(), invocation.fieldDefs->size());
    for (std::size_t i = 0; i < fields.members.size(); ++i) {
      EXPECT_EQ(fields.members[i].first, (*invocation.fieldDefs)[i].name);
      EXPECT_EQ(fields.members[i].second.text, (*invocation.fieldDefs)[i].defaultText);
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
        lines, values, value_coverage::FieldNumbers(*invocation.fieldDefs, invocation.fields));
  }
}
