// quor-cli runs the elliptic tables, the couplings and the self-capacitance as the
// windows do.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "command_run.h"
#include "elliptic_test/elliptic_tables.h"
#include "transformer/couplings.h"
#include "transformer/coil_pair.h"
#include "transformer/self_capacitance.h"
#include "numerics/library_namespaces.h"

namespace {

std::string Joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\n";
  return s;
}

}  // namespace

TEST(CliTables, PrintTheLinesOfTheirCommands) {
  using command_run::LinesOf;
  FieldValues flat = TransformerDefaults();
  flat["Eh2"] = "0";
  const std::pair<std::vector<std::string>, std::string> runs[] = {
      {{"elliptic", "RG123=1", "CBSimpson=1", "Enk=2"},
       Joined(LinesOf(CompleteIntegralsFieldDefs(), &CompleteIntegralsCommand,
                      {{"RG123", "1"}, {"CBSimpson", "1"}, {"Enk", "2"}}))},
      {{"elliptic-incomplete", "Eask2=60", "CBh=0"},
       Joined(LinesOf(IncompleteIntegralsFieldDefs(), &IncompleteIntegralsCommand,
                      {{"Eask2", "60"}, {"CBh", "0"}}))},
      {{"couplings"}, Joined(LinesOf(CouplingsFieldDefs(), &CouplingsCommand))},
      {{"selfcap", "Eh2=0"}, Joined(LinesOf(TransformerFieldDefs(), &SelfCapacitanceCommand, flat))},
  };
  for (const auto& [args, expected] : runs) {
    std::ostringstream out, err;
    // A flat secondary has no Medhurst capacitance: the command ends on that refusal.
    EXPECT_EQ(RunCli(args, out, err), args[0] == "selfcap" ? 3 : 0) << args[0];
    EXPECT_EQ(out.str(), expected) << args[0];
    EXPECT_EQ(err.str(), "") << args[0];
  }
  // Check boxes take 1 or 0; couplings has no fields; a height beyond the number range
  // is a fault.
  std::ostringstream out, err;
  EXPECT_EQ(RunCli({"elliptic", "CBk2c2=yes"}, out, err), 2);
  EXPECT_EQ(RunCli({"couplings", "En1=3"}, out, err), 2);
  std::ostringstream fout, ferr;
  EXPECT_EQ(RunCli({"selfcap", "Eh1=1e4932"}, fout, ferr), 1);
  EXPECT_EQ(ferr.str(), "quor-cli: selfcap: Floating point division by zero\n");
  EXPECT_EQ(fout.str(), "\nPrimary:\n");
}
