#include "transformer/coil_pair.h"

#include <string_view>

#include "numerics/number_reading.h"

namespace quor::transformer {
using namespace quor::numerics;

namespace {

FieldDef Edit(const char* name, const char* label, const char* def, const char* hint) {
  return FieldDef{name, label, def, hint, false};
}
FieldDef Count(const char* name, const char* label, const char* def, const char* hint) {
  return FieldDef{name, label, def, hint, false, FieldKind::Count};
}
FieldDef Box(const char* name, const char* caption, bool checked, const char* hint) {
  return FieldDef{name, caption, checked ? "1" : "0", hint, true};
}

std::vector<FieldDef> BuildDefs() {
  return {
      // Coil 1, the primary (left group).
      Edit("En1", "Number of turns 1", "12", "Usually integer, but can be noninteger"),
      Edit("Eh1", "Height 1", "0.1", "All distances in meters"),
      Edit("Er1", "Min. radius 1", "0.1", "All distances between wire centers"),
      Edit("Es1", "Max. radius 1", "0.1", "This is the primary coil"),
      Edit("Eb1", "Base elevation 1", "0",
           "Height of the bottom turn from the base of the transformer"),
      Edit("Ewd1", "Wire diameter 1", "0.001", "In meters too"),
      // Coil 2, the secondary (middle group).
      Edit("En2", "Number of turns 2", "1152", "Can be noninteger too"),
      Edit("Eh2", "Height 2", "0.32", "This is the secondary coil"),
      Edit("Er2", "Min. radius 2", "0.044", "This is the secondary coil"),
      Edit("Es2", "Max. radius 2", "0.044", "This is the secondary coil"),
      Edit("Eb2", "Base elevation 2", "0", "Usually one of the base elevations is zero"),
      Edit("Ewd2", "Wire diameter 2", "0.0002", "The program tests if the wire fits the coil"),
      // Segment counts; Ens1 and Ens2 share the label Lseg1, Ensm has Lseg2.
      Count("Ens1", "Segments/turn for M", "20", "Used in the numerical calculation of M"),
      Count("Ens2", "Segments/turn for M", "20", "Use more for greater precision"),
      Count("Ensm", "Segs./turn for L", "2000", "Used by Maxwell L, with true spiral coils"),
      // Options (right group).
      Box("CBm", "Calculate M and k", true, "Uncheck if you just want the inductances"),
      Box("CBOudin", "Oudin coil", false, "Secondary connected to one end of the primary"),
      Box("CBML1", "Maxwell L1", true,
          "L is M between two coils separated by the g.m.d. of the wire section"),
      Box("CBML2", "Maxwell L2", true, "Method described in Maxwell's book"),
      Box("CBjvj", "J.V.Jones M", false,
          "Exact for a solenoidal primary and a secondary composed of closed circular loops"),
      Box("CBel", "Circular turns", true, "Uses closed formulas with elliptic functions"),
      Box("CBparalelo", "Primary turns in //", false,
          "A trick to reduce the primary inductance"),
  };
}

std::string Text(const FieldValues& fields, const std::string& name) {
  return FieldText(fields, TransformerFieldDefs(), name);
}

bool Checked(const FieldValues& fields, const std::string& name) {
  return FieldChecked(fields, TransformerFieldDefs(), name);
}

}  // namespace

const std::vector<FieldDef>& TransformerFieldDefs() {
  static const std::vector<FieldDef> defs = BuildDefs();
  return defs;
}

FieldValues TransformerDefaults() { return DefaultValues(TransformerFieldDefs()); }

TransformerOptions ReadTransformerOptions(const FieldValues& fields) {
  TransformerOptions o;
  o.CBm = Checked(fields, "CBm");
  o.CBOudin = Checked(fields, "CBOudin");
  o.CBML1 = Checked(fields, "CBML1");
  o.CBML2 = Checked(fields, "CBML2");
  o.CBjvj = Checked(fields, "CBjvj");
  o.CBel = Checked(fields, "CBel");
  o.CBparalelo = Checked(fields, "CBparalelo");
  return o;
}

void ReadTransformerInputs(const FieldValues& fields, CoilPair& c) {
  auto real = [&](const char* name) { return ReadNumber(Text(fields, name)); };
  auto whole = [&](const char* name) { return ReadInteger(Text(fields, name)); };
  // The order of the form: coil 1, coil 2, the segment counts for M, the wires, and
  // the segment count for L.
  c.N1 = real("En1");
  c.h1 = real("Eh1");
  c.rmin1 = real("Er1");
  c.rmax1 = real("Es1");
  c.b1 = real("Eb1");
  c.N2 = real("En2");
  c.h2 = real("Eh2");
  c.rmin2 = real("Er2");
  c.rmax2 = real("Es2");
  c.b2 = real("Eb2");
  c.ns1 = whole("Ens1");
  c.ns2 = whole("Ens2");
  c.wd1 = real("Ewd1");
  c.wd2 = real("Ewd2");
  c.nsm = whole("Ensm");
  c.InputsRead = true;
}

}  // namespace quor::transformer
