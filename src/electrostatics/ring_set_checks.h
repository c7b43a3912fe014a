#pragma once
// What a set of coaxial thin rings must be before its potential coefficients mean
// anything. Each ring stands for a strip of a conducting surface: a wire of its
// equivalent radius around the circle (R, Z) of the meridian half-plane. The kernel
// takes a ring and its mirror image (-R) for the same circle, and a wire that reaches
// into a neighbour's wire is no longer a thin ring: the coefficients of two rings whose
// wires overlap have no physical meaning, and the matrix built from them may give a
// negative capacitance (two plates 0.01 m apart cut into 10 rings each: k[a,a] =
// -1913.9 pF, where 100 rings each give 2822.7 pF against the parallel-plate 2781.6 pF).
#include <optional>
#include <string>
#include <vector>

#include "numerics/extended.h"

namespace quor::electrostatics {
using namespace quor::numerics;

struct RingPlace {
  Extended R = 0;  // radius, m
  Extended Z = 0;  // height, m
  Extended a = 0;  // equivalent wire radius, m
};

// The line that refuses the set, or nothing. In this order, rings numbered from 1:
//   a ring of negative radius: "Invalid structure: ring i has a negative radius";
//   a negative wire radius: "Invalid structure: ring i has a negative wire radius";
//   then, pair by pair in row order (i < j), two rings in the same place
//   ("Invalid structure: rings i and j are coincident") or whose centres are closer
//   than the sum of their wire radii ("Invalid structure: rings i and j overlap");
//   last a ring of no wire radius, whose own coefficient is infinite:
//   "Invalid structure: ring i has a wire radius of zero".
// Radii and distances are judged within the rounding of the sizes (the largest
// coordinate of the set): rings that touch do not overlap, and a ring on the axis is
// no negative one.
std::optional<std::string> RingSetFault(const std::vector<RingPlace>& rings);

}  // namespace quor::electrostatics
