#pragma once
// Calculate of the toroid window: the exact capacitance, maximum field and breakdown
// voltage of one toroid with the approximate formulas and the other shapes, or a
// table of exact capacitances over ranges of both diameters saved as toroid.dat.
#include <cstdint>
#include <string>
#include <vector>

#include "electrostatics/breakdown_field.h"
#include "numerics/command.h"
#include "numerics/extended.h"
#include "numerics/fields.h"
#include "numerics/report.h"

namespace quor::electrostatics {
using namespace quor::numerics;

// Emajor, Eminor, Emajorto, Eminorto, En1, En2 and the check boxes CBdetails,
// CBtabela, CBvolt, with their labels and default texts.
const std::vector<FieldDef>& ToroidFieldDefs();
// The values ToroidCommand returns.
const std::vector<ValueDef>& ToroidValueDefs();

// The file name of the table, written in the current directory.
inline constexpr const char* kToroidTableName = "toroid.dat";
// Larger tables are refused (the whole text is built in memory before it is written).
inline constexpr std::int64_t kToroidTableMaxValues = 10000000;

// The ranges of a table: I values of D from D1 to D2, J values of d from d1 to d2.
struct ToroidTableRanges {
  Extended D1 = 0, D2 = 0, d1 = 0, d2 = 0;
  std::int32_t I = 0, J = 0;
  bool CBvolt = false;  // a row of breakdown voltages under each row of capacitances
};

// A table whose series would take more terms in all than this is refused before
// anything is computed: near D = 2d each series runs up to a million terms (some 25
// ms), so that a large table of such cells would take days. 5e8 terms take about 13 s
// here; a cell away from D = 2d takes some tens (37 a cell, voltages included, over
// D = 0.5 ... 2 m and d = 0.05 ... 0.5 m), so the largest table of ordinary toroids
// needs less than 2e8.
inline constexpr std::int64_t kToroidTableMaxTerms = 500000000;

// The series terms a table takes at most: the step bounds (ToroidSeriesStepBounds) of
// the capacitance of every cell, and of its field when the table lists voltages. The
// count ends as soon as it passes `enough`.
std::int64_t ToroidTableTerms(const ToroidTableRanges& ranges,
                              std::int64_t enough = INT64_MAX);

// The text of toroid.dat (CR LF line ends) for the ranges, with the first ten values
// computed (capacitances and voltages in turn) as Report lines. Emax in kV/m. With
// values, the table is also returned as arrays: table_D, table_d, table_C, table_Vb,
// and the values of the Report lines as listed_C, listed_Vb. stopRequested, when
// given, is asked before each row of major diameters: true ends the table there, with
// *stopped set and the text unfinished.
std::string ToroidTableText(const ToroidTableRanges& ranges, Extended e0, Extended Emax,
                            ReportSink& report, Result* values = nullptr,
                            const std::function<bool()>& stopRequested = nullptr,
                            bool* stopped = nullptr);

// Calculate of the toroid window as a plain function of the field texts: Emax from
// env.breakdown. Table mode writes toroid.dat in env.directory (the current directory
// when empty) through a temporary file, so that a write error leaves an older table
// whole; the error (FileError) names the file. A major diameter of zero or less, or a
// negative minor one (at either end of a table's range), and a table of more than
// kToroidTableMaxValues numbers are refused before anything is computed. A stop
// requested (env.stopRequested) while a table is computed ends it between two rows
// with the line "Interrupted"; no file is written.
Result ToroidCommand(const FieldValues& fields, CommandEnv& env);

}  // namespace quor::electrostatics
