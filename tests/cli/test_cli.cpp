// quor-cli: argument handling in process (RunCli) and the real binary end to end.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/cli.h"
#include "command_run.h"
#include "transformer/coil_pair.h"
#include "transformer/driver.h"
#include "numerics/library_namespaces.h"

namespace {

struct CliRun {
  int status = -1;
  std::string out, err;
};

CliRun InProcess(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  CliRun r;
  r.status = RunCli(args, out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

std::string Slurp(const std::string& path) {
  std::ifstream f(path);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// Runs the installed binary through the shell with stdout and stderr captured apart.
CliRun Binary(const std::string& args) {
  const std::string base = ::testing::TempDir() + "quor_cli_" + std::to_string(::getpid());
  const std::string cmd = std::string(QUOR_CLI_PATH) + " " + args + " >" + base + ".out 2>" +
                          base + ".err";
  CliRun r;
  const int raw = std::system(cmd.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = Slurp(base + ".out");
  r.err = Slurp(base + ".err");
  std::remove((base + ".out").c_str());
  std::remove((base + ".err").c_str());
  return r;
}

int CountLines(const std::string& s) {
  int n = 0;
  for (char ch : s) n += ch == '\n';
  return n;
}

}  // namespace

// Refusals: the window's line, status 3, nothing on stderr.
TEST(CliBinary, ValidationMessagesAsTheWindowWritesThem) {
  const std::pair<const char*, const char*> cases[] = {
      {"Eh1=-1", "\nThe dimensions must be positive\n"},
      {"Ewd1=0.02", "\nThe primary wire is too thick (max=~0.01667)\n"},
      {"Er2=0.1 Es2=0.1", "\nThe coils can't intercept\n"},
      {"En1=", "\nToo small turns number for the numbers of segments\n"},
      {"Ensm=10001", "\nToo large or invalid number of segments (max=10000)\n"},
      {"Ens1=abc",
       "Invalid number in \"Segments/turn for M\": abc (use \".\" as the decimal point)\n"},
  };
  for (const auto& [args, expected] : cases) {
    const CliRun r = Binary(std::string("transformer ") + args);
    EXPECT_EQ(r.status, 3) << args;
    EXPECT_EQ(r.out, expected) << args;
    EXPECT_EQ(r.err, "") << args;
  }
}

TEST(CliBinary, UsageErrorsGiveOneLineOnStderrAndStatus2) {
  for (const char* args : {"transformer Foo=1", "nosuchcommand", "transformer En1",
                           "transformer =3", "transformer CBel=2", "transformer CBel=yes", "",
                           "Bogus=1 transformer"}) {
    const CliRun r = Binary(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.out, "") << args;
    EXPECT_EQ(CountLines(r.err), 1) << args << ": " << r.err;
  }
}

TEST(CliArguments, ErrorsNameTheCulprit) {
  const CliRun field = InProcess({"transformer", "Enx=1"});
  EXPECT_EQ(field.status, 2);
  EXPECT_NE(field.err.find("Enx"), std::string::npos);
  const CliRun command = InProcess({"transfomer"});
  EXPECT_EQ(command.status, 2);
  EXPECT_NE(command.err.find("transfomer"), std::string::npos);
  const CliRun box = InProcess({"transformer", "CBm=true"});
  EXPECT_EQ(box.status, 2);
  EXPECT_NE(box.err.find("CBm"), std::string::npos);
}

TEST(CliArguments, LaterOverrideWinsAndEmaxIsAppliedBeforeTheCommand) {
  const CliRun r = InProcess({"transformer", "Eh1=-1", "Eh1=0.1", "Ewd1=0.02"});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.out, "\nThe primary wire is too thick (max=~0.01667)\n");
  const CliRun e = InProcess({"Emax=3000", "transformer", "Eh1=-1"});
  EXPECT_EQ(e.status, 3);
  EXPECT_EQ(e.out,
            "Maximum electric field set to 3000.0 kV/m\n\nThe dimensions must be positive\n");
  // Apply of the Parameters window alone; one decimal, never cut to the width.
  EXPECT_EQ(InProcess({"parameters"}).out, "Maximum electric field set to 3000.0 kV/m\n");
  EXPECT_EQ(InProcess({"parameters", "Eemax=2500"}).out,
            "Maximum electric field set to 2500.0 kV/m\n");
  EXPECT_EQ(InProcess({"parameters", "Eemax=2,5"}).out,
            "Invalid number in \"Maximum electric field in air (kV/m)\": 2,5 (use \".\" as the "
            "decimal point)\n");
  EXPECT_EQ(InProcess({"Emax=", "transformer"}).status, 2);
  // After the command Emax is not a field of this window.
  EXPECT_EQ(InProcess({"transformer", "Emax=3000"}).status, 2);
}

TEST(CliHelp, ListsEveryFieldWithItsDefault) {
  const CliRun r = InProcess({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("transformer"), std::string::npos);
  for (const FieldDef& f : TransformerFieldDefs())
    EXPECT_NE(r.out.find(f.name + "=" + f.defaultText + " "), std::string::npos) << f.name;
  const CliRun c = InProcess({"transformer", "--help"});
  EXPECT_EQ(c.status, 0);
  EXPECT_NE(c.out.find("Ensm=2000"), std::string::npos);
}

TEST(CliBinary, DefaultCalculationPrintsTheWindowsLines) {
  // The same lines, in the same order, as the window's command with the same fields.
  for (const std::pair<const char*, FieldValues>& c :
       {std::pair<const char*, FieldValues>{"", {}},
        {"CBOudin=1 CBjvj=1 En1=12.5", {{"CBOudin", "1"}, {"CBjvj", "1"}, {"En1", "12.5"}}}}) {
    std::string expected;
    for (const std::string& line :
         command_run::LinesOf(TransformerFieldDefs(), &TransformerCommand, c.second))
      expected += line + "\n";
    const CliRun r = Binary(std::string("transformer ") + c.first);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, expected);
    EXPECT_GT(CountLines(r.out), 20);
  }
}

TEST(CliArithmeticFault, EndsTheCommandWithStatusOneAfterTheLinesSoFar) {
  // A primary of zero radius: the Lorenz formula divides zero by zero.
  const CliRun r = InProcess({"transformer", "Er1=0", "Es1=0"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "quor-cli: transformer: Invalid floating point operation\n");
  EXPECT_EQ(CountLines(r.out), 4) << r.out;
  EXPECT_NE(r.out.find("Lundin    primary inductance L1:"), std::string::npos);
  EXPECT_EQ(r.out.find("Lorenz"), std::string::npos);
}

TEST(CliBinary, ToroidWritesItsTableInTheCurrentDirectory) {
  // Emax before the command halves the breakdown voltage of the default toroid.
  const CliRun half = Binary("Emax=1500 toroid");
  EXPECT_EQ(half.status, 0);
  EXPECT_NE(half.out.find("\nExact breakdown voltage:   424.4228kV\n"), std::string::npos);
  EXPECT_NE(Binary("toroid").out.find("\nExact breakdown voltage:   848.8456kV\n"),
            std::string::npos);

  std::string templ = ::testing::TempDir() + "quor_cli_toroid_XXXXXX";
  const std::string dir = ::mkdtemp(templ.data());
  const std::string out = dir + "/run.out", err = dir + "/run.err";
  auto run = [&](const std::string& enter) {
    const std::string cmd = "cd " + dir + " && " + enter + std::string(QUOR_CLI_PATH) +
                            " toroid CBtabela=1 En1=2 >" + out + " 2>" + err;
    const int raw = std::system(cmd.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  };
  EXPECT_EQ(run(""), 0);
  EXPECT_EQ(Slurp(err), "");
  EXPECT_NE(Slurp(out).find("Table saved in file toroid.dat\n"), std::string::npos);
  EXPECT_EQ(CountLines(Slurp(dir + "/toroid.dat")), 5);

  // A current directory that no longer exists: status 1, the error names the file, the
  // values computed before stay on stdout and nothing claims a save.
  EXPECT_EQ(run("mkdir gone && cd gone && rmdir ../gone && "), 1);
  EXPECT_EQ(Slurp(err).rfind("quor-cli: toroid: Cannot write file toroid.dat: ", 0), 0u)
      << Slurp(err);
  EXPECT_EQ(CountLines(Slurp(out)), 5);
  EXPECT_EQ(Slurp(out).find("Table saved"), std::string::npos);
  for (const std::string& f : {dir + "/toroid.dat", out, err}) std::remove(f.c_str());
  ::rmdir(dir.c_str());
}
