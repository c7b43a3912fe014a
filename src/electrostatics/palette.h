#pragma once
// The 256 colours of the potential and field plots: entry 0 for the lowest value of
// a scale, entry 255 for the highest. They come from the palette file quor.xpl in the
// current directory, made by the palette editor tintor: 256 red bytes, 256 green, 256
// blue, then the editor's control points, which quor does not read.
#include <array>
#include <cstdint>
#include <string>

#include "numerics/canvas.h"

namespace quor::electrostatics {
using namespace quor::numerics;

struct Palette {
  std::array<std::uint8_t, 256> red{}, green{}, blue{};
  // The canvas colour $BBGGRR of entry i (0..255).
  Color ColorAt(int i) const {
    return static_cast<Color>(red[i]) | static_cast<Color>(green[i]) << 8 |
           static_cast<Color>(blue[i]) << 16;
  }
};

inline constexpr const char* kPaletteFileName = "quor.xpl";
inline constexpr std::size_t kPaletteColourBytes = 768;

// Grey levels from black (entry 0) to white (entry 255).
Palette GreyRamp();

// The colour table from the first 768 bytes of the file; the grey ramp, without a
// message, when the file cannot be opened or is not a regular file. A file shorter than 768 bytes throws
// FileError naming it: no table is half filled.
Palette ReadPalette(const std::string& path = kPaletteFileName);

}  // namespace quor::electrostatics
