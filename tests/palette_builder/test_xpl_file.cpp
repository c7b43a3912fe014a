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

TEST(XplFile, ShortLongAndBrokenFilesLeaveEditableCurves) {
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
  // Points that break the editing rules: that channel keeps the points it had, the
  // others and the colour table are loaded.
  struct Broken {
    const char* what;
    int channel;
    std::string x, y;
  } broken[] = {
      {"first row not 0", 0, Int32Le({0, 1, 2, 3, 4}), Int32Le({5, 64, 128, 192, 255})},
      {"last row not 255", 1, Int32Le({0, 1, 2, 3, 4}), Int32Le({0, 64, 128, 192, 256})},
      {"two points on one row", 2, Int32Le({0, 1, 2, 3, 4}), Int32Le({0, 64, 64, 192, 255})},
      {"rows going back", 0, Int32Le({0, 1, 2, 3, 4}), Int32Le({0, 128, 64, 192, 255})},
      {"column 64", 1, Int32Le({0, 64, 2, 3, 4}), Int32Le({0, 64, 128, 192, 255})},
      {"negative column", 2, Int32Le({0, 1, -1, 3, 4}), Int32Le({0, 64, 128, 192, 255})},
  };
  const std::string good = Int32Le({9, 9, 9, 9, 9});
  const std::string goodY = Int32Le({0, 1, 2, 3, 255});
  for (const Broken& b : broken) {
    std::string x, y;
    for (int a = 0; a < kChannels; ++a) {
      x += a == b.channel ? b.x : good;
      y += a == b.channel ? b.y : goodY;
    }
    PaletteModel m = source;
    const XplLoad load = ApplyXplBytes(m, whole.substr(0, 768) + x + y);
    for (int a = 0; a < kChannels; ++a) {
      EXPECT_EQ(load.pointsRestored[a], a == b.channel) << b.what << " channel " << a;
      EXPECT_TRUE(ChannelIsUsable(m, a)) << b.what;
      const auto& expectedX = a == b.channel ? source.X[a] : std::array<std::int32_t, 5>{9, 9, 9, 9, 9};
      EXPECT_EQ(m.X[a], expectedX) << b.what << " channel " << a;
    }
    EXPECT_EQ(m.palette, source.palette) << b.what;
  }
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
