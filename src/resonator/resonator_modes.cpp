// The modes of the sections and nodes: the generalized symmetric eigenproblem
// K v = omega^2 C v, and the whole model put together.
#include <Eigen/Cholesky>
#include <Eigen/Dense>
#include <Eigen/Eigenvalues>
#include <Eigen/LU>
#include <chrono>
#include <cmath>

#include "resonator/resonator_model.h"

namespace quor::resonator {

namespace {

using MatrixX = Eigen::Matrix<Extended, Eigen::Dynamic, Eigen::Dynamic>;
using VectorX = Eigen::Matrix<Extended, Eigen::Dynamic, 1>;

MatrixX ToEigen(const SquareMatrix& m) {
  MatrixX e(m.n, m.n);
  for (int i = 0; i < m.n; ++i)
    for (int j = 0; j < m.n; ++j) e(i, j) = m(i, j);
  return e;
}

double Since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

Extended EffectiveSeriesInductance(const SquareMatrix& L, const std::vector<Extended>& current) {
  Extended energy = 0;
  for (int i = 0; i < L.n; ++i)
    for (int j = 0; j < L.n; ++j)
      energy += current[static_cast<std::size_t>(i)] * L(i, j) * current[static_cast<std::size_t>(j)];
  return energy / (current[0] * current[0]);
}

std::optional<std::vector<ResonatorMode>> SolveModes(const SquareMatrix& L, const SquareMatrix& C,
                                                     int count) {
  const int S = L.n;
  const Eigen::LLT<MatrixX> lltL(ToEigen(L));
  if (lltL.info() != Eigen::Success) return std::nullopt;
  // Section j runs from node j - 1 up to node j: (D v)_j = v_(j-1) - v_j, the base node
  // held at zero. X = L^-1 D gives the currents' rates from the free node voltages, and
  // K = D^T X; both by differences of neighbouring columns and rows of L^-1.
  const MatrixX Linv = lltL.solve(MatrixX::Identity(S, S));
  MatrixX X(S, S);
  for (int k = 0; k < S; ++k)
    X.col(k) = k + 1 < S ? MatrixX(Linv.col(k + 1) - Linv.col(k)) : MatrixX(-Linv.col(k));
  MatrixX K(S, S);
  for (int k = 0; k < S; ++k)
    K.row(k) = k + 1 < S ? MatrixX(X.row(k + 1) - X.row(k)) : MatrixX(-X.row(k));
  K = (K + K.transpose()) / 2;  // symmetric but for rounding
  const MatrixX Cm = ToEigen(C);

  // The eigenvalues from Eigen's symmetric-definite solver; the vectors of the few
  // wanted, each from two solves with K - sigma C for a shift sigma a hair below its
  // eigenvalue (inverse iteration: the error shrinks by (sigma - lambda)/(next
  // eigenvalue - sigma), about 1e-12, per solve), instead of all S vectors.
  const Eigen::GeneralizedSelfAdjointEigenSolver<MatrixX> solver(
      K, Cm, Eigen::EigenvaluesOnly | Eigen::Ax_lBx);
  if (solver.info() != Eigen::Success) return std::nullopt;

  std::vector<ResonatorMode> modes;
  for (int m = 0; m < std::min(count, S); ++m) {
    const Extended lambda = solver.eigenvalues()(m);
    if (!(lambda > 0)) return std::nullopt;
    const Eigen::PartialPivLU<MatrixX> lu(K - (lambda * (1 - 1e-12L)) * Cm);
    VectorX v = VectorX::Ones(S);
    for (int step = 0; step < 2; ++step) {
      v = lu.solve(Cm * v);
      v /= v.cwiseAbs().maxCoeff();
    }
    const Extended omega = std::sqrt(lambda);
    // The top node at 1 V; a mode with a node of voltage there (not met in practice)
    // at 1 V where it is largest.
    Eigen::Index at = S - 1;
    if (std::fabs(v(at)) < 1e-9L) v.cwiseAbs().maxCoeff(&at);
    v /= v(at);
    const VectorX i = X * v / omega;
    ResonatorMode mode;
    mode.frequency = omega / kTwoPi;
    mode.voltage.assign(1, 0.0L);
    mode.voltage.insert(mode.voltage.end(), v.data(), v.data() + S);
    mode.current.assign(i.data(), i.data() + S);
    modes.push_back(std::move(mode));
  }
  return modes;
}

std::optional<ResonatorResult> SolveResonator(const ResonatorInput& input, std::string* failure) {
  ResonatorResult out;
  auto t0 = std::chrono::steady_clock::now();
  out.inductances = BuildSectionInductances(input.coil, input.ground, input.sections);
  out.Lground = out.inductances.L.Sum();
  out.inductanceSeconds = Since(t0);

  t0 = std::chrono::steady_clock::now();
  const std::vector<ModelRing> rings = ModelRings(input.coil, out.inductances.nodeZ, input.top);
  std::optional<NodeCapacitances> c = BuildNodeCapacitances(rings, input.sections, input.ground);
  out.capacitanceSeconds = Since(t0);
  if (!c) {
    if (failure) *failure = kModelFailure;
    return std::nullopt;
  }
  out.capacitances = std::move(*c);

  t0 = std::chrono::steady_clock::now();
  std::optional<std::vector<ResonatorMode>> modes = SolveModes(out.inductances.L, out.capacitances.C, 3);
  out.eigenSeconds = Since(t0);
  if (!modes || modes->empty()) {
    if (failure) *failure = kModelFailure;
    return std::nullopt;
  }
  out.modes = std::move(*modes);

  const ResonatorMode& m1 = out.modes.front();
  out.Les = EffectiveSeriesInductance(out.inductances.L, m1.current);
  const Extended w1 = kTwoPi * m1.frequency;
  out.Ces = 1 / (w1 * w1 * out.Les);
  Extended q = 0;
  for (std::size_t k = 0; k < out.capacitances.topRow.size(); ++k)
    q += out.capacitances.topRow[k] * m1.voltage[k + 1];
  out.topInPlace = q;
  return out;
}

}  // namespace quor::resonator
