// Files read by quor-cli: a description with any line ends or a byte-order mark
// computes what the same lines typed compute; a pipe, a device, a folder or an
// oversized file ends the command with one error naming it, at once and in bounded
// memory.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>

#include "cli/cli.h"
#include "electrostatics/structure_description.h"
#include "numerics/file_write.h"
#include "transformer/trd_file.h"
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

std::string Joined(const std::vector<std::string>& lines, const std::string& end) {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

std::string FreshDir() {
  std::string dir = ::testing::TempDir() + "quor_cli_files_XXXXXX";
  EXPECT_NE(::mkdtemp(dir.data()), nullptr);
  return dir;
}

// Coil texts of a .trd, and the arguments that type them instead; the Maxwell sums are
// left out to keep the command short.
const std::vector<std::string> kTrd = {"30",  "0.2",  "0.15", "0.15", "0",     "500",
                                       "0.5", "0.05", "0.05", "0.1",  "0.002", "0.0004"};
const std::vector<std::string> kQuick = {"CBML1=0", "CBML2=0"};

}  // namespace

TEST(CliFilesRead, AnyLineEndsOrByteOrderMarkReadAsTheSameLines) {
  const std::string dir = FreshDir(), cap = dir + "/sample.cap", trd = dir + "/coil.trd";
  const std::string capTyped = Cli({"structure"}).out;  // the window's sample, no file
  std::vector<std::string> typed = {"transformer"};
  for (std::size_t i = 0; i < kTrd.size(); ++i) typed.push_back(TrdFieldNames()[i] + "=" + kTrd[i]);
  typed.insert(typed.end(), kQuick.begin(), kQuick.end());
  const std::string trdTyped = Cli(typed).out;
  ASSERT_NE(trdTyped.find("Mutual"), std::string::npos) << trdTyped;

  const struct {
    const char* start;
    const char* end;
  } rows[] = {{"", "\n"}, {"", "\r"}, {"\xEF\xBB\xBF", "\r\n"}, {"\xEF\xBB\xBF", "\r"}};
  for (const auto& r : rows) {
    WriteFileAtomically(cap, r.start + Joined(StructureSampleLines(), r.end));
    WriteFileAtomically(trd, r.start + Joined(kTrd, r.end));
    std::vector<std::string> fromFile = {"transformer", "--trd", trd};
    fromFile.insert(fromFile.end(), kQuick.begin(), kQuick.end());
    const std::string name = std::string(r.start).empty() ? "" : "BOM, ";
    EXPECT_EQ(Cli({"structure", "--cap", cap}).out, capTyped) << name << int(r.end[0]);
    EXPECT_EQ(Cli(fromFile).out, trdTyped) << name << int(r.end[0]);
  }
}

TEST(CliFilesRead, PipesDevicesFoldersAndHugeFilesAreRefusedByName) {
  const std::string dir = FreshDir(), fifo = dir + "/pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);  // no writer: reading it would wait forever
  const std::string huge = dir + "/huge.cap", longTrd = dir + "/long.trd";
  WriteFileAtomically(huge, std::string(kMaxDescriptionFileBytes + 1, '*'));
  WriteFileAtomically(longTrd, Joined(kTrd, "\r\n") + std::string(kMaxTrdFileBytes, ' '));
  const struct {
    std::vector<std::string> args;
    std::string error;
  } rows[] = {
      {{"structure", "--cap", "/dev/zero"},
       "structure: Cannot read file /dev/zero: a device, not a regular file"},
      {{"structure", "--cap", fifo}, "structure: Cannot read file " + fifo + ": a named pipe, not a regular file"},
      {{"transformer", "--trd", fifo}, "transformer: Cannot read file " + fifo + ": a named pipe, not a regular file"},
      {{"transformer", "--trd", "/dev/zero"},
       "transformer: Cannot read file /dev/zero: a device, not a regular file"},
      {{"structure", "--cap", dir}, "structure: Cannot read file " + dir + ": a folder, not a file"},
      {{"structure", "--cap", huge},
       "structure: Cannot read file " + huge + ": more than 1048576 bytes, too long for a structure description"},
      {{"transformer", "--trd", longTrd},
       "transformer: Cannot read file " + longTrd + ": more than 65536 bytes, too long for a transformer description"},
  };
  for (const auto& r : rows) {
    const CliResult result = Cli(r.args);
    EXPECT_EQ(result.status, 1) << r.args[2];
    EXPECT_EQ(result.err, "quor-cli: " + r.error + "\n");
    EXPECT_EQ(result.out, "") << r.args[2];
  }
  // At the bound, a file is read: a long comment is still a description, refused only
  // for making no rings.
  WriteFileAtomically(huge, std::string(kMaxDescriptionFileBytes - 2, '*') + "\r\n");
  const CliResult atBound = Cli({"structure", "--cap", huge});
  EXPECT_EQ(atBound.status, 3);
  EXPECT_NE(atBound.out.find("The structure has no rings."), std::string::npos);
}

// --plot /dev/stdout pipes the image: the PNG alone on stdout, whether a pipe or a file,
// and the Report lines on stderr.
TEST(CliFilesWritten, APlotToStandardOutputIsThePngAlone) {
  const std::string dir = FreshDir(), png = dir + "/out.png", err = dir + "/err";
  for (const char* into : {" | cat >", " >"}) {
    const std::string cmd = std::string(QUOR_CLI_PATH) + " structure --plot /dev/stdout CBrapido=1 2>" +
                            err + into + png;
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    std::ifstream in(png, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(bytes.size(), 20u) << into;
    EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n") << into;
    EXPECT_EQ(bytes.substr(bytes.size() - 8), std::string("IEND\xae\x42\x60\x82", 8)) << into;
    std::ifstream lines(err);
    const std::string text{std::istreambuf_iterator<char>(lines), {}};
    EXPECT_NE(text.find("Conductor 1: terminal\n"), std::string::npos) << text;
  }
}
