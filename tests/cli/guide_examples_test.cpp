// The worked examples of the user guide (docs/guide.md) are the program's real output:
// each "$ quor-cli ARGS" example is run again and must print exactly the lines shown.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Example {
  std::string args;    // after "$ quor-cli "
  std::string output;  // the lines shown, each ended by a newline
};

std::vector<Example> GuideExamples(const std::string& path) {
  std::ifstream in(path);
  std::vector<Example> examples;
  std::string line, previous;
  bool inside = false;
  while (std::getline(in, line)) {
    if (inside) {
      if (line == "```")
        inside = false;
      else
        examples.back().output += line + "\n";
    } else if (previous == "```console" && line.rfind("$ quor-cli ", 0) == 0) {
      examples.push_back({line.substr(11), ""});
      inside = true;
    }
    previous = line;
  }
  return examples;
}

std::string RunExample(const std::string& args, const std::filesystem::path& dir) {
  const std::filesystem::path out = dir / "out.txt";
  // Through the shell, as the guide's reader types it.
  const std::string cmd = "cd '" + dir.string() + "' && '" + QUOR_CLI_PATH + "' " + args +
                          " >'" + out.string() + "' 2>&1";
  const int status = std::system(cmd.c_str());
  std::ifstream f(out);
  std::stringstream s;
  s << f.rdbuf();
  return status == 0 ? s.str() : "exit status " + std::to_string(status) + "\n" + s.str();
}

}  // namespace

TEST(Guide, EveryExampleShowsTheProgramsOutput) {
  const std::vector<Example> examples = GuideExamples(QUOR_SOURCE_DIR "/docs/guide.md");
  // One per window at least: a guide whose examples vanished would pass vacuously.
  ASSERT_GE(examples.size(), 12u);
  const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) /
                                    ("quor_guide_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  for (const Example& e : examples) EXPECT_EQ(RunExample(e.args, dir), e.output) << "quor-cli " << e.args;
  std::filesystem::remove_all(dir);
}
