// quor-cli save-trd, transformer --trd, to-meters and to-inches: positional arguments,
// fields loaded from a file before the NAME=VALUE changes, converted texts as lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "command_run.h"
#include "transformer/driver.h"
#include "transformer/trd_file.h"
#include "transformer/unit_conversion.h"
#include "numerics/library_namespaces.h"

namespace {

struct CliResult {
  int status;
  std::string out, err;
};

CliResult Cli(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunCli(args, out, err);
  return {status, out.str(), err.str()};
}

std::string Slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

}  // namespace

// save-trd writes what the window's Save writes; transformer --trd calculates what the
// window calculates after Load, with the NAME=VALUE changes applied over the file
// wherever they stand.
TEST(CliTrd, SaveThenCalculateFromTheFile) {
  const std::string path = ::testing::TempDir() + "quor cli=test.trd";  // by position
  const CliResult save = Cli({"save-trd", path, "Eh2=0.3", "En2=1000", "Ens1=7"});
  ASSERT_EQ(save.status, 0) << save.err;
  EXPECT_EQ(save.out, "");
  EXPECT_EQ(Slurp(path),
            "12\r\n0.1\r\n0.1\r\n0.1\r\n0\r\n1000\r\n0.3\r\n0.044\r\n0.044\r\n0\r\n"
            "0.001\r\n0.0002\r\n");

  FieldValues expected = TransformerDefaults();
  expected["Eh2"] = "0.3";
  expected["En2"] = "900";
  std::string lines;
  for (const std::string& line :
       command_run::LinesOf(TransformerFieldDefs(), &TransformerCommand, expected))
    lines += line + "\n";
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"transformer", "En2=900", "--trd", path},
        {"transformer", "--trd=" + path, "En2=900"}}) {
    const CliResult r = Cli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, lines);
  }
  // A ten-line file keeps the window's wires; save-trd --trd completes it to twelve.
  std::ofstream(path, std::ios::binary) << "3\r\n0.1\r\n0.1\r\n0.1\r\n0\r\n9\r\n0.3\r\n0.04\r\n0.04\r\n0\r\n";
  ASSERT_EQ(Cli({"save-trd", path, "--trd", path, "Ewd1=0.002"}).status, 0);
  EXPECT_EQ(Slurp(path),
            "3\r\n0.1\r\n0.1\r\n0.1\r\n0\r\n9\r\n0.3\r\n0.04\r\n0.04\r\n0\r\n0.002\r\n0.0002\r\n");
  std::remove(path.c_str());

  const CliResult missing = Cli({"transformer", "--trd", path});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find(path), std::string::npos) << missing.err;
}

TEST(CliUnits, ConvertedTextsThenReportLines) {
  const CliResult in = Cli({"to-inches", "transformer", "Ewd1=0.01", "Ewd2=0", "Eh1=0.0254"});
  EXPECT_EQ(in.status, 0) << in.err;
  const std::string inches = in.out;
  EXPECT_EQ(inches.substr(0, inches.find("Ewd1=")),
            "Eh1=1\nEr1=3.937007874015748\nEs1=3.937007874015748\nEb1=0\n"
            "Eh2=12.598425196850394\nEr2=1.732283464566929\nEs2=1.732283464566929\nEb2=0\n");
  EXPECT_NE(inches.find("Ewd1=-1.6"), std::string::npos);
  EXPECT_NE(inches.find("\nEwd2=0\n" + std::string(kNegativeGaugeLine) + "\n" + kNoGaugeLine +
                        "\n"),
            std::string::npos)
      << inches;

  const CliResult straight = Cli({"to-meters", "straight", "Eradius1=36", "Eradius2=0", "Eoffset=1"});
  EXPECT_EQ(straight.out,
            "Elength1=0.0254\nElength2=0.0254\nEdistance=0.00254\nEoffset=0.0254\n"
            "Eradius1=0.000127\nEradius2=0.008251462802171\n");
}

TEST(CliUnits, PositionalArgumentErrors) {
  struct Row {
    std::vector<std::string> args;
    const char* culprit;
  };
  const Row rows[] = {
      {{"save-trd"}, "FILE"},
      {{"to-meters"}, "WINDOW"},
      {{"to-meters", "elliptic"}, "elliptic"},
      {{"to-inches", "straight", "En1=3"}, "En1"},  // a field of another window
      {{"transformer", "--trd"}, "--trd"},
  };
  for (const Row& r : rows) {
    const CliResult run = Cli(r.args);
    EXPECT_EQ(run.status, 2) << r.culprit;
    EXPECT_EQ(run.out, "") << r.culprit;
    EXPECT_NE(run.err.find(r.culprit), std::string::npos) << run.err;
  }
  const CliResult help = Cli({"to-meters", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("transformer, straight, toroid, partial, sheet"), std::string::npos);
}
