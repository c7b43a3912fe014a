// quor-cli partial and sheet: the windows' lines, probes after the calculation, and
// malformed probes refused before anything is printed.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "command_run.h"
#include "electrostatics/conical_sheet.h"
#include "electrostatics/partial_toroid.h"
#include "numerics/library_namespaces.h"

namespace {

struct CliResult {
  int status = -1;
  std::string out, err;
};

CliResult Cli(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  CliResult r;
  r.status = RunCli(args, out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\n";
  return s;
}

}  // namespace

TEST(CliRings, PartialWithProbesAndSheetPrintTheCommandsLines) {
  CommandEnv env = command_run::WithBreakdown(1500);
  env.probes = {{500, 120}, {60, 140}};
  const Result partial =
      command_run::Run(PartialFieldDefs(), &PartialCommand, {{"Enrings", "40"}}, env);
  const CliResult p = Cli({"Emax=1500", "partial", "Enrings=40", "--probe", "500,120", "--probe=60,140"});
  EXPECT_EQ(p.status, 0) << p.err;
  EXPECT_EQ(p.out, "Maximum electric field set to 1500.0 kV/m\n" + Joined(partial.lines));

  EXPECT_EQ(Cli({"sheet", "Eheight=0"}).out,
            Joined(command_run::LinesOf(SheetFieldDefs(), &SheetCommand, {{"Eheight", "0"}})));
}

TEST(CliRings, MalformedProbesAndOptionsAreUsageErrors) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"partial", "--probe", "500"},
           {"partial", "--probe", "500;120"},
           {"partial", "--probe", "5.5,1"},
           {"partial", "--probe=,"},
           {"partial", "--probe"},
           {"sheet", "--probe", "1,2"}}) {
    const CliResult r = Cli(args);
    EXPECT_EQ(r.status, 2) << args.back();
    EXPECT_EQ(r.out, "") << args.back();
    EXPECT_NE(r.err, "") << args.back();
  }
}
