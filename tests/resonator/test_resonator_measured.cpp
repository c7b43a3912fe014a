// Mode 1 of the model against measured secondaries and against the published curve fit
// of simulated ones, and the overtones of the coil whose higher modes were measured.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "numerics/canvas.h"
#include "resonator/resonator_model.h"
#include "transformer/context.h"
#include "transformer/maxwell.h"
#include "transformer/self_capacitance.h"
#include "numerics/library_namespaces.h"

namespace {

Extended Wire(Extended awg) { return 7.348e-3L / std::pow(1.122932L, awg - 1); }

// P. Nicholson's curve fit to about 1700 simulated bare secondaries over a ground plane
// (pupman archive, February 2001): turns, winding height h, diameter d, base height b
// above the plane (metres) and the wire gauge. Hz.
Extended CurveFit(Extended turns, Extended h, Extended d, Extended b, Extended awg) {
  const Extended x = h / d, sr = turns * Wire(awg) / h;
  const Extended fa = -94.6683L * awg * awg * awg + 9000.55L * awg * awg - 301175 * awg + 3.64056e6L;
  const Extended fs = 3.50662L * sr * sr - 7.90171L * sr + 5.83019L;
  const Extended fx = -0.000211179L * x * x * x + 0.00557568L * x * x + 0.0664809L * x - 0.0153254L;
  const Extended t = fa * fs * fx / (h * h);
  const Extended s = -3.85188e-15L * t * t * t + 1.17176e-8L * t * t + 0.631829L * t + 482.463L;
  return s * (1.02L + std::log(b / h / 0.2L) / 98.9065L);
}

Extended ModeOne(const ResonatorCoil& coil, int sections, std::vector<ResonatorMode>* modes = nullptr) {
  ResonatorInput in;
  in.coil = coil;
  in.sections = sections;
  const std::optional<ResonatorResult> r = SolveResonator(in);
  EXPECT_TRUE(r.has_value());
  if (!r) return 0;
  if (modes) *modes = r->modes;
  return r->modes.at(0).frequency;
}

// quor's lumped estimate: the Maxwell inductance with Medhurst's self-capacitance.
Extended Lumped(const ResonatorCoil& c) {
  VectorReport report;
  NullCanvas none(kArrangementSize, kArrangementSize);
  TransformerContext ctx(report, none);
  const Extended L = MaxwellSolenoidCircular(ctx, c.N, c.h, c.r, c.r, c.b, c.wd);
  return 1 / (kTwoPi * std::sqrt(L * MedhurstCapacitance(ctx, c.h, c.r, c.r)));
}

// Bare grounded-base secondaries over a ground plane, as published (pupman archive,
// February 2001, messages 90, 141 and 174; TSSP list m.000617): turns, height, diameter
// taken as the winding's mean, AWG gauge, base height, the measured quarter wave and the
// fit's value as its author confirmed it.
struct Measured {
  const char* id;
  Extended turns, h, d, awg, b, measured, fit;
};
const Measured kMeasured[] = {
    {"pn_cw_725t", 725, 1.6L, 0.58L, 12, 0.15L, 90900, 91100},
    {"pn_half_365t", 365, 0.8L, 0.58L, 12, 0.15L, 150700, 152900},
    {"tf_big_1001t", 1001, 0.762L, 0.2606L, 24, 0.025L, 148400, 147600},
    {"mm_1700t", 1700, 1.07696L, 0.1081L, 24, 0.3302L, 276900, 279600},
    {"sk_20cm_979t", 979, 0.68L, 0.2L, 22, 0.5L, 202700, 209300},
};

ResonatorCoil Coil(const Measured& m) { return {m.turns, m.h, m.d / 2, m.b, Wire(m.awg)}; }

}  // namespace

// The fit as transcribed here gives the values its author confirmed.
TEST(ResonatorMeasured, CurveFitAsPublished) {
  for (const Measured& m : kMeasured)
    EXPECT_NEAR(CurveFit(m.turns, m.h, m.d, m.b, m.awg) / m.fit, 1, 0.005) << m.id;
}

// Within 4 % of each measurement (builders' workshops: walls and primaries nearby lower
// a frequency by a few per cent), the lumped estimate's error beside it.
TEST(ResonatorMeasured, FivePublicCoilsWithinFourPercent) {
  for (const Measured& m : kMeasured) {
    const Extended model = ModeOne(Coil(m), 100) / m.measured - 1;
    const Extended lumped = Lumped(Coil(m)) / m.measured - 1;
    std::printf("%-13s measured %7.1f kHz  model %+5.2f %%  lumped Medhurst %+6.2f %%\n", m.id,
                static_cast<double>(m.measured / 1000), static_cast<double>(100 * model),
                static_cast<double>(100 * lumped));
    EXPECT_LT(std::fabs(model), 0.04L) << m.id;
  }
}

// Terry Fritz's coil, whose 3/4- and 5/4-wave modes were measured too (353.4 and
// 513.8 kHz over 148.4 kHz): the overtone ratios within 3 %.
TEST(ResonatorMeasured, OvertoneRatiosOfTheCoilWithHigherModes) {
  std::vector<ResonatorMode> modes;
  ModeOne(Coil(kMeasured[2]), 100, &modes);
  ASSERT_EQ(modes.size(), 3u);
  EXPECT_NEAR(modes[1].frequency / modes[0].frequency / (353400.0L / 148400), 1, 0.03);
  EXPECT_NEAR(modes[2].frequency / modes[0].frequency / (513800.0L / 148400), 1, 0.03);
}

// 24 bare coils spread over the fit's domain (diameter over 10 cm, height over 1.5
// diameters, base between h/30 and h/2 above the plane), close wound with gauges 16 to
// 25: within 5 %. (At fixed geometry the fit's frequency does not scale with the wire
// diameter as the turn count does, by up to 10 % at the ends of its gauge range, such as
// AWG 12 on an 11 cm form or AWG 32 on a 40 cm one; quor's lumped estimate strays from
// the fit there in the same way, so such coils test the fit, not this model.)
TEST(ResonatorMeasured, TwentyFourCoilsAgainstTheCurveFit) {
  const Extended diameters[] = {0.11L, 0.16L, 0.25L, 0.4L};
  const Extended ratios[] = {2, 4, 7};
  const Extended bases[] = {0.08L, 0.35L};
  const Extended gauges[] = {16, 19, 22, 25};
  const Extended fills[] = {0.8L, 0.92L};
  int i = 0;
  for (const Extended d : diameters)
    for (const Extended x : ratios)
      for (const Extended bh : bases) {
        const Extended awg = gauges[i % 4], h = x * d, b = bh * h;
        const Extended turns = std::round(fills[(i / 2) % 2] * h / Wire(awg));
        ++i;
        const Extended fit = CurveFit(turns, h, d, b, awg);
        const Extended model = ModeOne({turns, h, d / 2, b, Wire(awg)}, 50);
        EXPECT_NEAR(model / fit, 1, 0.05) << "d " << static_cast<double>(d) << " h/d "
                                          << static_cast<double>(x) << " b/h "
                                          << static_cast<double>(bh) << " AWG "
                                          << static_cast<double>(awg);
      }
  EXPECT_EQ(i, 24);
}
