#include "electrostatics/toroid_command.h"

#include "electrostatics/other_shapes.h"
#include "electrostatics/ring_kernel.h"
#include "electrostatics/toroid.h"
#include "numerics/arithmetic_fault.h"
#include "numerics/file_write.h"
#include "numerics/format.h"
#include "numerics/number_reading.h"

namespace quor::electrostatics {
using namespace quor::numerics;

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

const std::vector<ValueDef>& ToroidValueDefs() {
  static const std::vector<ValueDef> defs = {
      {"C", "F", "exact capacitance (series of toroidal harmonics)"},
      {"C_terms", "1", "terms of the capacitance series used"},
      {"C_error", "1", "last relative error of the capacitance series"},
      {"C_failed_at", "1", "step n where the Q recurrence failed (only then)"},
      {"E_max", "1/m", "exact maximum surface field per volt (V/m per V)"},
      {"E_terms", "1", "terms of the field series used"},
      {"E_error", "1", "last relative error of the field series"},
      {"Vb", "V", "exact breakdown voltage for the breakdown field of air"},
      {"C_thin", "F", "thin toroid capacitance"},
      {"C_approx", "F", "approximate (empirical) toroid capacitance"},
      {"C_horn", "F", "horned toroid of diameter D"},
      {"C_sphere", "F", "sphere of diameter D"},
      {"C_disk", "F", "thin disk of diameter D"},
      {"C_hollow_hemisphere", "F", "hollow hemisphere of diameter D"},
      {"C_closed_hemisphere", "F", "closed hemisphere of diameter D"},
      {"C_two_spheres", "F", "two spheres of diameter D in contact"},
      {"C_oblate", "F", "oblate D x d spheroid (0 < d < D)"},
      {"C_prolate", "F", "prolate D x d spheroid (0 < d < D)"},
      {"C_square", "F", "flat square of side D"},
      {"C_triangle", "F", "flat equilateral triangle of side D"},
      {"C_cube", "F", "cube of side D"},
      {"C_tetrahedron", "F", "tetrahedron of side D"},
      {"C_3_enclosed", "F", "triangle of 3 spheres enclosed by the D x d toroid"},
      {"C_4_enclosed", "F", "square of 4 spheres enclosed by the D x d toroid"},
      {"C_3_aligned", "F", "3 aligned spheres of diameter D, d apart"},
      {"C_3_triangle", "F", "triangle of 3 spheres of diameter D, d apart"},
      {"C_4_square", "F", "square of 4 spheres of diameter D, d apart"},
      {"C_4_aligned", "F", "4 aligned spheres of diameter D, d apart"},
      {"e0", "F/m", "List details: the permittivity of vacuum used"},
      {"tube_radius", "m", "List details: circle radius a = d/2"},
      {"centre_radius", "m", "List details: centre radius R = D/2 - a"},
      {"q", "1", "List details: R/a, the argument of the Legendre functions"},
      {"C_P", "1", "List details: P(n-1/2)(q), n = 0, 1, ... of the capacitance series"},
      {"C_Q", "1", "List details: Q(n-1/2)(q), n = 0, 1, ... of the capacitance series"},
      {"C_first_terms", "F", "List details: capacitance of the first two terms"},
      {"E_P", "1", "List details: P(n-1/2)(q), n = 0, 1, ... of the field series"},
      {"E_sums", "1", "List details: partial sums of the field series"},
      {"E_sum_errors", "1", "List details: last term over the sum, from n = 1"},
      {"table_D", "m", "Save a table: the D of each row"},
      {"table_d", "m", "Save a table: the d of each column"},
      {"table_C", "F", "Save a table: exact capacitances, rows D by columns d (0: no hole)"},
      {"table_Vb", "V", "Save a table: breakdown voltages, as table_C (with CBvolt)"},
      {"listed_C", "F", "Save a table: the capacitances of the Report's lines, in order"},
      {"listed_Vb", "V", "Save a table: the breakdown voltages of the Report's lines"},
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

// The values of a series: its count of terms and last relative error as its line
// prints them, the step where the Q recurrence failed, and the listed details.
void AddSeriesValues(Result& values, const char* prefix, const ToroidSeries& s) {
  if (!s.hasHole) return;  // the series did not run: no line of its own
  const std::string p = prefix;
  values.Add(p + "_terms", "1", p == "C" ? s.steps + 2 : s.steps + 1);
  values.Add(p + "_error", "1", s.lastRelativeError);
  if (s.failed) values.Add("C_failed_at", "1", s.steps);
  const ToroidDetails& t = s.details;
  if (t.P.empty()) return;
  values.Add("q", "1", t.q);
  values.AddList(p + "_P", "1", t.P);
  if (!t.Q.empty()) values.AddList("C_Q", "1", t.Q);
  if (p == "C") values.Add("C_first_terms", "F", t.firstTerms);
  if (!t.sums.empty()) values.AddList("E_sums", "1", t.sums);
  if (!t.errors.empty()) values.AddList("E_sum_errors", "1", t.errors);
}

void SingleToroid(Extended D, Extended d, Extended e0, Extended Emax, bool details,
                  ReportSink& report, Result& values) {
  ReportLine(report, "");
  if (D > 2.0L * d && d > 0) {
    const ToroidSwitches sw{details, false};
    const ToroidSeries Cs = ExactToroidCapacitanceSeries(D, d, e0, sw, report);
    const Extended C = Cs.value;
    if (details) {
      values.Add("e0", "F/m", e0);
      values.Add("tube_radius", "m", Cs.details.a);
      values.Add("centre_radius", "m", Cs.details.R);
    }
    ReportLine(report, "Exact capacitance of a " + FixedStr(D, 5, 2) + "x" + FixedStr(d, 5, 2) +
                           " toroid:" + FixedStr(C / kPico, 25, 17) + " pF");
    AddSeriesValues(values, "C", Cs);
    values.Add("C", "F", C);
    const ToroidSeries Es = ExactToroidMaxFieldSeries(D, d, sw, report);
    const Extended E = Es.value;
    ReportLine(report, "Exact maximum surface electric field: " + FixedStr(E, 25, 17) + " V/m/V");
    AddSeriesValues(values, "E", Es);
    values.Add("E_max", "1/m", E);
    ReportLine(report, "Exact breakdown voltage: " + FixedStr(BreakdownVoltage(Emax, E), 10, 4) +
                           "kV");
    values.Add("Vb", "V", BreakdownVoltage(Emax, E) * 1000);
    const Extended thin = ThinToroidCapacitance(D, d, e0);
    ReportLine(report, "Thin toroid capacitance: " + FixedStr(thin / kPico, 15, 10) + " pF");
    values.Add("C_thin", "F", thin);
    const Extended approx = ApproxToroidCapacitance(D, d);
    ReportLine(report, "Approximate toroid capacitance: " + FixedStr(approx / kPico, 15, 10) +
                           " pF");
    values.Add("C_approx", "F", approx);
  } else {
    ReportLine(report, "A toroid must have a hole in the center for the exact calculation.");
  }
  ListOtherShapes(D, d, e0, report, &values);
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
                            ReportSink& report, Result* values,
                            const std::function<bool()>& stopRequested, bool* stopped) {
  const TableGrid grid(t);
  // The table as arrays (SI units), and the values of its lines in the Report.
  std::vector<Extended> Ds, ds, Cs, Vs, listedC, listedV;
  if (values) {
    const std::size_t cells = static_cast<std::size_t>(t.I > 0 ? t.I : 0) *
                              static_cast<std::size_t>(t.J > 0 ? t.J : 0);
    Cs.reserve(cells);
    if (t.CBvolt) Vs.reserve(cells);
  }
  auto Di = [&](std::int32_t i) { return grid.D(i); };
  auto dj = [&](std::int32_t j) { return grid.d(j); };

  std::string text = "Exact toroid capacitances (diameters in meters, capacitances in pF";
  text += t.CBvolt ? ", voltages in kV)" : ")";
  text += kCrLf;
  text += "Minor d.";
  for (std::int32_t j = 1; j <= t.J; ++j) {
    text += FixedStr(dj(j), 8, 3);
    if (values) ds.push_back(dj(j));
  }
  text += kCrLf;
  text += "Major d.";
  text += kCrLf;

  const ToroidSwitches quiet{false, true};
  int listed = 0;  // the Report shows the first ten values
  for (std::int32_t i = 1; i <= t.I; ++i) {
    if (stopRequested && stopRequested()) {
      if (stopped) *stopped = true;
      return text;
    }
    const Extended D = Di(i);
    text += FixedStr(D, 8, 3);
    if (values) Ds.push_back(D);
    for (std::int32_t j = 1; j <= t.J; ++j) {
      const Extended farads = ExactToroidCapacitance(D, dj(j), e0, quiet, report);
      const Extended C = farads / kPico;
      text += Cell(C, 3);
      if (values) Cs.push_back(farads);
      if (listed < 10) {
        ReportLine(report, Pair(D, dj(j)) + FixedStr(C, 25, 17) + " pF");
        if (values) listedC.push_back(farads);
        ++listed;
      }
    }
    text += kCrLf;
    if (t.CBvolt) {
      text += "        ";
      for (std::int32_t j = 1; j <= t.J; ++j) {
        const Extended V = BreakdownVoltage(Emax, ExactToroidMaxField(D, dj(j), quiet, report));
        text += Cell(V, 2);
        if (values) Vs.push_back(V * 1000);
        if (listed < 10) {
          ReportLine(report, Pair(D, dj(j)) + FixedStr(V, 25, 17) + " kV");
          if (values) listedV.push_back(V * 1000);
          ++listed;
        }
      }
      text += kCrLf;
    }
  }
  if (values) {
    const std::size_t rows = Ds.size(), columns = ds.size();
    values->AddList("table_D", "m", std::move(Ds));
    values->AddList("table_d", "m", std::move(ds));
    values->AddMatrix("table_C", "F", rows, columns, std::move(Cs));
    if (t.CBvolt) values->AddMatrix("table_Vb", "V", rows, columns, std::move(Vs));
    values->AddList("listed_C", "F", std::move(listedC));
    if (t.CBvolt) values->AddList("listed_Vb", "V", std::move(listedV));
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
  Result result;
  // Every shape of the window has the major diameter as its size; the minor one is a
  // tube, a second axis or a gap, none of them negative (0: no tube, touching spheres).
  // A table checks the ends of the ranges its cells take.
  const bool hasRows = !table || t.I >= 1, hasColumns = !table || t.J >= 1;
  const bool majors = (!hasRows || t.D1 > 0) && (!table || t.I <= 1 || t.D2 > 0);
  const bool minors = (!hasColumns || t.d1 >= 0) && (!table || t.J <= 1 || t.d2 >= 0);
  if (!majors)
    return Refusal(report, table ? "The major diameters of the table must be positive"
                                 : "The major diameter must be positive");
  if (!minors)
    return Refusal(report, table ? "The minor diameters of the table must not be negative"
                                 : "The minor diameter must not be negative");
  if (!table) {
    SingleToroid(t.D1, t.d1, e0, Emax, details, report, result);
    return result;
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
  bool stopped = false;
  const std::string text =
      ToroidTableText(t, e0, Emax, report, &result, env.stopRequested, &stopped);
  if (stopped) {
    // The rows listed so far stand; a table cut short is no table to save.
    return Refusal(report, "Interrupted");
  }
  CheckArithmeticFaults();  // values past the tenth reach only the file
  WriteFileAtomically(env.TablePath(kToroidTableName), text);
  if (static_cast<std::int64_t>(t.I) * t.J > 10) ReportLine(report, "...");
  ReportLine(report, std::string("Table saved in file ") + kToroidTableName);
  return result;
}

}  // namespace quor::electrostatics
