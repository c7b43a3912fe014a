#pragma once
// Ready-made palettes for tintor's Presets menu. Each is five control points per
// channel, so that the user can go on shaping it in the curve boxes like any other
// palette.
#include <array>
#include <cstdint>

#include "palette_builder/palette_model.h"

struct PalettePreset {
  const char* name;  // the menu item
  // Per channel (red, green, blue): columns X (0..63) and rows Y (0 and 255 at the
  // ends, strictly increasing), as the editor keeps them.
  std::array<std::array<std::int32_t, kControlPoints>, kChannels> X;
  std::array<std::array<std::int32_t, kControlPoints>, kChannels> Y;
};

// Grey ramp, blue-cyan-green-yellow-red, and a dark blue to yellow map of steadily
// rising lightness, in the menu's order.
const std::array<PalettePreset, 3>& PalettePresets();

// Replaces every channel's control points by the preset's and recomputes the colours.
void ApplyPreset(PaletteModel& model, const PalettePreset& preset);
