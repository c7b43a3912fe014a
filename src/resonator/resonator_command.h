#pragma once
// "Secondary resonance": the secondary of the main window (with its top load, over the
// ground plane) as a distributed resonator, its three lowest modes, and the tap of the
// primary that tunes it to the first.
#include <optional>
#include <string>
#include <vector>

#include "numerics/canvas.h"
#include "numerics/command.h"
#include "numerics/fields.h"
#include "numerics/report.h"
#include "resonator/primary_tap.h"
#include "resonator/resonator_model.h"

namespace quor::resonator {

// Sections are refused beyond this (the eigenproblem's cost grows like its cube:
// about a second here at 400).
inline constexpr std::int32_t kMaxSections = 400;

// The window's own fields: CBground, RGtopload, Etmajor, Etminor, Esphere, Etheight,
// Esections, Ecprimary.
const std::vector<FieldDef>& ResonatorWindowFieldDefs();
// The main window's twelve coil fields (En1 ... Ewd2, its labels and default texts)
// followed by the window's own: what the command reads.
const std::vector<FieldDef>& ResonatorFieldDefs();
// The values ResonatorCommand returns.
const std::vector<ValueDef>& ResonatorValueDefs();

struct ResonatorSetup {
  ResonatorInput input;
  PrimaryCoil primary;
  Extended C1 = 0;  // primary capacitor, farads; 0: no tuning
  bool sectionsReduced = false;  // more sections were asked than the secondary has turns
};

// Reads the fields (missing names take their default texts) and checks them in order:
// the secondary (positive sizes, a solenoid, the turn bound, the wire), the sections
// (more than the secondary's turns are reduced to them), the ground plane, the top load (sizes, a hole in a toroid, clear of the coil and
// above the plane), the primary capacitor and, when it tunes, the primary. The first
// failure as its Report line; nothing when all pass.
std::optional<std::string> ReadResonatorSetup(const FieldValues& fields, ResonatorSetup& setup);

// Every number the command prints, and the model behind them.
struct ResonatorOutcome {
  bool valid = false;     // the setup passed its checks
  bool computed = false;  // false: refused or not solvable (its line in the Report)
  ResonatorSetup setup;
  ResonatorResult model;
  Extended L2 = 0;               // Maxwell, circular turns, without the ground plane
  Extended topIsolated = 0;      // the top load alone in space (exact); 0 without one
  Extended medhurst = 0;         // Medhurst's self-capacitance of the secondary
  Extended lumpedFrequency = 0;  // 1/(2 pi sqrt(L2 (medhurst + topIsolated)))
  bool tuned = false;            // a primary capacitor was given
  PrimaryTap tap;
  Extended tapFrequency = 0;     // 1/(2 pi sqrt(L1 C1)) at the tap
};

// Calculate of the window: the Report lines to env.Report(), the outcome kept in out
// for the drawing, and the result (Refused on a check's line). An arithmetic fault ends
// it with ArithmeticFault after the lines written so far.
Result CalculateResonator(const FieldValues& fields, CommandEnv& env, ResonatorOutcome& out);
// The same as one command (quor-cli's resonator).
Result ResonatorCommand(const FieldValues& fields, CommandEnv& env);

// The setup of the fields without calculating: what the drawing shows before Calculate.
ResonatorOutcome ResonatorArrangement(const FieldValues& fields);

// The drawing: the coil, the top load and the ground plane to scale on the left; on
// the right, along the winding's height, the voltage and the current of mode 1 (each
// against its largest value). Without a model only the arrangement; nothing when the
// setup failed its checks.
void DrawResonator(const ResonatorOutcome& outcome, Canvas& canvas);

}  // namespace quor::resonator
