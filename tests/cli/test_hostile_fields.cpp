// Every quor-cli command on hostile field texts: whatever a user types, a command ends
// with status 0, 1 (arithmetic fault or file error, with its message) or 2 (a usage
// error), prints no "Nan" or "Inf" as a result, and ends in bounded time.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <array>
#include <iostream>
#include <map>
#include <mutex>
#include <random>
#include <regex>
#include <sstream>
#include <thread>

#include "cli/cli.h"
#include "cli/commands.h"

namespace {

const char* const kHostile[] = {
    "",           "0",          "-0",         "-1",     "1e308",   "-1e308",    "-1e-308",
    "nan",        "inf",        "-inf",       "1e4932", "1e-4950", "abc",       "1,5",
    " 12 ",       "12abc",      "2147483647", "2147483648", "-2147483648", "1000000000",
    "100000",     "1e-300",     "1e-9",       "0.5",    "3",       "-3",        "7e12",
};

// Starting texts that keep the heavy parts of a command small, so that a few hundred
// cases stay quick: a secondary of 100 turns instead of 1152 (a conical secondary
// writes one line per pair of its turns), one row of incomplete integrals (each takes
// two Simpson integrations of 100000 intervals), ten sections of the resonator.
const std::map<std::string, FieldValues> kTameBase = {
    {"transformer", {{"En2", "100"}}},
    {"selfcap", {{"En2", "100"}}},
    {"resonator", {{"En2", "100"}, {"Esections", "10"}}},
    {"elliptic-incomplete", {{"Enask", "1"}, {"Enp", "1"}}},
};

// Check boxes that the random mixes leave alone: the true-spiral sums (circular turns
// off) can be stopped from the window and take minutes on these coils by design.
const std::map<std::string, std::vector<std::string>> kKeptBoxes = {
    {"transformer", {"CBel"}},
    {"selfcap", {"CBel"}},
};

// A case that runs longer than this hangs as far as a user is concerned: the test
// aborts and names it.
constexpr std::chrono::seconds kCaseLimit(60);

class Watchdog {
 public:
  Watchdog() : thread_([this] { Watch(); }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> lock(mu_);
      done_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }
  void Start(std::string what) {
    std::lock_guard<std::mutex> lock(mu_);
    what_ = std::move(what);
    start_ = std::chrono::steady_clock::now();
    running_ = true;
    cv_.notify_all();
  }
  void Stop() {
    std::lock_guard<std::mutex> lock(mu_);
    running_ = false;
  }

 private:
  void Watch() {
    std::unique_lock<std::mutex> lock(mu_);
    while (!done_) {
      if (running_ && std::chrono::steady_clock::now() - start_ > kCaseLimit) {
        std::cerr << "case did not end within " << kCaseLimit.count() << " s: " << what_ << "\n";
        std::abort();
      }
      cv_.wait_for(lock, std::chrono::milliseconds(200));
    }
  }
  std::mutex mu_;
  std::condition_variable cv_;
  bool done_ = false, running_ = false;
  std::string what_;
  std::chrono::steady_clock::time_point start_;
  std::thread thread_;
};

// Number texts of a result: "Nan", "+Inf", "-Inf" (and lower case); "infinity" in a
// sentence is not one.
const std::regex kBadNumber(R"((^|[^A-Za-z])([+-]?(nan|inf))([^A-Za-z]|$))", std::regex::icase);

std::string Describe(const std::vector<std::string>& args) {
  std::string s = "quor-cli";
  for (const std::string& a : args) s += " '" + a + "'";
  return s;
}

// Runs one case: exit status 0, 3 (a refusal), 1 or 2 (with its message) only, and no
// result line that shows a number as not-a-number or infinite (but for the user's own
// text given back: "Unknown element: " and its line, the refusals of a malformed number
// in a field or on a line of a description, a NAME=VALUE that a conversion left alone).
void RunCase(const std::vector<std::string>& args, Watchdog& dog) {
  std::ostringstream out, err;
  dog.Start(Describe(args));
  const int status = RunCli(args, out, err);
  dog.Stop();
  EXPECT_TRUE(status == 0 || status == 1 || status == 2 || status == 3)
      << Describe(args) << " -> " << status;
  if (status == 1 || status == 2) {
    EXPECT_FALSE(err.str().empty()) << Describe(args);
  } else {
    EXPECT_EQ(err.str(), "") << Describe(args);
  }
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("Unknown element: ", 0) != 0 && line.rfind("Invalid number in \"", 0) != 0 &&
        line.rfind("Invalid number on line ", 0) != 0 &&
        std::find(args.begin(), args.end(), line) == args.end()) {
      EXPECT_FALSE(std::regex_search(line, kBadNumber)) << Describe(args) << "\n  line: " << line;
    }
}

// The positional arguments a command takes before its fields: a file to write, or
// the window (command) whose fields it converts, the n-th of its choices.
std::vector<std::string> Positional(const CliCommand& cmd, int n) {
  std::vector<std::string> args;
  for (const CliArgumentDef& def : cmd.arguments)
    args.push_back(def.choices.empty() ? "hostile.out"
                                       : def.choices[static_cast<std::size_t>(n) % def.choices.size()]);
  return args;
}

// The fields a command reads: its own, or those of the window it names.
const std::vector<FieldDef>& FieldsOf(const CliCommand& cmd, const std::vector<std::string>& positional) {
  for (std::size_t i = 0; i < cmd.arguments.size(); ++i)
    if (cmd.arguments[i].namesCommand) return FindCliCommand(positional[i])->fields();
  return cmd.fields();
}

// The arguments of a command with the tame starting texts and the given fields.
std::vector<std::string> Args(const CliCommand& cmd, const std::vector<std::string>& positional,
                              const FieldValues& fields) {
  FieldValues all;
  if (auto base = kTameBase.find(cmd.name); base != kTameBase.end()) all = base->second;
  for (const auto& [name, value] : fields) all[name] = value;
  std::vector<std::string> args{cmd.name};
  args.insert(args.end(), positional.begin(), positional.end());
  const std::vector<FieldDef>& defs = FieldsOf(cmd, positional);
  for (const auto& [name, value] : all)
    if (std::any_of(defs.begin(), defs.end(), [&](const FieldDef& f) { return f.name == name; }))
      args.push_back(name + "=" + value);
  return args;
}

// Runs in a fresh directory: some commands write their tables there.
class InScratchDirectory {
 public:
  explicit InScratchDirectory(const std::string& name)
      : old_(std::filesystem::current_path()),
        dir_(std::filesystem::path(::testing::TempDir()) / ("quor_hostile_" + name)) {
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
  }
  ~InScratchDirectory() {
    std::filesystem::current_path(old_);
    std::filesystem::remove_all(dir_);
  }
  std::filesystem::path old_, dir_;
};

class HostileFields : public ::testing::TestWithParam<std::string> {
 protected:
  HostileFields() : scratch_(GetParam()) {}
  InScratchDirectory scratch_;
};

class HostileDescriptions : public InScratchDirectory, public ::testing::Test {
 protected:
  HostileDescriptions() : InScratchDirectory("structure_text") {}
};

TEST_P(HostileFields, EveryFieldAloneAndRandomMixes) {
  const CliCommand* cmd = FindCliCommand(GetParam());
  ASSERT_NE(cmd, nullptr);
  Watchdog dog;
  const std::vector<std::string>& kept = kKeptBoxes.count(cmd->name) ? kKeptBoxes.at(cmd->name)
                                                                      : std::vector<std::string>{};
  auto fieldsOf = [&](int n, std::vector<std::string>& edits, std::vector<std::string>& boxes) {
    const std::vector<std::string> positional = Positional(*cmd, n);
    edits.clear();
    boxes.clear();
    for (const FieldDef& f : FieldsOf(*cmd, positional)) {
      if (!f.isCheckBox)
        edits.push_back(f.name);
      else if (std::find(kept.begin(), kept.end(), f.name) == kept.end())
        boxes.push_back(f.name);
    }
    return positional;
  };
  std::vector<std::string> edits, boxes;
  // Each field alone, every other at its starting text; a command that converts the
  // fields of a window takes each window in turn.
  int windows = 1;
  for (const CliArgumentDef& def : cmd->arguments)
    windows = std::max(windows, static_cast<int>(def.choices.size()));
  for (int w = 0; w < windows; ++w) {
    const std::vector<std::string> positional = fieldsOf(w, edits, boxes);
    for (const std::string& name : edits)
      for (const char* v : kHostile) RunCase(Args(*cmd, positional, {{name, v}}), dog);
  }
  // Mixes from a fixed seed: each field hostile with probability 0.4, check boxes at
  // random, and the breakdown field setting now and then.
  std::mt19937 rng(20261207u);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(kHostile) - 1);
  std::bernoulli_distribution hostile(0.4), checked(0.5), emax(0.1);
  for (int m = 0; m < 150; ++m) {
    const std::vector<std::string> positional = fieldsOf(m, edits, boxes);
    FieldValues fields;
    for (const std::string& name : edits)
      if (hostile(rng)) fields.insert_or_assign(name, std::string(kHostile[pick(rng)]));
    for (const std::string& name : boxes) fields.insert_or_assign(name, std::string(checked(rng) ? "1" : "0"));
    std::vector<std::string> args = Args(*cmd, positional, fields);
    if (emax(rng)) args.insert(args.begin(), std::string("Emax=") + kHostile[pick(rng)]);
    RunCase(args, dog);
  }
}

// The structure window's text area is its field: descriptions whose numbers, ring
// counts and conductor names are drawn from the hostile texts and from ordinary ones.
TEST_F(HostileDescriptions, StructureCommandOnGeneratedDescriptions) {
  Watchdog dog;
  const char* const kinds[] = {"Lx", "Cx", "Ex", "lx", "ex", ".V", ".k", ".Z", "*", "X"};
  const char* const names[] = {"a", "b", "A", "a_long_conductor_name"};
  const char* const ordinary[] = {"0", "0.5", "1", "2", "90", "-90", "0.25"};
  std::mt19937 rng(17u);
  auto pick = [&rng](const auto& list) -> const char* {
    return list[std::uniform_int_distribution<std::size_t>(0, std::size(list) - 1)(rng)];
  };
  std::bernoulli_distribution hostile(0.3);
  for (int n = 0; n < 150; ++n) {
    std::string text;
    const int lines = std::uniform_int_distribution<int>(1, 5)(rng);
    for (int i = 0; i < lines; ++i) {
      for (const char* word : {pick(kinds), " ", pick(names), " ", hostile(rng) ? pick(kHostile) : "3"})
        text.append(word);
      for (int p = 0; p < 6; ++p) {
        text.push_back(' ');
        text.append(hostile(rng) ? pick(kHostile) : pick(ordinary));
      }
      text.append("\r\n");
    }
    std::ofstream("hostile.cap", std::ios::binary) << text;
    RunCase({"structure", "--cap", "hostile.cap", "CBlistar=1"}, dog);
    if (HasFailure()) {
      ADD_FAILURE() << "description:\n" << text;
      return;
    }
  }
}

std::vector<std::string> CommandNames() {
  std::vector<std::string> names;
  for (const CliCommand& c : CliCommands()) names.push_back(c.name);
  return names;
}

INSTANTIATE_TEST_SUITE_P(AllCommands, HostileFields, ::testing::ValuesIn(CommandNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string n = info.param;
                           for (char& ch : n)
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return n;
                         });

}  // namespace
