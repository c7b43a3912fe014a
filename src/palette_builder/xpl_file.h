#pragma once
// The .xpl palette file, 888 bytes with no header: the red intensities of entries
// 0..255, then the green, then the blue (768 bytes, all that quor reads), then the
// control-point columns X of the red, green and blue curves (15 little-endian signed
// 32-bit integers) and their rows Y in the same order (15 more).
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

#include "palette_builder/palette_model.h"

inline constexpr std::size_t kXplColourBytes = 768;
inline constexpr std::size_t kXplPointBytes = 60;
inline constexpr std::size_t kXplSize = kXplColourBytes + 2 * kXplPointBytes;  // 888

// The 888 bytes of the palette and its control points.
std::string XplBytes(const PaletteModel& model);

// What a load changed.
struct XplLoad {
  std::size_t bytesUsed = 0;  // at most 888
  // Channels whose rows from the file broke the rules of a curve (first row 0, last
  // row 255, rows strictly increasing): their colours from the points would be
  // undefined, so their points were put back as they were before the load.
  std::array<bool, kChannels> pointsRestored{};
  // Channels kept with some column outside 0..63 moved to the nearest edge of the box.
  std::array<bool, kChannels> columnsClamped{};
};

// Puts the bytes of a file into the model in file order. A short file fills what it
// covers: the colours byte by byte, the control points whole integer by whole
// integer; the rest keeps its previous content. Bytes past 888 are ignored. The
// colour table is taken as it stands (the next drawing of a curve recomputes its
// channel from the points). A channel whose rows make a curve is kept, its columns
// held within 0..63; one whose rows do not keeps the points it had.
XplLoad ApplyXplBytes(PaletteModel& model, std::string_view bytes);

// Loads a palette file. Nothing (and the model unchanged) when the path is not a
// regular file that can be opened for reading.
std::optional<XplLoad> LoadXplFile(const std::string& path, PaletteModel& model);

// The low-level write call of a save, replaceable so that tests can make a write fail
// half-way (a full disk).
using XplWriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);

// Writes the palette to path as a whole (SaveFileBytes): a write error never leaves a
// truncated palette or loses the previous one. Throws SaveError, a std::system_error
// naming the file (and the folder when the folder is the cause).
void SaveXplFile(const std::string& path, const PaletteModel& model,
                 XplWriteCall writeCall = nullptr);
