#include "transformer/unit_conversion.h"

#include <cmath>
#include <optional>
#include <utility>

#include "numerics/arithmetic_fault.h"
#include "numerics/format.h"
#include "numerics/number_reading.h"

namespace quor::transformer {
using namespace quor::numerics;

namespace {

// A field's new text and, when it was converted, the number that text shows.
struct Conversion {
  std::string text;
  std::optional<Extended> value;
};

// The text of a converted value, or the old text with a line when the value is not a
// number the field can hold. The status flags are kept as they were: an overflow
// here is handled here, and must not end the next command that checks them.
Conversion Converted(std::string_view old, Extended v, ReportSink& report) {
  if (!std::isfinite(v)) {
    ReportLine(report, kOutOfRangeLine);
    return {std::string(old), std::nullopt};
  }
  return {NumberText(v), v};
}

Conversion InchToMeter(std::string_view text, ReportSink& report) {
  const FaultFlagsKeeper keepFlags;
  return Converted(text, ReadNumber(text) * kInchInCm / 100.0L, report);
}

Conversion MeterToInch(std::string_view text, ReportSink& report) {
  const FaultFlagsKeeper keepFlags;
  return Converted(text, ReadNumber(text) * 100.0L / kInchInCm, report);
}

Conversion AwgToMeter(std::string_view text, ReportSink& report) {
  const FaultFlagsKeeper keepFlags;
  const Extended v = ReadNumber(text);
  return Converted(text, std::exp(AwgA() * v + AwgB()) / 100000.0L * kInchInCm, report);
}

Conversion MeterToAwg(std::string_view text, ReportSink& report) {
  const FaultFlagsKeeper keepFlags;
  const Extended v = ReadNumber(text);
  if (!(v > 0)) {
    ReportLine(report, kNoGaugeLine);
    return {std::string(text), std::nullopt};
  }
  const Extended n = (std::log(v * 100000.0L / kInchInCm) - AwgB()) / AwgA();
  Conversion result = Converted(text, n, report);
  if (n < 0) ReportLine(report, kNegativeGaugeLine);
  return result;
}

}  // namespace

Extended AwgA() { return -std::log(92.0L) / 39.0L; }

Extended AwgB() { return (36.0L * std::log(460.0L) + 3.0L * std::log(5.0L)) / 39.0L; }

std::string InchToMeterText(std::string_view text, ReportSink& report) {
  return InchToMeter(text, report).text;
}

std::string MeterToInchText(std::string_view text, ReportSink& report) {
  return MeterToInch(text, report).text;
}

std::string AwgToMeterText(std::string_view text, ReportSink& report) {
  return AwgToMeter(text, report).text;
}

std::string MeterToAwgText(std::string_view text, ReportSink& report) {
  return MeterToAwg(text, report).text;
}

const std::vector<UnitFieldSet>& UnitFieldSets() {
  static const std::vector<UnitFieldSet> sets = {
      {"transformer",
       {"Eh1", "Er1", "Es1", "Eb1", "Eh2", "Er2", "Es2", "Eb2"},
       {"Ewd1", "Ewd2"},
       "Bcalc"},
      {"straight", {"Elength1", "Elength2", "Edistance", "Eoffset"}, {"Eradius1", "Eradius2"},
       "Bcalculate"},
      {"toroid", {"Emajor", "Eminor", "Emajorto", "Eminorto"}, {}, "Btoroid"},
      {"partial", {"Epmajor", "Epminor"}, {}, "Bpartial"},
      {"sheet", {"Eidiameter", "Eodiameter", "Eheight"}, {}, "Bsheet"},
  };
  return sets;
}

const UnitFieldSet* FindUnitFieldSet(std::string_view window) {
  for (const UnitFieldSet& set : UnitFieldSets())
    if (set.window == window) return &set;
  return nullptr;
}

void ConvertUnitFields(const UnitFieldSet& set, UnitDirection direction, FieldValues& fields,
                       ReportSink& report, Result* values) {
  const bool toMeters = direction == UnitDirection::ToMeters;
  auto convert = [&](const std::vector<std::string>& names, auto rule, const char* unit) {
    for (const std::string& name : names)
      if (auto it = fields.find(name); it != fields.end()) {
        Conversion c = rule(it->second, report);
        it->second = std::move(c.text);
        if (values && c.value) values->Add(name, unit, *c.value);
      }
  };
  convert(set.lengths, toMeters ? &InchToMeter : &MeterToInch, toMeters ? "m" : "in");
  convert(set.wires, toMeters ? &AwgToMeter : &MeterToAwg, toMeters ? "m" : "AWG");
}

namespace {

// The converted texts of the window's fields as NAME=VALUE lines, then the lines the
// conversion wrote.
Result ConvertWindowCommand(const FieldValues& fields, CommandEnv& env, UnitDirection direction) {
  const std::string window = env.Argument("WINDOW");
  const UnitFieldSet* set = FindUnitFieldSet(window);
  if (!set) return Refusal(env.Report(), "No unit conversion for the window " + window);
  FieldValues converted = fields;
  VectorReport lines;
  Result result;
  ConvertUnitFields(*set, direction, converted, lines, &result);
  for (const auto* names : {&set->lengths, &set->wires})
    for (const std::string& field : *names)
      if (const auto it = converted.find(field); it != converted.end())
        ReportLine(env.Report(), field + "=" + it->second);
  for (const std::string& line : lines.lines) ReportLine(env.Report(), line);
  return result;
}

}  // namespace

Result ToMetersCommand(const FieldValues& fields, CommandEnv& env) {
  return ConvertWindowCommand(fields, env, UnitDirection::ToMeters);
}

Result ToInchesCommand(const FieldValues& fields, CommandEnv& env) {
  return ConvertWindowCommand(fields, env, UnitDirection::ToInches);
}

}  // namespace quor::transformer
