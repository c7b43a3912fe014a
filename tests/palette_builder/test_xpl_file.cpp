// The .xpl file of tintor, and quor's reading of it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <unistd.h>
#include <cerrno>
#include <algorithm>

#include "electrostatics/palette.h"
#include "palette_builder/palette_model.h"
#include "palette_builder/xpl_file.h"
#include "numerics/library_namespaces.h"

namespace fs = std::filesystem;

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void Put(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A fresh, empty directory for one test.
std::string Dir(const std::string& name) {
  const fs::path d = fs::path(::testing::TempDir()) / ("xpl_" + name);
  fs::remove_all(d);
  fs::create_directories(d);
  return d.string() + "/";
}

// A palette far from the start one: curves moved by hand.
PaletteModel Edited() {
  PaletteModel m = StartPalette();
  MoveControlPoint(m, 0, 63, 10);
  MoveControlPoint(m, 0, 5, 100);
  MoveControlPoint(m, 1, 30, 200);
  MoveControlPoint(m, 2, 0, 255);
  MoveControlPoint(m, 2, 50, 40);
  for (int a = 0; a < kChannels; ++a) RecomputeChannel(m, a);
  return m;
}

std::string Int32Le(std::initializer_list<int> values) {
  std::string s;
  for (int v : values)
    for (int k = 0; k < 4; ++k) s.push_back(static_cast<char>((static_cast<unsigned>(v) >> 8 * k) & 0xFF));
  return s;
}

bool SamePoints(const PaletteModel& a, const PaletteModel& b) { return a.X == b.X && a.Y == b.Y; }

}  // namespace

TEST(XplFile, StartPaletteSavesAs888BytesWithItsPointsThreeTimes) {
  const std::string path = Dir("start") + "start.xpl";
  PaletteModel m = StartPalette();
  for (int a = 0; a < kChannels; ++a) RecomputeChannel(m, a);
  SaveXplFile(path, m);
  const std::string bytes = Slurp(path);
  ASSERT_EQ(bytes.size(), 888u);
  for (int a = 0; a < kChannels; ++a)
    for (int y = 0; y < 256; ++y)
      ASSERT_EQ(static_cast<unsigned char>(bytes[256 * a + y]), m.palette[a][y]) << a << " " << y;
  const std::string x = Int32Le({0, 16, 32, 48, 63}), y = Int32Le({0, 64, 128, 192, 255});
  EXPECT_EQ(bytes.substr(768), x + x + x + y + y + y);
}

TEST(XplFile, QuorReadsTheColoursTintorSaved) {
  const std::string path = Dir("cross") + kPaletteFileName;
  const PaletteModel m = Edited();
  SaveXplFile(path, m);
  const Palette p = ReadPalette(path);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(p.ColorAt(i), m.ColorAt(i)) << i;
  EXPECT_NE(m.ColorAt(0), m.ColorAt(255));  // something was actually edited
}

TEST(XplFile, SavedPaletteLoadsBackWhole) {
  const std::string path = Dir("round") + "p.xpl";
  const PaletteModel saved = Edited();
  SaveXplFile(path, saved);
  PaletteModel m = StartPalette();
  const auto load = LoadXplFile(path, m);
  ASSERT_TRUE(load);
  EXPECT_EQ(load->bytesUsed, 888u);
  EXPECT_EQ(load->pointsRestored, (std::array<bool, 3>{}));
  EXPECT_EQ(m.palette, saved.palette);
  EXPECT_TRUE(SamePoints(m, saved));
}

TEST(XplFile, ShortAndLongFilesLoadWhatTheyCover) {
  const PaletteModel source = Edited();
  const std::string whole = XplBytes(source);
  const PaletteModel start = StartPalette();

  {  // colour table only: the colours come, the points stay
    PaletteModel m = start;
    const XplLoad load = ApplyXplBytes(m, whole.substr(0, 768));
    EXPECT_EQ(load.bytesUsed, 768u);
    EXPECT_EQ(m.palette, source.palette);
    EXPECT_TRUE(SamePoints(m, start));
  }
  {  // 8 whole columns and half of a ninth: red's five and green's first three move
    PaletteModel m = start;
    ApplyXplBytes(m, whole.substr(0, 768 + 34));
    PaletteModel expected = start;
    expected.X[0] = source.X[0];
    for (int i = 0; i < 3; ++i) expected.X[1][i] = source.X[1][i];
    EXPECT_EQ(m.X, expected.X);
    EXPECT_EQ(m.Y, start.Y);
  }
  {  // bytes past 888 are ignored
    PaletteModel m = start;
    EXPECT_EQ(ApplyXplBytes(m, whole + std::string(500, '\x7f')).bytesUsed, 888u);
    EXPECT_EQ(m.palette, source.palette);
    EXPECT_TRUE(SamePoints(m, source));
  }
  {  // an empty file changes nothing
    PaletteModel m = source;
    ApplyXplBytes(m, "");
    EXPECT_EQ(m.palette, source.palette);
    EXPECT_TRUE(SamePoints(m, source));
  }
}

// A channel is put back only when its rows leave its colours undefined; columns
// outside the box are held at its edges, 0 and 63. The other channels and the colour
// table load as they are.
TEST(XplFile, LoadedRowsDecideWhetherACurveIsKept) {
  const PaletteModel source = Edited();
  const std::string colours = XplBytes(source).substr(0, 768);
  constexpr int kMax = 2147483647, kMin = -2147483647 - 1;
  const struct {
    const char* what;
    std::array<std::int32_t, 5> x, y;
    bool restored;
    std::array<std::int32_t, 5> keptX;  // the columns of a kept curve
  } rows[] = {
      {"a curve in the box", {0, 1, 2, 3, 63}, {0, 10, 20, 30, 255}, false, {0, 1, 2, 3, 63}},
      {"column 64", {0, 64, 2, 3, 4}, {0, 64, 128, 192, 255}, false, {0, 63, 2, 3, 4}},
      {"negative column", {0, 1, -1, 3, 4}, {0, 64, 128, 192, 255}, false, {0, 1, 0, 3, 4}},
      {"columns at the ends of int32", {kMax, kMin, kMax, 3, kMin}, {0, 1, 2, 3, 255}, false,
       {63, 0, 63, 3, 0}},
      {"first row not 0", {0, 1, 2, 3, 4}, {5, 64, 128, 192, 255}, true, {}},
      {"last row not 255", {0, 1, 2, 3, 4}, {0, 64, 128, 192, 256}, true, {}},
      {"two points on one row", {0, 1, 2, 3, 4}, {0, 64, 64, 192, 255}, true, {}},
      {"rows going back", {0, 1, 2, 3, 4}, {0, 128, 64, 192, 255}, true, {}},
      {"rows broken and columns out", {0, 99, 2, 3, 4}, {0, 64, -1, 192, 255}, true, {}},
  };
  const std::array<std::int32_t, 5> goodX = {9, 9, 9, 9, 9}, goodY = {0, 1, 2, 3, 255};
  for (const auto& r : rows) {
    for (int channel = 0; channel < kChannels; ++channel) {
      std::string x, y;
      for (int a = 0; a < kChannels; ++a) {
        for (std::int32_t v : a == channel ? r.x : goodX) x += Int32Le({v});
        for (std::int32_t v : a == channel ? r.y : goodY) y += Int32Le({v});
      }
      PaletteModel m = source;
      const XplLoad load = ApplyXplBytes(m, colours + x + y);
      EXPECT_EQ(m.palette, source.palette) << r.what;
      for (int a = 0; a < kChannels; ++a) {
        const bool tested = a == channel;
        EXPECT_EQ(load.pointsRestored[a], tested && r.restored) << r.what << " channel " << a;
        EXPECT_EQ(load.columnsClamped[a], tested && !r.restored && r.x != r.keptX)
            << r.what << " channel " << a;
        EXPECT_TRUE(ChannelIsUsable(m, a)) << r.what << " channel " << a;
        const auto& expectedX = !tested ? goodX : r.restored ? source.X[a] : r.keptX;
        const auto& expectedY = !tested ? goodY : r.restored ? source.Y[a] : r.y;
        EXPECT_EQ(m.X[a], expectedX) << r.what << " channel " << a;
        EXPECT_EQ(m.Y[a], expectedY) << r.what << " channel " << a;
      }
    }
  }

  // A kept curve that ran off the right of the box is at full intensity there, not
  // wrapped round modulo 256 (4 x 100 = 400 would have given 144).
  PaletteModel m = StartPalette();
  std::string x = Int32Le({0, 100, 100, 100, 100}), y = Int32Le({0, 64, 128, 192, 255});
  ApplyXplBytes(m, colours + x + x + x + y + y + y);
  RecomputeChannel(m, 0);
  EXPECT_EQ(m.palette[0][0], 0);
  EXPECT_EQ(m.palette[0][32], 126);  // halfway up the first segment, 4 x 31.5
  for (int row = 64; row < 256; ++row) ASSERT_EQ(m.palette[0][row], 252) << row;
}

TEST(XplFile, UnreadablePathsChangeNothing) {
  const std::string dir = Dir("unreadable");
  PaletteModel m = Edited();
  const PaletteModel before = m;
  EXPECT_FALSE(LoadXplFile(dir + "missing.xpl", m));
  EXPECT_FALSE(LoadXplFile(dir, m));  // a directory
  EXPECT_EQ(m.palette, before.palette);
  EXPECT_TRUE(SamePoints(m, before));
}

TEST(XplFile, FailedSaveKeepsTheOldFileAndLeavesNoTemporary) {
  const std::string dir = Dir("save");
  const PaletteModel m = Edited();

  // Replacing a longer file leaves exactly the palette, nothing of the old tail.
  Put(dir + "old.xpl", std::string(2000, 'x'));
  SaveXplFile(dir + "old.xpl", m);
  EXPECT_EQ(Slurp(dir + "old.xpl"), XplBytes(m));

  EXPECT_THROW(SaveXplFile(dir + "no/such/dir/p.xpl", m), std::system_error);
  // The target is a directory holding a file: the rename fails, and both stay.
  fs::create_directory(dir + "taken.xpl");
  Put(dir + "taken.xpl/inside", "keep");
  EXPECT_THROW(SaveXplFile(dir + "taken.xpl", m), std::system_error);
  EXPECT_EQ(Slurp(dir + "taken.xpl/inside"), "keep");

  int entries = 0;
  for (const auto& e : fs::directory_iterator(dir)) {
    ++entries;
    EXPECT_NE(e.path().filename().string().rfind(".tintor", 0), 0u) << e.path();
  }
  EXPECT_EQ(entries, 2);
}

namespace {

// A disk that fills up after 100 bytes of a save.
ssize_t FullAfter100(int fd, const void* data, std::size_t size) {
  static std::size_t written = 0;
  if (written >= 100) {
    written = 0;
    errno = ENOSPC;
    return -1;
  }
  const std::size_t n = std::min<std::size_t>(size, 100 - written);
  written += n;
  return ::write(fd, data, n);
}

}  // namespace

TEST(XplFile, SaveFailingHalfWayKeepsTheOldPaletteAndNamesTheFile) {
  const std::string dir = Dir("full");
  const std::string path = dir + "keep.xpl";
  const PaletteModel old = StartPalette();
  SaveXplFile(path, old);
  try {
    SaveXplFile(path, Edited(), &FullAfter100);
    ADD_FAILURE() << "a full disk must not pass for success";
  } catch (const std::system_error& e) {
    EXPECT_EQ(e.code().value(), ENOSPC);
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
  }
  EXPECT_EQ(Slurp(path), XplBytes(old));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
      << "the temporary file is removed";
}
