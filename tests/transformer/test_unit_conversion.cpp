// Inches and AWG gauges to metres and back, field by field and window by window.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "numerics/arithmetic_fault.h"
#include "numerics/number_reading.h"
#include "transformer/unit_conversion.h"
#include "numerics/library_namespaces.h"

namespace {

using Rule = std::string (*)(std::string_view, ReportSink&);

struct Converted {
  std::string text;
  std::vector<std::string> lines;
};

Converted Apply(Rule rule, const char* text) {
  VectorReport report;
  Converted c;
  c.text = rule(text, report);
  c.lines = report.lines;
  return c;
}

}  // namespace

// The two constants put gauge 36 at 5 mils and gauge 0000 (-3) at 460 mils; each gauge
// is 92^(1/39) times thinner than the one before. Reference values to 40 digits by
// decimal arithmetic.
TEST(UnitConversion, GaugeConstants) {
  EXPECT_LE(std::fabs(AwgA() - -0.1159432968474112899908004378135012629383L), 2e-19L);
  EXPECT_LE(std::fabs(AwgB() - 5.783396598940906814269575094512233105305L), 5e-18L);
  EXPECT_LE(std::fabs(std::exp(-AwgA()) - 1.122932196532281395207850397418743740937L), 4e-19L);
  EXPECT_LE(std::fabs(std::exp(AwgA() * 36 + AwgB()) - 5.0L), 5e-18L);
  EXPECT_LE(std::fabs(std::exp(AwgA() * -3 + AwgB()) - 460.0L), 5e-16L);
}

TEST(UnitConversion, FieldRules) {
  const std::vector<std::string> none;
  const std::vector<std::string> negative{kNegativeGaugeLine};
  const std::vector<std::string> noGauge{kNoGaugeLine};
  const std::vector<std::string> outOfRange{kOutOfRangeLine};
  struct Row {
    Rule rule;
    const char* text;
    const char* expected;
    const std::vector<std::string>& lines;
  };
  const Row rows[] = {
      {&InchToMeterText, "1", "0.0254", none},
      {&MeterToInchText, "0.0254", "1", none},
      {&MeterToInchText, "0.1", "3.937007874015748", none},
      {&InchToMeterText, "", "0", none},        // empty reads as 0
      {&InchToMeterText, "0,5", "0", none},     // unparseable too
      {&InchToMeterText, "-2", "-0.0508", none},
      {&InchToMeterText, "1e5", "2540", none},
      {&MeterToInchText, "1e-9", "3.93700787401575E-8", none},
      {&AwgToMeterText, "36", "0.000127", none},
      // Beyond the number range: the text stays, with a line instead of "+Inf".
      {&MeterToInchText, "1e4932", "1e4932", outOfRange},
      {&AwgToMeterText, "-1e6", "-1e6", outOfRange},
      {&AwgToMeterText, "1e6", "0", none},
      // A gauge needs a positive diameter.
      {&MeterToAwgText, "0", "0", noGauge},
      {&MeterToAwgText, "", "", noGauge},
      {&MeterToAwgText, "-0.001", "-0.001", noGauge},
  };
  for (const Row& r : rows) {
    ClearArithmeticFaults();
    const Converted c = Apply(r.rule, r.text);
    EXPECT_EQ(c.text, r.expected) << r.text;
    EXPECT_EQ(c.lines, r.lines) << r.text;
    // An overflow handled here must not end the next command that checks the flags.
    EXPECT_NO_THROW(CheckArithmeticFaults()) << r.text;
  }
}

// Gauges against the published AWG table (diameters in inches, 4 digits), and the
// negative numbers of the gauges thicker than 0.
TEST(UnitConversion, GaugesAgainstTheWireTable) {
  struct Row {
    Extended gauge;
    Extended inches;
  };
  const Row table[] = {{-3, 0.4600L}, {0, 0.3249L}, {10, 0.1019L}, {18, 0.04030L},
                       {24, 0.02010L}, {30, 0.01003L}, {40, 0.003145L}};
  for (const Row& r : table) {
    const std::string gauge = std::to_string(static_cast<double>(r.gauge));
    const Converted m = Apply(&AwgToMeterText, gauge.c_str());
    EXPECT_NEAR(ReadNumber(m.text) / 0.0254L / r.inches, 1.0L, 6e-4L) << gauge;
    // The diameter's text has 15 decimals, some 12 significant digits for a
    // millimetre: the gauge comes back to about 1e-10.
    const Converted back = Apply(&MeterToAwgText, m.text.c_str());
    EXPECT_NEAR(ReadNumber(back.text), r.gauge, 1e-10L) << gauge;
    EXPECT_EQ(back.lines.size(), r.gauge < 0 ? 1u : 0u) << gauge;
  }
  const Converted thick = Apply(&MeterToAwgText, "0.01");
  EXPECT_NEAR(ReadNumber(thick.text), -1.66L, 0.01L);
  EXPECT_EQ(thick.lines, std::vector<std::string>{kNegativeGaugeLine});
  EXPECT_NEAR(ReadNumber(Apply(&MeterToAwgText, "0.0002").text), 32.08L, 0.005L);
  EXPECT_NEAR(ReadNumber(Apply(&MeterToAwgText, "0.001").text), 18.20L, 0.005L);
}

// Whole windows: only the listed fields change, lengths before wires, each line where
// its field is converted; a field the window does not have is skipped.
TEST(UnitConversion, WindowFieldSets) {
  ASSERT_EQ(UnitFieldSets().size(), 5u);
  const char* const order[] = {"transformer", "straight", "toroid", "partial", "sheet"};
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(UnitFieldSets()[i].window, order[i]);

  FieldValues fields{{"En1", "12"},   {"Eh1", "4"},  {"Er1", "1"},     {"Es1", "1"},
                     {"Eb1", "0"},    {"Eh2", "10"}, {"Er2", "2"},     {"Es2", "2"},
                     {"Eb2", "0"},    {"Ewd1", "0"}, {"Ewd2", "0.01"}, {"Ens1", "20"}};
  VectorReport report;
  const UnitFieldSet& main = *FindUnitFieldSet("transformer");
  ConvertUnitFields(main, UnitDirection::ToInches, fields, report);
  EXPECT_EQ(report.lines, (std::vector<std::string>{kNoGaugeLine, kNegativeGaugeLine}));
  ConvertUnitFields(main, UnitDirection::ToMeters, fields, report);
  EXPECT_EQ(fields.at("En1"), "12");
  EXPECT_EQ(fields.at("Ens1"), "20");
  EXPECT_EQ(fields.at("Eh1"), "4");
  EXPECT_EQ(fields.at("Er2"), "2");
  EXPECT_NEAR(ReadNumber(fields.at("Ewd2")), 0.01L, 1e-16L);
  EXPECT_EQ(fields.at("Ewd1"), "0.008251462802171");  // "0" stayed, and was read as gauge 0
  EXPECT_EQ(fields.count("Eradius1"), 0u);
  EXPECT_EQ(FindUnitFieldSet("elliptic"), nullptr);
}
