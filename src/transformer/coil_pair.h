#pragma once
// The coil pair of the main window: two coaxial single-layer coils of round wire
// (coil 1 the primary, coil 2 the secondary), as read from the window's fields.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "numerics/extended.h"
#include "numerics/fields.h"

namespace quor::transformer {
using namespace quor::numerics;

struct CoilPair {
  Extended N1 = 0, h1 = 0, rmin1 = 0, rmax1 = 0, b1 = 0, wd1 = 0;
  Extended N2 = 0, h2 = 0, rmin2 = 0, rmax2 = 0, b2 = 0, wd2 = 0;
  std::int32_t ns1 = 0, ns2 = 0;  // segments per turn for M
  std::int32_t nsm = 0;           // segments per turn for L (true spirals)
  Extended L1 = 0, L2 = 0, M = 0; // results, henries
  bool InputsRead = false;
};

// The fifteen edit fields of the main window followed by its seven option boxes.
const std::vector<FieldDef>& TransformerFieldDefs();
// The defaults of TransformerFieldDefs as a FieldValues map.
FieldValues TransformerDefaults();

struct TransformerOptions {
  bool CBm = true;
  bool CBOudin = false;
  bool CBML1 = true;
  bool CBML2 = true;
  bool CBjvj = false;
  bool CBel = true;
  bool CBparalelo = false;
};
// A check-box field is checked when its text is "1" (missing fields take defaults).
TransformerOptions ReadTransformerOptions(const FieldValues& fields);

// Reads the fifteen edit fields in their order into the coil pair and sets InputsRead.
// Missing names read as their default text.
void ReadTransformerInputs(const FieldValues& fields, CoilPair& coils);

}  // namespace quor::transformer
