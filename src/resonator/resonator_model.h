#pragma once
// The secondary of a Tesla coil as a distributed resonator: a single-layer solenoid,
// grounded at its base, optionally standing on a perfectly conducting ground plane and
// carrying a top load (toroid or sphere) joined to its top turn.
//
// The winding is cut into S equal sections between S + 1 nodes (node 0 the base, node S
// the top). Each section carries one current, each node one voltage:
//   L di/dt = D v           (the inductive drop along each section),
//   C dv/dt = -D^T i        (the charge each node gains from the currents),
// with L the sections' mutual inductance matrix, C the nodes' capacitance matrix and D
// the incidence of sections on nodes ((D v)_j = v_(j-1) - v_j). With the base node held
// at zero, the node voltages of a mode oscillating at omega satisfy the generalized
// symmetric eigenproblem
//   K v = omega^2 C v,  K = D^T L^-1 D,
// whose lowest eigenvalues are the quarter-, three-quarter- and five-quarter-wave modes.
//
// Without the ground plane the base node is still held at zero: at the potential far
// away, through the coil's feed. That is the coil standing alone in space and driven at
// its base, as a secondary is; its modes stay quarter waves. (A coil floating at both
// ends would ring in half waves, but it has no terminal to be driven or measured at.)
// The plane's absence takes away only its mirror currents and charges: a free coil's
// modes do not depend on its height, and those of a coil lifted far above the plane
// approach them.
//
// L: the turns as coaxial filament rings (Maxwell's formula), the self term by the
// geometric mean distance of the wire; over the ground plane each turn's field is
// cancelled on the plane by a mirror turn with the opposite current, whose mutual
// inductance is subtracted.
// C: the winding's surface, and the top load's, as thin charged rings of the ring
// kernel; the ground plane by mirror rings of opposite charge. Each winding ring's
// potential is the linear interpolation of its section's two node voltages, and its
// charge is shared between them with the same weights; the top load's rings stand at
// the top node's voltage.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "numerics/extended.h"

// The resonator stands on the transformer's rings and the electrostatic kernel.
namespace quor::transformer {}
namespace quor::electrostatics {}

namespace quor::resonator {
using namespace quor::numerics;
using namespace quor::transformer;
using namespace quor::electrostatics;

// A single-layer solenoid of round wire, lengths in metres between wire centres: its
// turns sit at the middle of their share of the winding, from the base at height b
// (above the ground plane) to b + h.
struct ResonatorCoil {
  Extended N = 0;   // turns (rounded to whole turns by the model)
  Extended h = 0;   // winding height
  Extended r = 0;   // radius
  Extended b = 0;   // height of the winding's base
  Extended wd = 0;  // wire diameter
};

enum class TopLoadKind { None = 0, Toroid = 1, Sphere = 2 };

struct TopLoad {
  TopLoadKind kind = TopLoadKind::None;
  Extended major = 0;   // toroid: outer diameter
  Extended minor = 0;   // toroid: tube diameter
  Extended sphere = 0;  // sphere: diameter
  Extended height = 0;  // its centre above the winding's top (b + h)
};

struct ResonatorInput {
  ResonatorCoil coil;
  bool ground = true;
  TopLoad top;
  std::int32_t sections = 100;
};

// A dense square matrix, row-major.
struct SquareMatrix {
  int n = 0;
  std::vector<Extended> a;
  explicit SquareMatrix(int size = 0)
      : n(size), a(static_cast<std::size_t>(size) * static_cast<std::size_t>(size), 0.0L) {}
  Extended& operator()(int i, int j) { return a[static_cast<std::size_t>(i) * n + j]; }
  Extended operator()(int i, int j) const { return a[static_cast<std::size_t>(i) * n + j]; }
  Extended Sum() const;
};

// ------------------------------------------------------------------------------------
// The sections' inductances.

struct SectionInductances {
  std::int32_t turns = 0;      // whole turns n
  std::vector<Extended> nodeZ; // height of node k, b + k h/S, k = 0 ... S
  SquareMatrix L;              // S x S, henries
};

// Consecutive turns i1 ... i2 (1-based) that a section holds with the weight w.
struct TurnRun {
  std::int32_t i1 = 0, i2 = 0;
  Extended w = 1;
};
// The turns of section s (0 ... S - 1, from the base) when n turns are cut into S equal
// sections: the whole turns inside it with weight 1 and, where a boundary cuts a turn,
// the fraction of that turn on this side (the turn's current counted in proportion).
std::vector<TurnRun> SectionTurns(std::int32_t turns, std::int32_t sections, std::int32_t s);

// Turn i with turn j (1-based) of the solenoid: their term of Maxwell's sum for the
// coil's self-inductance (the coil against its copy shifted by the wire's g.m.d. g,
// both directions of the shift averaged), so that the terms of all pairs add up to the
// Maxwell inductance with circular turns:
//   i = j:  M(r, r, g);    i != j:  (M(r, r, |zi - zj| - g) + M(r, r, |zi - zj| + g))/2,
// over the ground plane less the mutual inductance of turn i with the mirror of turn j,
// M(r, r, zi + zj). L[s][t] is the sum of these terms over the turns of sections s and
// t, each with its weights.
//
// The S x S matrix. A uniform solenoid's free term depends
// only on the turns' index difference and its mirror term only on their index sum: the
// 2n distinct ring pairs of each kind, summed twice cumulatively, give the sum over
// any block of turn pairs in four look-ups.
SectionInductances BuildSectionInductances(const ResonatorCoil& coil, bool ground,
                                           std::int32_t sections);

// ------------------------------------------------------------------------------------
// The nodes' capacitances.

// A thin charged ring (kernel record): radius, height, equivalent wire radius.
struct ModelRing {
  Extended R = 0, Z = 0, a = 0;
  // The node voltages that set its potential: w0 * v[node0] + w1 * v[node0 + 1]
  // (a top-load ring: node0 = S, w0 = 1, w1 = 0).
  std::int32_t node0 = 0;
  Extended w0 = 1, w1 = 0;
  bool topLoad = false;
};

// Rings per section: the winding carries about 400 rings in all (one per section
// beyond 266 sections), equally spaced, the same strip width for all.
std::int32_t RingsPerSection(std::int32_t sections);
// Rings around a top load's meridian outline (the toroid's tube circle, the sphere's
// half circle).
inline constexpr std::int32_t kTopLoadRings = 72;

// The winding's rings, section by section, then the top load's.
std::vector<ModelRing> ModelRings(const ResonatorCoil& coil, const std::vector<Extended>& nodeZ,
                                  const TopLoad& top);

struct NodeCapacitances {
  SquareMatrix C;                // nodes 1 ... S (node 0 grounded): farads
  std::vector<Extended> topRow;  // charge on the top load per volt on node k (1 ... S)
  std::int32_t rings = 0;
};

// C = A^T P^-1 A with P the rings' potential coefficients (mirror rings subtracted over
// the ground plane) and A the rings' interpolation weights. Nothing when P is not
// positive definite (rings too close for the kernel).
std::optional<NodeCapacitances> BuildNodeCapacitances(const std::vector<ModelRing>& rings,
                                                      std::int32_t sections, bool ground);

// Capacitance (farads) of a set of rings all at 1 V, alone in space or over the ground
// plane: the charge they carry. Nothing when P is not positive definite.
std::optional<Extended> RingsCapacitance(const std::vector<ModelRing>& rings, bool ground);

// ------------------------------------------------------------------------------------
// The modes.

struct ResonatorMode {
  Extended frequency = 0;        // Hz
  std::vector<Extended> voltage; // nodes 0 ... S, the top node at 1 V
  std::vector<Extended> current; // sections 1 ... S (index 0 the lowest), amperes
                                 // (amplitudes, a quarter period after the voltages)
};

// The lowest `count` modes of K v = omega^2 C v (fewer when there are fewer sections).
// Nothing when a matrix is not positive definite.
std::optional<std::vector<ResonatorMode>> SolveModes(const SquareMatrix& L, const SquareMatrix& C,
                                                     int count);

// ------------------------------------------------------------------------------------
// Everything together.

struct ResonatorResult {
  SectionInductances inductances;
  NodeCapacitances capacitances;
  std::vector<ResonatorMode> modes;  // up to three
  Extended Lground = 0;  // the winding's low-frequency inductance in place: sum of L
  Extended Les = 0;      // effective series inductance at mode 1, from the base current
  Extended Ces = 0;      // 1/((2 pi F1)^2 Les)
  Extended topInPlace = 0;  // charge on the top load per volt at the top, in mode 1
  // Seconds spent in each part (for the benchmark).
  double inductanceSeconds = 0, capacitanceSeconds = 0, eigenSeconds = 0;
};

inline constexpr const char* kModelFailure =
    "The model can't be solved for these dimensions (a matrix is not positive definite)";

// The whole model; std::nullopt with the reason in `failure` when a matrix is not
// positive definite. The input is assumed checked (a solenoid of positive sizes, at
// least as many turns as sections, nothing overlapping).
std::optional<ResonatorResult> SolveResonator(const ResonatorInput& input,
                                              std::string* failure = nullptr);

// Effective series inductance of a mode: the magnetic energy of its currents referred
// to the current at the base, i^T L i / i_1^2.
Extended EffectiveSeriesInductance(const SquareMatrix& L, const std::vector<Extended>& current);

}  // namespace quor::resonator
