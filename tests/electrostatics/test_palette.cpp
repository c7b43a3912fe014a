// The colour table of the plots from quor.xpl.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "electrostatics/palette.h"
#include "numerics/file_write.h"
#include "numerics/library_namespaces.h"

namespace {
std::string PaletteBytes(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + 3) % 256);
  return bytes;
}
}  // namespace

TEST(Palette, MissingFileGivesTheGreyRampFromBlackToWhite) {
  // Missing, a directory, a named pipe without a writer (which must not wait).
  const std::string dir = ::testing::TempDir();
  const std::string fifo = dir + "palette_fifo.xpl";
  ::unlink(fifo.c_str());
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {dir + "no_such_palette.xpl", dir, fifo}) {
    const Palette p = ReadPalette(path);
    EXPECT_EQ(p.ColorAt(0), 0x000000u) << path;
    EXPECT_EQ(p.ColorAt(128), 0x808080u) << path;
    EXPECT_EQ(p.ColorAt(255), 0xFFFFFFu) << path;
  }
  ::unlink(fifo.c_str());
}

TEST(Palette, ColourTableOnlyAndWholeEditorFileGiveTheSameColours) {
  const std::string dir = ::testing::TempDir();
  WriteFileAtomically(dir + "p768.xpl", PaletteBytes(768));
  WriteFileAtomically(dir + "p888.xpl", PaletteBytes(888));
  const Palette a = ReadPalette(dir + "p768.xpl");
  const Palette b = ReadPalette(dir + "p888.xpl");
  for (int i = 0; i < 256; ++i) EXPECT_EQ(a.ColorAt(i), b.ColorAt(i)) << i;
  // Red from the first 256 bytes, green the next, blue the third: $BBGGRR.
  const std::string bytes = PaletteBytes(768);
  const auto byte = [&](int k) { return static_cast<unsigned char>(bytes[k]); };
  EXPECT_EQ(a.ColorAt(5), byte(5) | byte(261) << 8 | byte(517) << 16);

  std::string blue(768, '\0');
  blue[512] = static_cast<char>(255);
  WriteFileAtomically(dir + "blue.xpl", blue);
  EXPECT_EQ(ReadPalette(dir + "blue.xpl").ColorAt(0), kBlue);
}

TEST(Palette, ShortFileIsAnErrorNamingItNotAHalfFilledTable) {
  const std::string path = ::testing::TempDir() + "short.xpl";
  WriteFileAtomically(path, PaletteBytes(767));
  try {
    ReadPalette(path);
    ADD_FAILURE() << "a short palette must not be accepted";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
  }
}
