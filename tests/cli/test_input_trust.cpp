// Input that means nothing is refused with one line naming what is wrong, and input at a
// boundary typed as decimals takes the formula the decimals say: by kind, typed numbers
// in descriptions and settings, sizes, overlapping rings and turns, decimal boundaries.
// Each row runs quor-cli and looks at its exit status (3: a refusal, nothing computed
// after its line) and at one line of its output.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace {

struct Row {
  std::vector<std::string> args;
  int status;
  std::string line;  // a whole line of the output; for a refusal, its last line
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void Check(const Row& r) {
  std::string what = "quor-cli";
  for (const std::string& a : r.args) what += " '" + a + "'";
  std::ostringstream out, err;
  const int status = RunCli(r.args, out, err);
  EXPECT_EQ(status, r.status) << what << "\n" << out.str() << err.str();
  const std::vector<std::string> lines = Lines(out.str());
  if (r.status == 3) {
    ASSERT_FALSE(lines.empty()) << what;
    EXPECT_EQ(lines.back(), r.line) << what;
  } else if (!r.line.empty()) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), r.line), lines.end())
        << what << "\n" << out.str();
  }
}

// Two plates of radius 1 m, 0.01 m apart, cut into n rings each.
std::string Plates(int n) {
  const std::string rings = std::to_string(n);
  return "Mlista=La a " + rings + " 0 0 1 0\nLb b " + rings + " 0 0.01 1 0.01";
}

const std::string kPositiveField = "The maximum electric field in air must be positive";
// The primary of the default transformer raised to 0.12 m (pitch 0.01) and a 5-turn
// secondary of the same pitch on its cylinder.
const std::vector<std::string> kSharedCylinder = {"transformer", "Eh1=0.12", "En2=5", "Eh2=0.05",
                                                  "Er2=0.1",     "Es2=0.1",  "Ewd2=0.001"};

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

}  // namespace

TEST(InputTrust, TypedNumbers) {
  const Row rows[] = {
      // A number of a description that is no number stops the parse with its line (counted
      // with comments), and nothing is computed from the half-read tables.
      {{"structure", "Mlista=La a 10 0 0,3 1 1"}, 3, "Invalid number on line 1: 0,3"},
      {{"structure", "Mlista=* two lines\nLa a 10.5 0 0 1 1"}, 3, "Invalid number on line 2: 10.5"},
      {{"structure", "Mlista=La a 10 0 0 1 1\n.V a 1,5"}, 3, "Invalid number on line 2: 1,5"},
      {{"structure", "Mlista=Ca a 10 1 0 0.25 -90 90°"}, 3, "Invalid number on line 1: 90°"},
      {{"structure", "Mlista=La a 10 0 0 1 1m"}, 3, "Invalid number on line 1: 1m"},
      // Missing numbers read as 0, tokens beyond those an element needs are free.
      {{"structure", "Mlista=La a 10 0 1 1"}, 0, ""},
      {{"structure", "Mlista=La a 10 0 0 1 1 top plate"}, 0, ""},
      // The breakdown field: zero or less is refused, and the command does not run.
      {{"Emax=-5", "toroid"}, 3, kPositiveField},
      {{"Emax=0", "spheres"}, 3, kPositiveField},
      {{"parameters", "Eemax=-1e3"}, 3, kPositiveField},
      {{"Emax=0.001", "parameters"}, 0, "Maximum electric field set to 3000.0 kV/m"},
  };
  for (const Row& r : rows) Check(r);
  // Refused before the command: its lines do not follow.
  std::ostringstream out, err;
  EXPECT_EQ(RunCli({"Emax=-5", "toroid"}, out, err), 3);
  EXPECT_EQ(out.str(), kPositiveField + "\n");
}

TEST(InputTrust, Sizes) {
  const Row rows[] = {
      {{"toroid", "Emajor=-0.9"}, 3, "The major diameter must be positive"},
      {{"toroid", "Emajor=0", "Eminor=0"}, 3, "The major diameter must be positive"},
      {{"toroid", "Eminor=-0.3"}, 3, "The minor diameter must not be negative"},
      {{"toroid", "Eminor=0"}, 0, "A toroid must have a hole in the center for the exact calculation."},
      {{"toroid", "CBtabela=1", "En1=3", "Emajorto=-1"}, 3,
       "The major diameters of the table must be positive"},
      {{"toroid", "CBtabela=1", "En2=2", "Eminorto=-0.1"}, 3,
       "The minor diameters of the table must not be negative"},
      {{"partial", "Epmajor=-0.9"}, 3, "The diameters must be positive"},
      {{"partial", "Epminor=0"}, 3, "The diameters must be positive"},
      {{"partial", "Ealfa=0"}, 3, "The divisor for maximum radius must be positive"},
      {{"partial", "Eb=0"}, 3, "Invalid structure: ring 1 has a wire radius of zero"},
      // A spindle torus: the inner side of the band crosses the axis.
      {{"partial", "Epmajor=0.5"}, 3, "Invalid structure: ring 8 has a negative radius"},
      // Its outer half alone is a band like any other.
      {{"partial", "Epmajor=0.5", "Eiangle=-90", "Efangle=90"}, 0, ""},
      {{"sheet", "Eidiameter=0.5", "Eodiameter=0.5", "Eheight=0"}, 3,
       "Invalid structure: the sheet has zero length (equal diameters and height 0)"},
      {{"sheet", "Edivisor=-3"}, 3, "The divisor for maximum radius must be positive"},
      {{"structure", "Mlista=Cedge a 10 1 0.75 -0.25 -90 90"}, 3,
       "Invalid structure: element 1 has a negative radius"},
      {{"structure", "Mlista=La a 10 0 0 1 1\nLb a 10 0.5 2 0.5 2"}, 3,
       "Invalid structure: element 2 has zero length"},
      {{"structure", "Mlista=La a 10 -1 0 0 0"}, 3, "Invalid structure: ring 1 has a negative radius"},
      // Wires of no diameter where a line needs the wire: a flat primary's Maxwell sum
      // (which gave k = 1.3e-8), a solenoid's Snow and Kirchhoff formulas.
      {{"transformer", "Eh1=0", "Er1=0.12", "Es1=0.2", "Ewd1=0", "En2=100"}, 3,
       "The primary wire diameter must be positive"},
      {{"transformer", "Eh1=0", "Er1=0.12", "Es1=0.2", "Ewd1=0", "En2=100", "CBML1=0"}, 0, ""},
      {{"transformer", "Ewd2=-0.0002", "En2=100"}, 3, "The secondary wire diameter must be positive"},
      {{"selfcap", "Ewd2=0"}, 3, "The wire diameter must be positive"},
  };
  for (const Row& r : rows) Check(r);
}

TEST(InputTrust, Overlaps) {
  const Row rows[] = {
      {{"structure", Plates(10)}, 3, "Invalid structure: rings 1 and 11 overlap"},
      {{"structure", Plates(100)}, 0, ""},
      {{"partial", "Ealfa=0.5"}, 3, "Invalid structure: rings 1 and 2 overlap"},
      {{"sheet", "Edivisor=0.5"}, 3, "Invalid structure: rings 1 and 2 overlap"},
      // Divisor 1: the wires of neighbouring rings touch.
      {{"sheet", "Edivisor=1"}, 0, ""},
      {With(kSharedCylinder, {"Eb2=0.01"}), 3,
       "The wires of the coils overlap (primary turn 2, secondary turn 1)"},
      {With(kSharedCylinder, {"Eb2=0.01", "CBel=0", "Ensm=20"}), 3,
       "The wires of the coils overlap (primary turn 2, secondary turn 1)"},
      // Interleaved half a pitch apart (a bifilar winding) they keep apart.
      {With(kSharedCylinder, {"Eb2=0.005"}), 0, ""},
      // Only the mutual inductance meets the other coil.
      {With(kSharedCylinder, {"Eb2=0.01", "CBm=0"}), 0, ""},
      // A secondary 0.001 m inside the primary, both wires 0.001 m: touching, accepted;
      // 0.0005 m inside: overlapping.
      {{"transformer", "En2=100", "Er2=0.099", "Es2=0.099", "Ewd2=0.001"}, 0, ""},
      {{"transformer", "En2=100", "Er2=0.0995", "Es2=0.0995", "Ewd2=0.001"}, 3,
       "The wires of the coils overlap (primary turn 1, secondary turn 2)"},
      // The tap of the resonator window sums the same turns.
      {With(With({"resonator", "Ecprimary=20"},
                 {kSharedCylinder.begin() + 1, kSharedCylinder.end()}),
            {"Eb2=0.01"}),
       3, "The wires of the coils overlap (primary turn 2, secondary turn 1)"},
  };
  for (const Row& r : rows) Check(r);
}

TEST(InputTrust, DecimalBoundaries) {
  const Row rows[] = {
      // Wires touching end to end: (0.3 + 0.4)/2 is 0.35 less one unit in binary.
      {{"straight", "Elength1=0.3", "Elength2=0.4", "Edistance=0", "Eoffset=0.35"}, 0,
       "The segments are aligned"},
      {{"straight", "Elength1=0.7", "Elength2=0.9", "Edistance=0", "Eoffset=0.8"}, 0,
       "The segments are aligned"},
      {{"straight", "Elength1=0.7", "Elength2=0.9", "Edistance=0", "Eoffset=0.79"}, 3,
       "The wires can't overlap"},
      // Side by side, touching: the radii 0.0005 and 0.0095 add to 0.01.
      {{"straight", "Eradius1=0.001", "Eradius2=0.019", "Edistance=0.01"}, 0, ""},
      // Spheres on one centre: the gap -0.025 with radii 0.015 and 0.01.
      {{"spheres", "Elarger=0.03", "Esmaller=0.02", "Edistance=-0.025"}, 0,
       "Concentrical spheres:"},
      // A wire exactly as thick as the pitch 0.13/5 fits.
      {{"transformer", "En1=5", "Eh1=0.13", "Ewd1=0.052", "En2=100"}, 0, ""},
      {{"transformer", "En1=5", "Eh1=0.13", "Ewd1=0.0521", "En2=100"}, 3,
       "The primary wire is too thick (max=~0.05200)"},
      {{"resonator", "En1=5", "Eh1=0.13", "Ewd1=0.052", "Ecprimary=20"}, 0, ""},
  };
  for (const Row& r : rows) Check(r);
}
