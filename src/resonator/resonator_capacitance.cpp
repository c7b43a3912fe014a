// The nodes' capacitance matrix: the winding and the top load as thin charged rings
// over the ground plane, reduced to the section ends.
#include <Eigen/Cholesky>
#include <Eigen/Dense>
#include <algorithm>

#include "electrostatics/ring_kernel.h"
#include "electrostatics/structure_description.h"
#include "resonator/resonator_model.h"

namespace {

using MatrixX = Eigen::Matrix<Extended, Eigen::Dynamic, Eigen::Dynamic>;
using VectorX = Eigen::Matrix<Extended, Eigen::Dynamic, 1>;

// Potential coefficients of the rings (V/C); over the ground plane each ring's mirror at
// -Z carries the opposite charge. Symmetric: the mirror term depends on Zi + Zj.
MatrixX PotentialCoefficients(const std::vector<ModelRing>& rings, bool ground) {
  const Extended eps0 = Eps0();
  const int n = static_cast<int>(rings.size());
  MatrixX P(n, n);
  for (int i = 0; i < n; ++i) {
    const ModelRing& ri = rings[static_cast<std::size_t>(i)];
    for (int j = i; j < n; ++j) {
      const ModelRing& rj = rings[static_cast<std::size_t>(j)];
      Extended p = j == i ? RingSelfCoefficient(ri.R, ri.Z, ri.a, eps0)
                          : RingPotentialCoefficient(rj.R, rj.Z, ri.R, ri.Z, eps0);
      if (ground) p -= RingPotentialCoefficient(rj.R, -rj.Z, ri.R, ri.Z, eps0);
      P(i, j) = p;
      P(j, i) = p;
    }
  }
  return P;
}

}  // namespace

std::int32_t RingsPerSection(std::int32_t sections) {
  return std::max<std::int32_t>(1, (400 + sections / 2) / sections);
}

std::vector<ModelRing> ModelRings(const ResonatorCoil& coil, const std::vector<Extended>& nodeZ,
                                  const TopLoad& top) {
  const std::int32_t S = static_cast<std::int32_t>(nodeZ.size()) - 1;
  const std::int32_t m = RingsPerSection(S);
  // The winding: one straight element per section, the rings at the midpoints of equal
  // strips of it; then the top load's outline as one arc.
  StructureDescription d;
  for (std::int32_t s = 0; s < S; ++s) {
    StructureElement e;
    e.kind = ElementKind::Line;
    e.rings = m;
    e.conductor = 1;
    e.p[0] = coil.r;
    e.p[1] = nodeZ[static_cast<std::size_t>(s)];
    e.p[2] = coil.r;
    e.p[3] = nodeZ[static_cast<std::size_t>(s) + 1];
    d.elements.push_back(e);
  }
  const Extended zt = coil.b + coil.h + top.height;
  if (top.kind != TopLoadKind::None) {
    StructureElement e;
    e.kind = ElementKind::Circle;
    e.rings = kTopLoadRings;
    e.conductor = 2;
    if (top.kind == TopLoadKind::Toroid) {
      const Extended a = top.minor / 2;
      e.p[0] = top.major / 2 - a;  // the tube centres' circle
      e.p[1] = zt;
      e.p[2] = a;
      e.p[3] = 0;
      e.p[4] = kTwoPi;
    } else {
      e.p[0] = 0;
      e.p[1] = zt;
      e.p[2] = top.sphere / 2;
      e.p[3] = -kHalfPi;
      e.p[4] = kHalfPi;
    }
    d.elements.push_back(e);
  }
  std::vector<ModelRing> rings;
  for (const StructureRing& sr : GenerateRings(d)) {
    ModelRing r;
    r.R = sr.R;
    r.Z = sr.Z;
    r.a = sr.a;
    if (sr.conductor == 2) {
      r.node0 = S;
      r.topLoad = true;
    } else {
      r.node0 = static_cast<std::int32_t>(rings.size()) / m;
      const Extended z0 = nodeZ[static_cast<std::size_t>(r.node0)];
      const Extended z1 = nodeZ[static_cast<std::size_t>(r.node0) + 1];
      r.w1 = (sr.Z - z0) / (z1 - z0);
      r.w0 = 1 - r.w1;
    }
    rings.push_back(r);
  }
  return rings;
}

std::optional<NodeCapacitances> BuildNodeCapacitances(const std::vector<ModelRing>& rings,
                                                      std::int32_t sections, bool ground) {
  const int n = static_cast<int>(rings.size());
  const int S = sections;
  // A: the potential of each ring from the free node voltages 1 ... S (node 0 is held at
  // zero); its transpose shares each ring's charge between the same nodes.
  MatrixX A = MatrixX::Zero(n, S);
  VectorX top = VectorX::Zero(n);
  for (int i = 0; i < n; ++i) {
    const ModelRing& r = rings[static_cast<std::size_t>(i)];
    if (r.node0 >= 1) A(i, r.node0 - 1) += r.w0;
    if (r.w1 != 0 && r.node0 + 1 <= S) A(i, r.node0) += r.w1;
    if (r.topLoad) top(i) = 1;
  }
  const Eigen::LLT<MatrixX> llt(PotentialCoefficients(rings, ground));
  if (llt.info() != Eigen::Success) return std::nullopt;
  // With P = G G^T: C = A^T P^-1 A = (G^-1 A)^T (G^-1 A), and the top load's charge
  // top^T P^-1 A v = (G^-1 top)^T (G^-1 A) v.
  const MatrixX Y = llt.matrixL().solve(A);
  const VectorX w = llt.matrixL().solve(top);
  NodeCapacitances out;
  out.rings = n;
  out.C = SquareMatrix(S);
  MatrixX C = MatrixX::Zero(S, S);
  C.selfadjointView<Eigen::Lower>().rankUpdate(Y.transpose());
  for (int i = 0; i < S; ++i)
    for (int j = 0; j <= i; ++j) {
      out.C(i, j) = C(i, j);
      out.C(j, i) = C(i, j);
    }
  const VectorX t = Y.transpose() * w;
  out.topRow.assign(t.data(), t.data() + S);
  return out;
}

std::optional<Extended> IsolatedRingsCapacitance(const std::vector<ModelRing>& rings) {
  const Eigen::LLT<MatrixX> llt(PotentialCoefficients(rings, false));
  if (llt.info() != Eigen::Success) return std::nullopt;
  return llt.solve(VectorX::Ones(static_cast<Eigen::Index>(rings.size()))).sum();
}
