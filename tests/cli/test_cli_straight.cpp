// quor-cli straight and spiral: the lines of the panels' commands on stdout.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "command_run.h"
#include "straight/spiral.h"
#include "straight/straight_wires.h"
#include "numerics/library_namespaces.h"

namespace {

std::string Joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\n";
  return s;
}

}  // namespace

TEST(CliStraight, CommandsPrintThePanelsLines) {
  using command_run::LinesOf;
  struct Row {
    std::vector<std::string> args;
    std::vector<std::string> lines;
    int status = 0;
  };
  const Row rows[] = {
      {{"straight", "Elength2=0.5", "Eoffset=0.2"},
       LinesOf(StraightFieldDefs(), &StraightCommand, {{"Elength2", "0.5"}, {"Eoffset", "0.2"}})},
      {{"straight", "Edistance=0"},
       LinesOf(StraightFieldDefs(), &StraightCommand, {{"Edistance", "0"}}), 3},  // overlap
      {{"spiral", "Esn=3", "CBdet=1", "CBflat=1"},
       LinesOf(SpiralFieldDefs(), &SpiralCommand, {{"Esn", "3"}, {"CBdet", "1"}, {"CBflat", "1"}})},
  };
  for (const Row& r : rows) {
    std::ostringstream out, err;
    EXPECT_EQ(RunCli(r.args, out, err), r.status);
    EXPECT_EQ(out.str(), Joined(r.lines));
    EXPECT_EQ(err.str(), "");
  }
  // Each command takes the fields of its own panel only.
  std::ostringstream out, err;
  EXPECT_EQ(RunCli({"spiral", "Elength1=2"}, out, err), 2);
  EXPECT_NE(err.str().find("unknown field 'Elength1'"), std::string::npos);
}
