// The ready-made palettes of tintor's Presets menu: editable curves, the colours they
// promise at their ends, and the perceptual one measured in CIELAB by a conversion of
// the test's own.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "palette_builder/presets.h"

namespace {

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

Rgb At(const PaletteModel& m, int y) { return {m.palette[0][y], m.palette[1][y], m.palette[2][y]}; }

std::string Text(const Rgb& c) {
  return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

PaletteModel Applied(int preset) {
  PaletteModel m = StartPalette();
  ApplyPreset(m, PalettePresets()[preset]);
  return m;
}

// CIE 1976 L*a*b* of an sRGB colour (IEC 61966-2-1 transfer curve, sRGB primaries,
// D65 white: Xn = 0.95047, Zn = 1.08883).
struct Lab {
  double L, a, b;
  double Hue() const {  // degrees, 0..360
    const double h = std::atan2(b, a) * 180 / M_PI;
    return h < 0 ? h + 360 : h;
  }
};

Lab ToLab(const Rgb& c) {
  const auto linear = [](int v) {
    const double s = v / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  const double r = linear(c.r), g = linear(c.g), b = linear(c.b);
  const double X = 0.4124 * r + 0.3576 * g + 0.1805 * b;
  const double Y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
  const double Z = 0.0193 * r + 0.1192 * g + 0.9505 * b;
  const auto f = [](double t) {
    constexpr double d = 6.0 / 29;
    return t > d * d * d ? std::cbrt(t) : t / (3 * d * d) + 4.0 / 29;
  };
  const double fx = f(X / 0.95047), fy = f(Y), fz = f(Z / 1.08883);
  return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

}  // namespace

TEST(PalettePresets, EditableCurvesWithTheirColoursAtTheEnds) {
  ASSERT_EQ(PalettePresets().size(), 3u);
  for (int p = 0; p < 3; ++p)
    for (int a = 0; a < kChannels; ++a)
      EXPECT_TRUE(ChannelIsUsable(Applied(p), a)) << PalettePresets()[p].name << " channel " << a;

  // The highest intensity a curve can give is 4 x 63 = 252.
  const struct {
    int preset;
    int entry;
    Rgb colour;
  } rows[] = {
      {0, 0, {0, 0, 0}},      {0, 128, {128, 128, 128}}, {0, 255, {252, 252, 252}},
      {1, 0, {0, 0, 252}},    {1, 64, {0, 252, 252}},    {1, 128, {0, 252, 0}},
      {1, 192, {252, 252, 0}}, {1, 255, {252, 0, 0}},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(At(Applied(r.preset), r.entry), r.colour)
        << PalettePresets()[r.preset].name << " entry " << r.entry << " is "
        << Text(At(Applied(r.preset), r.entry));
  }

  // The grey ramp is grey and never darkens.
  const PaletteModel grey = Applied(0);
  for (int y = 1; y < kPaletteEntries; ++y) {
    const Rgb c = At(grey, y);
    ASSERT_TRUE(c.r == c.g && c.g == c.b) << y << " " << Text(c);
    ASSERT_GE(c.r, grey.palette[0][y - 1]) << y;
  }
}

TEST(PalettePresets, PerceptualMapRisesSteadilyInLightnessFromDarkBlueToYellow) {
  const PaletteModel m = Applied(2);
  const Lab first = ToLab(At(m, 0)), last = ToLab(At(m, 255));

  // Dark blue: little lightness, blue the strongest channel, a blue hue angle; then
  // a light yellow.
  const Rgb c0 = At(m, 0), c255 = At(m, 255);
  EXPECT_LT(first.L, 20);
  EXPECT_GT(c0.b, c0.r + 60) << Text(c0);
  EXPECT_GT(c0.b, c0.g + 40) << Text(c0);
  EXPECT_NEAR(first.Hue(), 295, 5);
  EXPECT_GT(last.L, 90);
  EXPECT_GT(c255.r, 230) << Text(c255);
  EXPECT_GT(c255.g, 230) << Text(c255);
  EXPECT_LT(c255.b, 80) << Text(c255);
  EXPECT_NEAR(last.Hue(), 100, 5);

  for (int y = 1; y < kPaletteEntries; ++y) {
    const Lab lab = ToLab(At(m, y));
    // Never darker than the entry before: the order of values survives any
    // rendering that keeps only lightness (a grey-scale print, a colour-blind eye).
    ASSERT_GE(lab.L, ToLab(At(m, y - 1)).L) << "entry " << y;
    // Equal steps of value, equal steps of lightness: within 1.5 L* of the straight
    // line (8-bit truncation and five-point curves cannot do much better).
    const double line = first.L + (last.L - first.L) * y / 255;
    ASSERT_NEAR(lab.L, line, 1.5) << "entry " << y;
    // The hue turns steadily through cyan and green (from 295 to 100 degrees).
    ASSERT_NEAR(lab.Hue(), 295 - 195.0 * y / 255, 5) << "entry " << y;
    // And lightness really moves: four entries on, a visibly different colour.
    if (y >= 4) {
      ASSERT_GT(lab.L - ToLab(At(m, y - 4)).L, 0.5) << "entry " << y;
    }
  }
}
