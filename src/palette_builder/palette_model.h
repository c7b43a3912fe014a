#pragma once
// The palette that tintor builds: 256 colours for the plot scales of quor, entry 0 for
// the lowest value and entry 255 for the highest. Each of the three channels (0 red,
// 1 green, 2 blue) is a broken line through five control points drawn in a curve box
// 64 pixels wide and 256 rows high: row y is palette entry y, and the column X of the
// line at that row is a quarter of the channel's intensity there.
//
// Plain data and plain functions, no toolkit: the window draws and clicks, this file
// decides what the palette is.
#include <array>
#include <cstdint>

inline constexpr int kChannels = 3;
inline constexpr int kPaletteEntries = 256;
inline constexpr int kControlPoints = 5;
inline constexpr int kCurveColumns = 64;  // X runs over 0..63

struct PaletteModel {
  // Intensity of each channel for entries 0..255.
  std::array<std::array<std::uint8_t, kPaletteEntries>, kChannels> palette{};
  // Control points per channel: column X (0..63) and row Y (0..255).
  std::array<std::array<std::int32_t, kControlPoints>, kChannels> X{};
  std::array<std::array<std::int32_t, kControlPoints>, kChannels> Y{};
  // Number of control points per channel; always five.
  std::array<std::int32_t, kChannels> count{};

  // The canvas colour of entry y as $BBGGRR: red + 256 green + 65536 blue.
  std::uint32_t ColorAt(int y) const {
    return static_cast<std::uint32_t>(palette[0][y]) |
           static_cast<std::uint32_t>(palette[1][y]) << 8 |
           static_cast<std::uint32_t>(palette[2][y]) << 16;
  }
};

// The state at start: every entry grey (i, i, i), and in each channel the points
// (0, 0), (16, 64), (32, 128), (48, 192), (63, 255). The colours are those of the
// identity until the curves are first drawn, which bends entries 193..255 onto the
// last segment.
PaletteModel StartPalette();

// True when the channel's rows make a curve: five points, the first at row 0, the
// last at row 255, rows strictly increasing. Only then is every entry of the palette
// on exactly one segment (or on the shared end of two).
bool RowsAreValid(const PaletteModel& model, int channel);

// True when the channel's points can be edited and drawn: valid rows and every
// column within the box, 0..63.
bool ChannelIsUsable(const PaletteModel& model, int channel);

// Recomputes the channel's intensities from its broken line. On each segment the
// slope m = dX/dY and intercept b = X[i] - Y[i] m are doubles, and entry y gets the
// integer part of 4 (y m + b), low 8 bits; a row shared by two segments keeps the
// value of the later one. A channel that is not usable is left as it is.
void RecomputeChannel(PaletteModel& model, int channel);

// The control point whose row is nearest to y; on a tie the lower index.
int NearestPoint(const PaletteModel& model, int channel, int y);

// A click at pixel (x, y) of the channel's curve box: the nearest point takes the
// column x (held within 0..63) and, unless it is the first or the last point, the
// row y when that lies strictly between its neighbours' rows. Returns the index of
// the moved point. The intensities are not recomputed here: the box's repaint does it.
int MoveControlPoint(PaletteModel& model, int channel, int x, int y);
