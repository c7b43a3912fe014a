// quor-cli structure: the lines of the window's Calculate, from the sample or a file.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "electrostatics/structure_session.h"
#include "numerics/file_write.h"
#include "numerics/library_namespaces.h"

namespace {

std::string Expected(const std::vector<std::string>& description, const char* listFields,
                     Extended Emax) {
  StructureSession session;
  session.SetDescription(description);
  CommandEnv env;
  env.breakdown.Emax = Emax;
  const bool list = std::string(listFields) == "1";
  const Result r = RunCommand(
      StructureFieldDefs(),
      [&](const FieldValues&, CommandEnv& e) { return session.Calculate(list, e); }, {}, env);
  std::string text;
  for (const std::string& l : r.lines) text += l + "\n";
  return text;
}

}  // namespace

TEST(CliStructure, SampleOrFileWithEmaxFirst) {
  std::ostringstream out, err;
  ASSERT_EQ(RunCli({"structure"}, out, err), 0);
  EXPECT_EQ(out.str(), Expected(StructureSampleLines(), "0", 3000));

  const std::string path = ::testing::TempDir() + "cli_structure.cap";
  const std::vector<std::string> description = {"Cs ball 10 0 0 1 -90 90", "Lp plate 5 0 -2 1 -2"};
  WriteFileAtomically(path, "Cs ball 10 0 0 1 -90 90\nLp plate 5 0 -2 1 -2\n");
  std::ostringstream fileOut, fileErr;
  ASSERT_EQ(RunCli({"Emax=1500", "structure", "--cap", path, "CBlistar=1"}, fileOut, fileErr), 0);
  EXPECT_EQ(fileOut.str(), "Maximum electric field set to 1500.0 kV/m\n" +
                               Expected(description, "1", 1500));

  // Half the breakdown field, half the breakdown voltage.
  std::ostringstream halfOut, halfErr;
  ASSERT_EQ(RunCli({"Emax=1500", "structure"}, halfOut, halfErr), 0);
  const std::string half = halfOut.str(), full = out.str();
  const std::string label = "Breakdown voltage: ";
  EXPECT_NEAR(std::stod(half.substr(half.find(label) + label.size())) /
                  std::stod(full.substr(full.find(label) + label.size())),
              0.5, 1e-7);  // both printed to 4 decimals

  std::ostringstream missingOut, missingErr;
  EXPECT_EQ(RunCli({"structure", "--cap=" + path + ".none"}, missingOut, missingErr), 1);
  EXPECT_NE(missingErr.str().find("cli_structure.cap.none"), std::string::npos);
}
