// Every input kept for the fuzzers (their seeds and each input that once broke a
// reader) goes through the same entry points with the ordinary compiler, so that a
// fixed fault stays fixed without clang. An entry point aborts on a broken promise.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "entry_points.h"

namespace fs = std::filesystem;

void PrintTo(const FuzzTarget& target, std::ostream* os) { *os << target.name; }

class CorpusReplay : public ::testing::TestWithParam<FuzzTarget> {};

TEST_P(CorpusReplay, EveryKeptInputPasses) {
  const fs::path dir = fs::path(QUOR_CORPUS_DIR) / GetParam().name;
  ASSERT_TRUE(fs::is_directory(dir)) << dir;
  int files = 0;
  for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
    if (!e.is_regular_file()) continue;
    std::ifstream in(e.path(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    SCOPED_TRACE(e.path().string());
    EXPECT_EQ(GetParam().entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
    ++files;
  }
  EXPECT_GE(files, 3) << "each reader keeps its seeds";
}

INSTANTIATE_TEST_SUITE_P(Readers, CorpusReplay, ::testing::ValuesIn(FuzzTargets()),
                         [](const ::testing::TestParamInfo<FuzzTarget>& info) {
                           return info.param.name;
                         });
