// The values of every command of quor-cli's table that documents them: a default run
// returns only documented keys with their units, and COMMAND --help lists each.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "cli/cli.h"
#include "cli/commands.h"
#include "support/value_coverage.h"

TEST(CliValues, DefaultRunsReturnDocumentedKeysThatHelpLists) {
  int documented = 0;
  for (const CliCommand& c : CliCommands()) {
    if (!c.values) continue;
    ++documented;
    // The fields quor-cli starts from: the command's own, or those of the window an
    // argument names (the first choice).
    FieldValues fields = DefaultValues(c.fields());
    CommandEnv env;
    env.directory = ::testing::TempDir();
    for (const CliArgumentDef& a : c.arguments) {
      const std::string value =
          a.choices.empty() ? ::testing::TempDir() + "values_" + c.name : a.choices.front();
      env.arguments[a.name] = value;
      if (a.namesCommand) fields = DefaultValues(FindCliCommand(value)->fields());
    }
    const Result r = RunCommand(c, fields, env);
    EXPECT_TRUE(r.Ok()) << c.name << ": " << r.message;
    value_coverage::ExpectDocumented(r, c.values());

    std::ostringstream out, err;
    std::vector<std::string> args{c.name};
    for (const CliArgumentDef& a : c.arguments) args.push_back(env.arguments[a.name]);
    args.push_back("--help");
    ASSERT_EQ(RunCli(args, out, err), 0) << c.name << err.str();
    const std::string help = out.str();
    for (const ValueDef& v : c.values())
      EXPECT_NE(help.find("\n  " + v.key + " "), std::string::npos) << c.name << " " << v.key;
    if (c.values().empty()) {
      EXPECT_NE(help.find("\nValues: none\n"), std::string::npos) << c.name;
    }
  }
  EXPECT_GE(documented, 11);
}
