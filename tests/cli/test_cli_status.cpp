// quor-cli's exit statuses over every kind of ending: 0 a result, 3 a refusal (the
// command's line, nothing on stderr), 1 an arithmetic fault or a file error (the
// message on stderr), 2 an argument quor-cli cannot take (nothing on stdout).
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"

namespace {

std::string Refused(const std::string& label, const std::string& text) {
  return "Invalid number in \"" + label + "\": " + text + " (use \".\" as the decimal point)";
}

struct Row {
  std::vector<std::string> args;
  int status;
  std::string lastLine;  // the last line on stdout, when it matters
};

std::string LastLine(const std::string& out) {
  if (out.empty()) return "";
  const std::size_t end = out.size() - 1;  // the final line feed
  const std::size_t start = end == 0 ? std::string::npos : out.rfind('\n', end - 1);
  const std::size_t first = start == std::string::npos ? 0 : start + 1;
  return out.substr(first, end - first);
}

TEST(CliExitStatus, EveryKindOfEnding) {
  const std::string missing = ::testing::TempDir() + "no/such/dir/";
  const Row rows[] = {
      // Results.
      // (A secondary of 100 turns: the default's 1152 take a second.)
      {{"transformer", "En2=100"}, 0, ""},
      {{"transformer", "En2=100", "Er2= 0.08 "}, 0, ""},  // blanks around a number are no error
      {{"couplings"}, 0, "Mode 15:16, energy transfer in  8.0 cycles: k= 0.0644490644"},
      {{"Emax=2500", "parameters"}, 0, "Maximum electric field set to 3000.0 kV/m"},
      {{"to-meters", "transformer", "Eh1=abc"}, 0, ""},  // a conversion takes any text
      {{"selfcap", "En1=200000"}, 0, ""},  // the primary refused, the secondary computed
      // Refusals: typed numbers, in the window's order of fields, before anything else.
      {{"transformer", "Er2=0,08"}, 3, Refused("Min. radius 2", "0,08")},
      {{"transformer", "Eh2=0.6m", "En2=1000 turns"}, 3, Refused("Number of turns 2", "1000 turns")},
      {{"transformer", "Ens1=20.5"}, 3, Refused("Segments/turn for M", "20.5")},
      {{"Emax=2,5e3", "toroid"}, 3, Refused("Maximum electric field in air (kV/m)", "2,5e3")},
      {{"parameters", "Eemax=abc"}, 3, Refused("Maximum electric field in air (kV/m)", "abc")},
      {{"spheres", "Edistance=3 cm"}, 3, Refused("Distance between surfaces (m)", "3 cm")},
      {{"elliptic", "Enk=3.5"}, 3, Refused("Number of values", "3.5")},
      // Refusals: the commands' own input checks.
      {{"transformer", "Eh1=-1"}, 3, "The dimensions must be positive"},
      {{"transformer", "En2=200000", "Ewd2=0"}, 3, "Too many turns (max=100000)"},
      {{"transformer", "Ewd2=0.01"}, 3, "The secondary wire is too thick (max=~0.00056)"},
      {{"selfcap", "En2=200000"}, 3, "Too many turns (max=100000)"},
      {{"partial", "Enrings=201"}, 3, "Too many rings"},
      {{"sheet", "Ensheet=0"}, 3, "The number of rings must be at least 1"},
      {{"spheres", "Elarger=0.01"}, 3, "The smaller sphere is larger than the other"},
      {{"straight", "Edistance=0"}, 3, "The wires can't overlap"},
      {{"spiral", "Esd=1"}, 3, "The wire is too thick or wide."},
      {{"elliptic", "Ek1=1"}, 3, "The arguments must be smaller than 1"},
      {{"elliptic-incomplete", "Ephi1=90"}, 3, "The angles must be smaller than 90 degrees"},
      {{"toroid", "CBtabela=1", "En1=100000", "En2=100"}, 3, "Too large table (max=10000000 values)"},
      {{"structure", "Mlista=Xwire a 3 0 0 1 1"}, 3, "Unknown element: Xwire a 3 0 0 1 1"},
      {{"structure", "Mlista=La a 600 0 0 1 1"}, 3, "Too many rings"},
      // Faults.
      {{"transformer", "Er1=0", "Es1=0"}, 1, ""},
      {{"spheres", "Ev1=1e4932"}, 1, ""},
      {{"save-trd", missing + "a.trd"}, 1, ""},
      {{"structure", "--cap", missing + "a.cap"}, 1, ""},
      // Arguments quor-cli cannot take.
      {{"transformer", "Foo=1"}, 2, ""},
      {{"nosuchcommand"}, 2, ""},
      {{"transformer", "CBel=2"}, 2, ""},
      {{"partial", "--probe", "1;2"}, 2, ""},
      {{"Emax=", "toroid"}, 2, ""},
      {{"structure", "--plot", "x.png"}, 2, ""},  // no images without the GUI's hooks
  };
  for (const Row& r : rows) {
    std::string what;
    for (const std::string& a : r.args) what += a + " ";
    std::ostringstream out, err;
    const int status = RunCli(r.args, out, err);
    EXPECT_EQ(status, r.status) << what << "\n" << out.str() << err.str();
    if (!r.lastLine.empty()) {
      EXPECT_EQ(LastLine(out.str()), r.lastLine) << what;
    }
    switch (r.status) {
      case 0:
      case 3: EXPECT_EQ(err.str(), "") << what; break;
      case 1: EXPECT_EQ(err.str().rfind("quor-cli: " + r.args[0] + ": ", 0), 0u) << what; break;
      case 2:
        EXPECT_EQ(out.str(), "") << what;
        EXPECT_NE(err.str(), "") << what;
        break;
    }
  }
}

// A typed number is refused with exactly one line: nothing of the command before it.
TEST(CliExitStatus, TypedNumberRefusalIsTheOnlyLine) {
  std::ostringstream out, err;
  EXPECT_EQ(RunCli({"transformer", "Er2=0,08"}, out, err), 3);
  EXPECT_EQ(out.str(), Refused("Min. radius 2", "0,08") + "\n");
  // A refused Emax setting ends the run before the command, the old setting unused.
  std::ostringstream eout, eerr;
  EXPECT_EQ(RunCli({"Emax=1500", "Emax=1,5", "toroid"}, eout, eerr), 3);
  EXPECT_EQ(eout.str(), "Maximum electric field set to 1500.0 kV/m\n" +
                            Refused("Maximum electric field in air (kV/m)", "1,5") + "\n");
}

}  // namespace
