#include "palette_builder/palette_model.h"

#include <algorithm>
#include <cstdlib>

PaletteModel StartPalette() {
  PaletteModel m;
  for (int a = 0; a < kChannels; ++a) {
    for (int i = 0; i < kPaletteEntries; ++i) m.palette[a][i] = static_cast<std::uint8_t>(i);
    m.count[a] = kControlPoints;
    m.X[a] = {0, 16, 32, 48, 63};
    m.Y[a] = {0, 64, 128, 192, 255};
  }
  return m;
}

bool RowsAreValid(const PaletteModel& model, int a) {
  if (model.count[a] != kControlPoints) return false;
  const auto& Y = model.Y[a];
  if (Y[0] != 0 || Y[kControlPoints - 1] != kPaletteEntries - 1) return false;
  for (int i = 1; i < kControlPoints; ++i)
    if (Y[i] <= Y[i - 1]) return false;
  return true;
}

bool ChannelIsUsable(const PaletteModel& model, int a) {
  if (!RowsAreValid(model, a)) return false;
  for (std::int32_t x : model.X[a])
    if (x < 0 || x >= kCurveColumns) return false;
  return true;
}

void RecomputeChannel(PaletteModel& model, int a) {
  // Guarded so that a channel that breaks the rules (a division by a zero row
  // difference, rows outside the table) can never be evaluated.
  if (!ChannelIsUsable(model, a)) return;
  const auto& X = model.X[a];
  const auto& Y = model.Y[a];
  for (int i = 1; i < kControlPoints; ++i) {
    const double m = static_cast<double>(X[i] - X[i - 1]) / static_cast<double>(Y[i] - Y[i - 1]);
    const double b = X[i] - Y[i] * m;
    for (int y = Y[i - 1]; y <= Y[i]; ++y) {
      const auto intensity = static_cast<long>((y * m + b) * 4);  // truncation towards zero
      model.palette[a][y] = static_cast<std::uint8_t>(intensity & 0xFF);
    }
  }
}

int NearestPoint(const PaletteModel& model, int a, int y) {
  int best = 10000;
  int nearest = 0;
  for (int i = 0; i < kControlPoints; ++i) {
    const int d = std::abs(y - model.Y[a][i]);
    if (d < best) {  // only a strictly nearer point wins: ties go to the lower index
      best = d;
      nearest = i;
    }
  }
  return nearest;
}

int MoveControlPoint(PaletteModel& model, int a, int x, int y) {
  const int i = NearestPoint(model, a, y);
  model.X[a][i] = std::clamp(x, 0, kCurveColumns - 1);
  // The end points stay on rows 0 and 255; an interior point never reaches its
  // neighbours, so the rows stay strictly increasing.
  if (i > 0 && i < kControlPoints - 1 && model.Y[a][i - 1] < y && y < model.Y[a][i + 1])
    model.Y[a][i] = y;
  return i;
}
