#pragma once
// Charges of a set of coaxial thin rings that all stand at 1 V: the bodies that the
// partial toroid and the conical sheet windows cut into rings. The potential of ring i
// is the sum over j of P[i, j] q_j with the potential coefficients of the ring kernel;
// setting every potential to 1 V, the charges are the row sums of C = P^-1.
#include <optional>
#include <vector>

#include "numerics/extended.h"
#include "numerics/report.h"

namespace quor::electrostatics {
using namespace quor::numerics;

// Rings of one body: centre radius, height and equivalent wire radius, in metres.
struct ChargedRing {
  Extended rho = 0;
  Extended z = 0;
  Extended v = 0;
};

// Builds P (upper triangle, one elliptic integral per entry, mirrored), inverts it in
// place and returns q_i = sum over j of C[i, j] in coulombs, at most 200 rings.
// A set that RingSetFault refuses (rings of negative radius or wire radius, two rings
// at the same place or whose wires overlap, a ring without wire radius) writes its
// line and returns nothing; so do two rings whose modulus still comes out at 1 or
// above ("Invalid structure: rings i and j are coincident"); a failed
// inversion has written its own line and returns nothing as well: the partly
// transformed matrix would give charges without meaning.
std::optional<std::vector<Extended>> RingChargesAtOneVolt(const std::vector<ChargedRing>& rings,
                                                          Extended eps0, ReportSink& report);

}  // namespace quor::electrostatics
