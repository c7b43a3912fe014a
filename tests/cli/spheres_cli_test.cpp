// quor-cli spheres: the window's lines after the breakdown setting given before it.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"

TEST(CliSpheres, EmaxBeforeTheCommandScalesTheBreakdownVoltages) {
  std::ostringstream out, err;
  EXPECT_EQ(RunCli({"Emax=1500", "spheres", "Edistance=0.03"}, out, err), 0);
  const std::string text = out.str();
  EXPECT_EQ(text.substr(0, text.find("Capacitance")),
            "Maximum electric field set to 1500.0 kV/m\n\nAdjacent spheres:\n");
  EXPECT_NE(text.find("\nVbreakdown:  25.42 kV\n"), std::string::npos);
  EXPECT_EQ(err.str(), "");
  std::ostringstream out2, err2;
  EXPECT_EQ(RunCli({"spheres", "Eradius=1"}, out2, err2), 2);
}
