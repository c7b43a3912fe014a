// The nodes' capacitance matrix: the winding and the top load as thin charged rings
// over the ground plane, reduced to the section ends.
#include <Eigen/Cholesky>
#include <Eigen/Dense>
#include <algorithm>
#include <cstdlib>

#include "electrostatics/ring_kernel.h"
#include "electrostatics/structure_description.h"
#include "resonator/resonator_model.h"

namespace quor::resonator {

namespace {

using MatrixX = Eigen::Matrix<Extended, Eigen::Dynamic, Eigen::Dynamic>;
using VectorX = Eigen::Matrix<Extended, Eigen::Dynamic, 1>;

// Potential coefficients of the rings (V/C); over the ground plane each ring's mirror at
// -Z carries the opposite charge. Symmetric: the mirror term depends on Zi + Zj. The
// first `uniform` rings are equal and equally spaced (the winding's): between them the
// free term depends only on the index difference and the mirror term on the index sum,
// so 3 W coefficients serve all W^2 pairs.
MatrixX PotentialCoefficients(const std::vector<ModelRing>& rings, bool ground, int uniform) {
  const Extended eps0 = Eps0();
  const int n = static_cast<int>(rings.size());
  MatrixX P(n, n);
  const int W = uniform;
  if (W > 0) {
    const Extended R = rings[0].R, z0 = rings[0].Z;
    const Extended dz = W > 1 ? (rings[static_cast<std::size_t>(W) - 1].Z - z0) / (W - 1) : 0.0L;
    std::vector<Extended> free(static_cast<std::size_t>(W));
    free[0] = RingSelfCoefficient(R, 0, rings[0].a, eps0);
    for (int d = 1; d < W; ++d) free[static_cast<std::size_t>(d)] = RingPotentialCoefficient(R, 0, R, d * dz, eps0);
    std::vector<Extended> mirror(ground ? 2 * static_cast<std::size_t>(W) - 1 : 0);
    for (std::size_t s = 0; s < mirror.size(); ++s)
      mirror[s] = RingPotentialCoefficient(R, 0, R, 2 * z0 + static_cast<Extended>(s) * dz, eps0);
    for (int i = 0; i < W; ++i)
      for (int j = 0; j < W; ++j)
        P(i, j) = free[static_cast<std::size_t>(std::abs(i - j))] -
                  (ground ? mirror[static_cast<std::size_t>(i + j)] : 0.0L);
  }
  for (int i = 0; i < n; ++i) {
    const ModelRing& ri = rings[static_cast<std::size_t>(i)];
    for (int j = std::max(i, W); j < n; ++j) {
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
  // The winding as one straight element, its rings at the midpoints of equal strips, m
  // to a section; then the top load's outline as one arc.
  StructureDescription d;
  StructureElement w;
  w.kind = ElementKind::Line;
  w.rings = S * m;
  w.conductor = 1;
  w.p[0] = coil.r;
  w.p[1] = nodeZ.front();
  w.p[2] = coil.r;
  w.p[3] = nodeZ.back();
  d.elements.push_back(w);
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
      // Ring j is the (j mod m)-th of section j/m, at that fraction of the section.
      const auto j = static_cast<std::int32_t>(rings.size());
      r.node0 = j / m;
      r.w1 = (j % m + 0.5L) / m;
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
  int uniform = 0;
  while (uniform < n && !rings[static_cast<std::size_t>(uniform)].topLoad) ++uniform;
  const Eigen::LLT<MatrixX> llt(PotentialCoefficients(rings, ground, uniform));
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

std::optional<Extended> RingsCapacitance(const std::vector<ModelRing>& rings, bool ground) {
  const Eigen::LLT<MatrixX> llt(PotentialCoefficients(rings, ground, 0));
  if (llt.info() != Eigen::Success) return std::nullopt;
  return llt.solve(VectorX::Ones(static_cast<Eigen::Index>(rings.size()))).sum();
}

}  // namespace quor::resonator
