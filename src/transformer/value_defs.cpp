#include "transformer/value_defs.h"

#include <set>
#include <string>
#include <utility>

#include "transformer/unit_conversion.h"

namespace quor::transformer {
using namespace quor::numerics;

namespace {

// The keys that belong to one coil, for the primary (1) and the secondary (2).
void AddCoilDefs(std::vector<ValueDef>& defs, const std::string& i, const std::string& coil) {
  const std::string L = "L" + i;
  const std::string solenoid = "solenoidal " + coil + ": ";
  const std::string loop = "single-loop " + coil + ": ";
  defs.insert(
      defs.end(),
      {
          {L + "_Wheeler", "H", "Wheeler's formula for the " + coil},
          {L + "_Lundin", "H", solenoid + "Lundin's formula"},
          {L + "_Lorenz", "H", solenoid + "Lorenz's current sheet"},
          {L + "_Snow", "H", solenoid + "Snow's formula for a helix of round wire"},
          {L + "_Kirchhoff", "H", solenoid + "Kirchhoff's sum over circular turns"},
          {L + "_Grover_1turn", "H", loop + "Grover's formula"},
          {L + "_Maxwell_1turn", "H", loop + "Maxwell's formula"},
          {L + "_AIP_1turn", "H", loop + "the AIP Handbook's formula"},
          {L + "_Russell_1turn", "H", loop + "Russell's formula"},
          {L + "_Maxwell", "H", "Maxwell's ring or spiral sum for the " + coil + " (Maxwell " + L +
                                    ")"},
          {"n" + i, "1",
           "the " + coil + "'s turns rounded to a whole number (at least 1) by the sums that " +
               "take whole turns"},
          {"gmd" + i, "m", "true-spiral sum: g.m.d. of the " + coil + "'s wire section"},
          {"spacing" + i, "m",
           "true-spiral sum: axial distance between the two copies of the " + coil},
          {"segments" + i, "1",
           "true-spiral sum: segments per turn as long as the g.m.d. (shown as a guide)"},
          {L + "_terms", "H",
           "ring sum of a conical or flat " + coil + ", n x n matrix (n" + i +
               " turns): each term listed (Termo), mu0 times the ring-pair term"},
          {L + "_sums", "H", "the same n x n matrix of the running sums listed (Integral)"},
      });
}

std::vector<ValueDef> BuildTransformerDefs() {
  std::vector<ValueDef> defs = {
      {"L1", "H",
       "primary inductance as used (Wheeler's or Maxwell's; with the turns in parallel, "
       "the equivalent of the loops)"},
      {"L2", "H",
       "secondary inductance as used (with the primary turns in parallel, the equivalent "
       "secondary)"},
      {"M", "H", "mutual inductance as used"},
      {"k", "1", "coupling coefficient M/sqrt(L1 L2)"},
      {"mode_lower", "1", "mode (x - 1):x of the tuned transformer: x - 1"},
      {"mode_upper", "1", "mode (x - 1):x: x"},
  };
  AddCoilDefs(defs, "1", "primary");
  AddCoilDefs(defs, "2", "secondary");
  defs.insert(
      defs.end(),
      {
          {"L2_original", "H", "primary turns in parallel: the secondary's own ring sum"},
          {"L_loops", "H",
           "primary turns in parallel, (n1 + 1) x (n1 + 1) matrix: inductances and mutual "
           "inductances of the loops, the secondary last"},
          {"M_Jones_base", "H", "J. V. Jones, single loop at the solenoid's base"},
          {"M_Jones_1turn", "H", "single-loop secondary: J. V. Jones"},
          {"M_Garrett_1turn", "H", "single-loop secondary: Garrett"},
          {"M_Snow_1turn", "H", "single-loop secondary: Snow"},
          {"M_Snow_sheets", "H", "two solenoids: Snow, two current sheets"},
          {"k_Lorenz_Snow", "1", "two solenoids: turns-independent k from Lorenz L and Snow M"},
          {"M_Maxwell_1turn", "H", "two single circles: Maxwell"},
          {"M_Snow61", "H", "two flat single circles of equal turns: Snow #61"},
      });
  for (const auto& [stem, which] : {std::pair<std::string, std::string>{"oudin_", "normal"},
                                    {"oudin_rev_", "reverse"}})
    defs.insert(defs.end(),
                {
                    {stem + "k", "1", which + " Oudin coil: equivalent k"},
                    {stem + "mode_lower", "1", which + " Oudin coil: x - 1 of its mode"},
                    {stem + "mode_upper", "1", which + " Oudin coil: x of its mode"},
                    {stem + "M", "H", which + " Oudin coil: equivalent M"},
                    {stem + "L2", "H", which + " Oudin coil: equivalent L2"},
                });
  return defs;
}

// Each field of the unit-conversion windows once, in their order.
std::vector<ValueDef> BuildUnitDefs(const char* lengthUnit, const std::string& length,
                                    const char* wireUnit, const std::string& wire) {
  std::vector<ValueDef> defs;
  std::set<std::string> seen;
  for (const UnitFieldSet& set : UnitFieldSets()) {
    for (const std::string& name : set.lengths)
      if (seen.insert(name).second) defs.push_back({name, lengthUnit, set.window + ": " + length});
    for (const std::string& name : set.wires)
      if (seen.insert(name).second) defs.push_back({name, wireUnit, set.window + ": " + wire});
  }
  return defs;
}

}  // namespace

const std::vector<ValueDef>& TransformerValueDefs() {
  static const std::vector<ValueDef> defs = BuildTransformerDefs();
  return defs;
}

const std::vector<ValueDef>& SelfCapacitanceValueDefs() {
  static const std::vector<ValueDef> defs = [] {
    std::vector<ValueDef> all;
    for (const auto& [i, coil] : {std::pair<std::string, std::string>{"1", "primary"},
                                  {"2", "secondary"}})
      all.insert(all.end(),
                 {
                     {"C" + i, "F", coil + ": Medhurst's self-capacitance"},
                     {"L" + i, "H", coil + ": Maxwell's ring-sum inductance"},
                     {"f" + i, "Hz", coil + ": self-resonance frequency"},
                     {"n" + i, "1", coil + ": turns rounded to a whole number (at least 1)"},
                 });
    return all;
  }();
  return defs;
}

const std::vector<ValueDef>& CouplingsValueDefs() {
  static const std::vector<ValueDef> defs = {
      {"mode_lower", "1", "list of the 15 modes a:b: a"},
      {"mode_upper", "1", "list: b = a + 1"},
      {"cycles", "1", "list: cycles of the energy transfer, b/2"},
      {"k", "1", "list: the coupling coefficient of the mode"},
  };
  return defs;
}

const std::vector<ValueDef>& ToMetersValueDefs() {
  static const std::vector<ValueDef> defs =
      BuildUnitDefs("m", "the length field's new value, from inches", "m",
                    "the wire diameter field's new value, from an AWG gauge");
  return defs;
}

const std::vector<ValueDef>& ToInchesValueDefs() {
  static const std::vector<ValueDef> defs =
      BuildUnitDefs("in", "the length field's new value, in inches", "AWG",
                    "the wire diameter field's new value, an AWG gauge");
  return defs;
}

const std::vector<ValueDef>& NoValueDefs() {
  static const std::vector<ValueDef> none;
  return none;
}

}  // namespace quor::transformer
