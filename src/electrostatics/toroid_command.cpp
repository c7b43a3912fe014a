#include "electrostatics/toroid_command.h"

#include "electrostatics/other_shapes.h"
#include "electrostatics/ring_kernel.h"
#include "electrostatics/toroid.h"
#include "numerics/arithmetic_fault.h"
#include "numerics/file_write.h"
#include "numerics/format.h"
#include "numerics/number_reading.h"

const std::vector<FieldDef>& ToroidFieldDefs() {
  static const std::vector<FieldDef> defs = {
      {"Emajor", "Major diameter:", "0.9", "Outer diameter D of the toroid (m); first D of a table", false},
      {"Eminor", "Minor diameter:", "0.3", "Diameter d of the tube (m); first d of a table", false},
      {"Emajorto", "to", "0.9", "Last D of the table (m)", false},
      {"Eminorto", "to", "0.3", "Last d of the table (m)", false},
      {"En1", "Values", "1", "Number of D values in the table", false, FieldKind::Count},
      {"En2", "Values", "1", "Number of d values in the table", false, FieldKind::Count},
      {"CBdetails", "List details", "0", "List the Legendre functions and the steps of the series", true},
      {"CBtabela", "Save a table", "0", "Save a table of exact capacitances in toroid.dat", true},
      {"CBvolt", "List breakdown voltage", "0", "Add the breakdown voltages to the table", true},
  };
  return defs;
}

namespace {

constexpr Extended kPico = 1e-12L;
constexpr const char* kCrLf = "\r\n";
constexpr const char* kNoHole = " -------";

std::string Cell(Extended v, int decimals) { return v == 0 ? kNoHole : FixedStr(v, 8, decimals); }

std::string Pair(Extended D, Extended d) { return FixedStr(D, 6, 3) + "x" + FixedStr(d, 6, 3) + ":"; }

// Breakdown voltage in kV from a field per volt; a toroid without a hole has no field.
Extended BreakdownVoltage(Extended Emax, Extended E) { return E != 0 ? Emax / E : 0; }

void SingleToroid(Extended D, Extended d, Extended e0, Extended Emax, bool details,
                  ReportSink& report) {
  ReportLine(report, "");
  if (D > 2.0L * d && d > 0) {
    const ToroidSwitches sw{details, false};
    const Extended C = ExactToroidCapacitance(D, d, e0, sw, report);
    ReportLine(report, "Exact capacitance of a " + FixedStr(D, 5, 2) + "x" + FixedStr(d, 5, 2) +
                           " toroid:" + FixedStr(C / kPico, 25, 17) + " pF");
    const Extended E = ExactToroidMaxField(D, d, sw, report);
    ReportLine(report, "Exact maximum surface electric field: " + FixedStr(E, 25, 17) + " V/m/V");
    ReportLine(report, "Exact breakdown voltage: " + FixedStr(BreakdownVoltage(Emax, E), 10, 4) +
                           "kV");
    ReportLine(report, "Thin toroid capacitance: " +
                           FixedStr(ThinToroidCapacitance(D, d, e0) / kPico, 15, 10) + " pF");
    ReportLine(report, "Approximate toroid capacitance: " +
                           FixedStr(ApproxToroidCapacitance(D, d) / kPico, 15, 10) + " pF");
  } else {
    ReportLine(report, "A toroid must have a hole in the center for the exact calculation.");
  }
  ListOtherShapes(D, d, e0, report);
}

// The diameters of row i and column j (from 1), each computed from its index.
struct TableGrid {
  explicit TableGrid(const ToroidTableRanges& t)
      : t_(t),
        dD_(t.I > 1 ? (t.D2 - t.D1) / (t.I - 1) : 0),
        dd_(t.J > 1 ? (t.d2 - t.d1) / (t.J - 1) : 0) {}
  Extended D(std::int32_t i) const { return t_.D1 + (i - 1) * dD_; }
  Extended d(std::int32_t j) const { return t_.d1 + (j - 1) * dd_; }

 private:
  const ToroidTableRanges& t_;
  Extended dD_, dd_;
};

}  // namespace

std::int64_t ToroidTableTerms(const ToroidTableRanges& t, std::int64_t enough) {
  const TableGrid grid(t);
  std::int64_t terms = 0;
  for (std::int32_t i = 1; i <= t.I; ++i)
    for (std::int32_t j = 1; j <= t.J; ++j) {
      const ToroidStepBounds b = ToroidSeriesStepBounds(grid.D(i), grid.d(j));
      terms += b.capacitance + (t.CBvolt ? b.field : 0);
      if (terms > enough) return terms;
    }
  return terms;
}

std::string ToroidTableText(const ToroidTableRanges& t, Extended e0, Extended Emax,
                            ReportSink& report) {
  const TableGrid grid(t);
  auto Di = [&](std::int32_t i) { return grid.D(i); };
  auto dj = [&](std::int32_t j) { return grid.d(j); };

  std::string text = "Exact toroid capacitances (diameters in meters, capacitances in pF";
  text += t.CBvolt ? ", voltages in kV)" : ")";
  text += kCrLf;
  text += "Minor d.";
  for (std::int32_t j = 1; j <= t.J; ++j) text += FixedStr(dj(j), 8, 3);
  text += kCrLf;
  text += "Major d.";
  text += kCrLf;

  const ToroidSwitches quiet{false, true};
  int listed = 0;  // the Report shows the first ten values
  for (std::int32_t i = 1; i <= t.I; ++i) {
    const Extended D = Di(i);
    text += FixedStr(D, 8, 3);
    for (std::int32_t j = 1; j <= t.J; ++j) {
      const Extended C = ExactToroidCapacitance(D, dj(j), e0, quiet, report) / kPico;
      text += Cell(C, 3);
      if (listed < 10) {
        ReportLine(report, Pair(D, dj(j)) + FixedStr(C, 25, 17) + " pF");
        ++listed;
      }
    }
    text += kCrLf;
    if (t.CBvolt) {
      text += "        ";
      for (std::int32_t j = 1; j <= t.J; ++j) {
        const Extended V = BreakdownVoltage(Emax, ExactToroidMaxField(D, dj(j), quiet, report));
        text += Cell(V, 2);
        if (listed < 10) {
          ReportLine(report, Pair(D, dj(j)) + FixedStr(V, 25, 17) + " kV");
          ++listed;
        }
      }
      text += kCrLf;
    }
  }
  return text;
}

Result ToroidCommand(const FieldValues& fields, CommandEnv& env) {
  const auto& defs = ToroidFieldDefs();
  auto number = [&](const char* name) { return ReadNumber(FieldText(fields, defs, name)); };
  ToroidTableRanges t;
  t.D1 = number("Emajor");
  t.d1 = number("Eminor");
  t.D2 = number("Emajorto");
  t.d2 = number("Eminorto");
  t.I = ReadInteger(FieldText(fields, defs, "En1"));
  t.J = ReadInteger(FieldText(fields, defs, "En2"));
  t.CBvolt = FieldChecked(fields, defs, "CBvolt");
  const bool table = FieldChecked(fields, defs, "CBtabela");
  // The window clears and disables "List details" while "Save a table" is checked.
  const bool details = !table && FieldChecked(fields, defs, "CBdetails");

  ReportSink& report = env.Report();
  const Extended Emax = env.breakdown.Emax;
  const Extended e0 = Eps0();
  ReportLine(report, "");
  if (!table) {
    SingleToroid(t.D1, t.d1, e0, Emax, details, report);
    return {};
  }

  ReportLine(report, "");
  ReportLine(report, "Table of exact toroid capacitances:");
  // Numbers the file would hold: the d values of the header, then D and its cells.
  const std::int64_t rows = t.I > 0 ? t.I : 0;
  const std::int64_t columns = t.J > 0 ? t.J : 0;
  if (columns + rows * (1 + columns) > kToroidTableMaxValues)
    return Refusal(report, "Too large table (max=" +
                               IntStr(static_cast<std::int32_t>(kToroidTableMaxValues)) +
                               " values)");
  // The series work, from the step bound of each cell: a fraction of a microsecond a
  // cell, a small part of the table's own time.
  if (ToroidTableTerms(t, kToroidTableMaxTerms) > kToroidTableMaxTerms)
    return Refusal(report, "Too many series terms for the table (max=" +
                               std::to_string(kToroidTableMaxTerms) + ")");
  const std::string text = ToroidTableText(t, e0, Emax, report);
  CheckArithmeticFaults();  // values past the tenth reach only the file
  WriteFileAtomically(env.TablePath(kToroidTableName), text);
  if (static_cast<std::int64_t>(t.I) * t.J > 10) ReportLine(report, "...");
  ReportLine(report, std::string("Table saved in file ") + kToroidTableName);
  return {};
}
