// Overlapping turns of the two coils: the closed-form least distance over a revolution
// against sections sampled azimuth by azimuth, coils on one cylinder whose overlap
// follows from their pitch, and the coil models each option computes M with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "transformer/coil_pair.h"
#include "transformer/turn_overlap.h"
#include "numerics/library_namespaces.h"

namespace {

struct Coil {
  Extended N, h, rmin, rmax, b;
};

// The least distance between the wire centres of two true spirals, found by cutting
// both at 40000 azimuths and comparing every section of one with every one of the other.
Extended SampledLeastDistance(const Coil& p, const Coil& s) {
  constexpr int kSteps = 40000;
  Extended least = 1e9L;
  for (int k = 0; k < kSteps; ++k) {
    const Extended phi = kTwoPi * k / kSteps;
    for (int m = 0; phi + kTwoPi * m <= kTwoPi * p.N; ++m) {
      const Extended t1 = (phi + kTwoPi * m) / (kTwoPi * p.N);  // share of the winding
      const Extended r1 = p.rmin + (p.rmax - p.rmin) * t1, z1 = p.b + p.h * t1;
      for (int n = 0; phi + kTwoPi * n <= kTwoPi * s.N; ++n) {
        const Extended t2 = (phi + kTwoPi * n) / (kTwoPi * s.N);
        const Extended r2 = s.rmin + (s.rmax - s.rmin) * t2, z2 = s.b + s.h * t2;
        least = std::min(least, std::hypot(r1 - r2, z1 - z2));
      }
    }
  }
  return least;
}

bool Overlap(const Coil& p, const Coil& s, Extended wd) {
  return FirstOverlap(SpiralTracks(p.N, p.h, p.rmin, p.rmax, p.b, wd),
                      SpiralTracks(s.N, s.h, s.rmin, s.rmax, s.b, wd))
      .has_value();
}

}  // namespace

// Wires a tenth thinner than the sampled least distance keep apart, a tenth thicker
// overlap: the closed form finds the same least distance the sampling does, for coils
// of every shape (the sampling misses the true least by less than 1e-6 m here).
TEST(TurnOverlap, LeastDistanceAgreesWithSampledSections) {
  struct Row {
    Coil primary, secondary;
  };
  const Row rows[] = {
      // A flat spiral above the top of a solenoid inside it.
      {{8, 0, 0.05L, 0.2L, 0.13L}, {10, 0.1L, 0.12L, 0.12L, 0.02L}},
      // A flat spiral across the cylinder of a solenoid: where the solenoid's wire
      // passes the spiral's plane, no turn of the spiral is at its radius.
      {{8, 0, 0.05L, 0.2L, 0.02L}, {10, 0.1L, 0.12L, 0.12L, 0}},
      // Two cones of different pitch, one 0.015 m beside the other.
      {{10, 0.1L, 0.1L, 0.2L, 0}, {7, 0.1L, 0.115L, 0.215L, 0}},
      // Two cones with fractional turns, the inner one inverted.
      {{6.5L, 0.1L, 0.1L, 0.2L, 0}, {9.3L, 0.12L, 0.16L, 0.08L, 0.01L}},
      // A solenoid around a flat spiral at its base, nearly touching its outer turn.
      {{4, 0.05L, 0.21L, 0.21L, 0}, {7.25L, 0, 0.05L, 0.2L, 0.004L}},
  };
  for (const Row& r : rows) {
    const Extended least = SampledLeastDistance(r.primary, r.secondary);
    ASSERT_GT(least, 1e-4L) << r.primary.N;
    // The wire diameter is the sum of the two wire radii.
    EXPECT_FALSE(Overlap(r.primary, r.secondary, 0.9L * least)) << r.primary.N;
    EXPECT_TRUE(Overlap(r.primary, r.secondary, 1.1L * least)) << r.primary.N;
    // The same with the coils exchanged.
    EXPECT_FALSE(Overlap(r.secondary, r.primary, 0.9L * least)) << r.primary.N;
    EXPECT_TRUE(Overlap(r.secondary, r.primary, 1.1L * least)) << r.primary.N;
  }
}

// Solenoids of pitches 0.01 and 0.012 m on one cylinder: the third turn of the second
// passes through the fourth of the first half a revolution on (at phi = pi both stand
// at 0.035 m), and they overlap however thin the wires.
TEST(TurnOverlap, CoilsWhoseWiresCrossOverlapWithAnyWire) {
  const Coil first{12, 0.12L, 0.1L, 0.1L, 0}, second{5, 0.06L, 0.1L, 0.1L, 0.005L};
  EXPECT_EQ(SampledLeastDistance(first, second), 0);
  EXPECT_TRUE(Overlap(first, second, 1e-9L));
  EXPECT_TRUE(Overlap(first, second, 0));
}

// Solenoids of equal pitch p = 0.01 m on one cylinder: their sections keep the offset
// of the bases, up to whole pitches, at every azimuth; with wires of 0.001 m they
// overlap when that offset comes within 0.001 of a whole pitch. The circular turns of
// the ring sums stand at the middle of each turn, the same offsets.
TEST(TurnOverlap, EqualPitchesOnOneCylinder) {
  struct Row {
    const char* base;  // of the secondary, 5 turns over 0.05 m
    bool overlap;
    std::int64_t primaryTurn;
  };
  const Row rows[] = {
      {"0.01", true, 2},    // the secondary's first turn on the primary's second
      {"0.005", false, 0},  // interleaved, half a pitch apart
      {"0.0105", true, 2},
      {"0.0109", true, 2},
      {"0.011", false, 0},  // 0.001 apart: the wires touch
      {"0.019", false, 0},
      {"0.0191", true, 3},
  };
  for (const Row& r : rows) {
    const Extended b2 = std::stold(r.base);
    for (bool circular : {false, true}) {
      const auto make = circular ? &CircularTurnTracks : &SpiralTracks;
      const auto pair = FirstOverlap(make(12, 0.12L, 0.1L, 0.1L, 0, 0.001L),
                                     make(5, 0.05L, 0.1L, 0.1L, b2, 0.001L));
      ASSERT_EQ(pair.has_value(), r.overlap) << r.base << " circular " << circular;
      if (pair) {
        EXPECT_EQ(pair->primary, r.primaryTurn) << r.base;
        EXPECT_EQ(pair->secondary, 1) << r.base;
      }
    }
  }
}

// The models the options compute M with, on the example of a primary raised to 0.12 m
// around a 5-turn secondary 0.01 m above its base (which gave M = 1.1e12 mH).
TEST(TurnOverlap, TheCheckFollowsTheOptions) {
  FieldValues f = TransformerDefaults();
  f["Eh1"] = "0.12";
  f["En2"] = "5";
  f["Eh2"] = "0.05";
  f["Er2"] = "0.1";
  f["Es2"] = "0.1";
  f["Eb2"] = "0.01";
  f["Ewd2"] = "0.001";
  CoilPair c;
  ReadTransformerInputs(f, c);
  const std::string line = "The wires of the coils overlap (primary turn 2, secondary turn 1)";
  TransformerOptions opt;
  EXPECT_EQ(CheckTurnOverlap(c, opt), line);  // circular turns
  opt.CBel = false;
  EXPECT_EQ(CheckTurnOverlap(c, opt), line);  // true spirals
  opt.CBjvj = true;
  EXPECT_EQ(CheckTurnOverlap(c, opt), line);  // Jones: the primary's spiral, rings
  opt.CBm = false;
  EXPECT_EQ(CheckTurnOverlap(c, opt), std::nullopt);  // no M, nothing to meet
  opt.CBparalelo = true;
  // Twelve loops from 0 to 0.12 m: the second at 0.0109 m, on the secondary's first turn.
  EXPECT_EQ(CheckTurnOverlap(c, opt), line);
  // Half a pitch higher the circular turns and the spirals keep apart.
  c.b2 = 0.005L;
  opt = TransformerOptions{};
  EXPECT_EQ(CheckTurnOverlap(c, opt), std::nullopt);
  opt.CBel = false;
  EXPECT_EQ(CheckTurnOverlap(c, opt), std::nullopt);
}
