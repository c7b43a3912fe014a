#include "palette_builder/presets.h"

namespace {

// The rows of the five points when a palette is made of four equal bands.
constexpr std::array<std::int32_t, kControlPoints> kQuarters = {0, 64, 128, 192, 255};

const std::array<PalettePreset, 3> kPresets = {{
    // The editor's own start: intensity = entry up to 192, then the last segment
    // climbs to 252 at entry 255 (the highest intensity a 64-column box can give).
    {"Grey ramp",
     {{{0, 16, 32, 48, 63}, {0, 16, 32, 48, 63}, {0, 16, 32, 48, 63}}},
     {{kQuarters, kQuarters, kQuarters}}},

    // The hue circle from blue (240 degrees) down to red (0), at full saturation and
    // value: one channel changes in each band, so blue, cyan, green, yellow and red
    // sit exactly on rows 0, 64, 128, 192 and 255.
    {"Blue, cyan, green, yellow, red",
     {{{0, 0, 0, 63, 63}, {0, 63, 63, 63, 0}, {63, 63, 0, 0, 0}}},
     {{kQuarters, kQuarters, kQuarters}}},

    // Designed in CIELAB (D65 white, sRGB primaries): along the palette the lightness
    // L* rises linearly from 15 to 92, the hue angle turns at a steady rate from 295
    // degrees (blue) through cyan and green to 100 degrees (yellow), and the chroma
    // follows a quadratic Bezier curve 45, 45, 80 (start, middle, end), cut back where
    // a colour falls outside what the sRGB channels (at most 252) can show. For each
    // channel the five points are the broken line nearest to that path in least
    // squares, over interior rows on a grid of 4 rows at least 16 rows apart and
    // whole columns; then green's third point moved three rows up (196 to 193) so that
    // the truncated intensities never make L* fall from one entry to the next. The
    // result stays within 0.8 of a straight line in L*: equal steps along the palette
    // look like equal steps of lightness, and a grey-scale print keeps the order.
    {"Perceptual, dark blue to yellow",
     {{{0, 1, 2, 22, 62}, {8, 12, 32, 52, 60}, {24, 25, 35, 37, 15}}},
     {{{0, 164, 180, 196, 255}, {0, 16, 112, 193, 255}, {0, 24, 112, 152, 255}}}},
}};

}  // namespace

const std::array<PalettePreset, 3>& PalettePresets() { return kPresets; }

void ApplyPreset(PaletteModel& model, const PalettePreset& preset) {
  for (int a = 0; a < kChannels; ++a) {
    model.count[a] = kControlPoints;
    model.X[a] = preset.X[a];
    model.Y[a] = preset.Y[a];
    RecomputeChannel(model, a);
  }
}
