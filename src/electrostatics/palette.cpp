#include "electrostatics/palette.h"

#include <fstream>
#include <sys/stat.h>

#include "numerics/file_write.h"

namespace quor::electrostatics {
using namespace quor::numerics;

Palette GreyRamp() {
  Palette p;
  for (int i = 0; i < 256; ++i)
    p.red[i] = p.green[i] = p.blue[i] = static_cast<std::uint8_t>(i);
  return p;
}

Palette ReadPalette(const std::string& path) {
  // Only a regular file is a palette: a named pipe called quor.xpl would make every
  // parse wait for a writer, and a directory holds no colours.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return GreyRamp();
  std::ifstream in(path, std::ios::binary);
  if (!in) return GreyRamp();
  char bytes[kPaletteColourBytes];
  in.read(bytes, sizeof bytes);
  const auto got = static_cast<std::size_t>(in.gcount());
  if (got < kPaletteColourBytes)
    throw FileError("Cannot read file " + path + ": a palette needs " +
                    std::to_string(kPaletteColourBytes) + " bytes of colours, the file has " +
                    std::to_string(got));
  Palette p;
  for (int i = 0; i < 256; ++i) {
    p.red[i] = static_cast<std::uint8_t>(bytes[i]);
    p.green[i] = static_cast<std::uint8_t>(bytes[256 + i]);
    p.blue[i] = static_cast<std::uint8_t>(bytes[512 + i]);
  }
  return p;
}

}  // namespace quor::electrostatics
