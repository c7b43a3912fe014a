#pragma once
// Unit conversion of the length and wire fields of the main window and of the
// straight-wire, toroid, partial-toroid and conical-sheet windows: inches to metres
// and back, AWG wire gauges to diameters in metres and back. Every calculation of the
// program takes metres; users who measure in inches type inches and gauges and
// convert them in place before pressing Calculate.
#include <string>
#include <string_view>
#include <vector>

#include "numerics/command.h"
#include "numerics/extended.h"
#include "numerics/fields.h"
#include "numerics/report.h"

namespace quor::transformer {
using namespace quor::numerics;

// American wire gauge: gauge n has a diameter of exp(AwgA*n + AwgB) mils, fixed by
// gauge 36 = 5 mils and gauge 0000 (n = -3) = 460 mils with 39 geometric steps between
// them. Gauges thicker than 0 (00, 000, 0000) are the negative numbers -1, -2, -3.
Extended AwgA();  // -ln(92)/39
Extended AwgB();  // (36 ln(460) + 3 ln(5))/39

// One inch is 2.54 cm exactly; a mil is a thousandth of an inch.
inline constexpr Extended kInchInCm = 2.54L;

// Written for each diameter converted to a gauge thicker than 0, whose number comes
// out negative.
inline constexpr const char* kNegativeGaugeLine =
    "(AWG sizes larger than 0 are listed as negative.)";
// A wire field of 0 or less has no gauge (the logarithm of its diameter does not
// exist): it is left as it is, with this line.
inline constexpr const char* kNoGaugeLine =
    "(A diameter of 0 or less has no AWG size; the field was left unchanged.)";
// A value whose conversion overflows the number range is left as it is, with this line.
inline constexpr const char* kOutOfRangeLine =
    "(A value too large to convert was left unchanged.)";

// The four field rules, from the field's text to the new text (NumberText of the
// converted value). Texts read as ReadNumber reads them: empty or unparseable as 0.
// A conversion that has no finite result returns the text unchanged and writes its
// line to report; so does MeterToAwgText for a diameter of 0 or less. MeterToAwgText
// writes kNegativeGaugeLine for a negative gauge.
std::string InchToMeterText(std::string_view text, ReportSink& report);
std::string MeterToInchText(std::string_view text, ReportSink& report);
std::string AwgToMeterText(std::string_view text, ReportSink& report);
std::string MeterToAwgText(std::string_view text, ReportSink& report);

// The fields of one window that the conversion touches, and its Calculate button.
struct UnitFieldSet {
  std::string window;                // quor-cli command name of the window
  std::vector<std::string> lengths;  // by the inch rule, converted first
  std::vector<std::string> wires;    // by the gauge rule, then
  std::string button;                // enabled in metres, disabled in inches
};

// The five windows in the order they are converted: transformer (the main window),
// straight, toroid, partial, sheet.
const std::vector<UnitFieldSet>& UnitFieldSets();
const UnitFieldSet* FindUnitFieldSet(std::string_view window);

enum class UnitDirection { ToMeters, ToInches };

// Converts the length fields and then the wire fields of the set that fields holds,
// in their order, in place; names missing from fields are skipped. Lines go to report
// as they arise. With values, each field converted adds its new number under its
// name: metres ("m") to metres, inches ("in") and gauges ("AWG") to inches; a field
// left unchanged adds none.
void ConvertUnitFields(const UnitFieldSet& set, UnitDirection direction, FieldValues& fields,
                       ReportSink& report, Result* values = nullptr);

// quor-cli's to-meters and to-inches: the fields of the window named by the argument
// "WINDOW" (a window of UnitFieldSets, by its command name) converted as the menu
// converts them, printed as NAME=VALUE lines, then the lines the conversion wrote.
// Values: each converted field's new number by its name, as ConvertUnitFields adds it.
Result ToMetersCommand(const FieldValues& fields, CommandEnv& env);
Result ToInchesCommand(const FieldValues& fields, CommandEnv& env);

}  // namespace quor::transformer
