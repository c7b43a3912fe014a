#include "electrostatics/structure_capacitance.h"

#include <cmath>
#include <optional>
#include <thread>

#include "electrostatics/ring_kernel.h"
#include "electrostatics/ring_set_checks.h"
#include "electrostatics/structure_view.h"
#include "numerics/arithmetic_fault.h"
#include "numerics/format.h"
#include "numerics/input_rounding.h"
#include "numerics/matrix.h"
#include "numerics/row_pool.h"

namespace quor::electrostatics {
using namespace quor::numerics;

namespace {

// Each kernel call costs about a microsecond (an AGM of some ten square roots), so a
// few hundred rings already make rows worth handing to other threads.
unsigned Workers(int requested, int rings) {
  if (requested >= 0) return static_cast<unsigned>(requested);
  if (rings < 100) return 0;
  const unsigned hw = std::thread::hardware_concurrency();
  return hw == 0 ? 1 : hw;
}

std::string Pf(Extended farads) { return FixedStr(farads / 1e-12L, 15, 10) + " pF"; }

// An element that makes rings but has no length (a segment from a point to itself, an
// arc of no radius or no angle) gives rings without a strip to stand for; an arc of
// negative radius turns its rings' wires inside out, which flips the sign of their
// surface fields. Elements numbered from 1 in the order of their lines.
std::optional<std::string> ElementFault(const StructureDescription& d) {
  for (std::size_t i = 0; i < d.elements.size(); ++i) {
    const StructureElement& e = d.elements[i];
    if (e.rings < 1) continue;
    const std::string which =
        "Invalid structure: element " + IntStr(static_cast<std::int32_t>(i + 1));
    const Extended* p = e.p;
    bool noLength = false;
    switch (e.kind) {
      case ElementKind::Line:
        noLength = EqualWithinRounding(p[0], p[2]) && EqualWithinRounding(p[1], p[3]);
        break;
      case ElementKind::Circle:
        if (p[2] < 0) return which + " has a negative radius";
        noLength = EqualWithinRounding(p[2], 0, RoundingScale(p[0], p[1])) || p[3] == p[4];
        break;
      case ElementKind::Ellipse:
        noLength = (EqualWithinRounding(p[2], 0, RoundingScale(p[0], p[1])) &&
                    EqualWithinRounding(p[3], 0, RoundingScale(p[0], p[1]))) ||
                   p[4] == p[5];
        break;
    }
    if (noLength) return which + " has zero length";
  }
  return std::nullopt;
}

// Smallest and largest surface field of a set of rings and where each was last
// improved.
struct Extremes {
  Extended min = 1e50L, max = -1e50L;
  int minRing = 0, maxRing = 0;
  void Take(Extended E, int ring) {
    if (E > max) max = E, maxRing = ring;
    if (E < min) min = E, minRing = ring;
  }
};

// Lists, one entry per conductor, of the extremes of its rings (0 for a conductor
// without rings) and of its breakdown voltage (0 where none is printed).
struct ExtremesLists {
  std::vector<Extended> min, minRing, max, maxRing, breakdown;
  explicit ExtremesLists(int conductors)
      : min(conductors, 0.0L), minRing(conductors, 0.0L), max(conductors, 0.0L),
        maxRing(conductors, 0.0L), breakdown(conductors, 0.0L) {}
  void Set(int m, const Extremes& e) {
    min[m - 1] = e.min;
    minRing[m - 1] = e.minRing;
    max[m - 1] = e.max;
    maxRing[m - 1] = e.maxRing;
  }
  void AddTo(Result& values, const std::string& prefix, const char* unit) {
    values.AddList(prefix + "_min", unit, std::move(min));
    values.AddList(prefix + "_min_ring", "1", std::move(minRing));
    values.AddList(prefix + "_max", unit, std::move(max));
    values.AddList(prefix + "_max_ring", "1", std::move(maxRing));
  }
};

class Calculation {
 public:
  Calculation(const StructureDescription& d, bool listFields, const BreakdownField& breakdown,
              ReportSink& msg, const StructureDrawing* drawing, int workers, Result* values)
      : d_(d),
        list_(listFields),
        Emax_(breakdown.Emax),
        msg_(msg),
        drawing_(drawing),
        requested_(workers),
        nc_(static_cast<int>(d.conductors.size())),
        values_(values ? *values : ignored_) {}

  StructureResults Run();

 private:
  void Line(const std::string& s) { ReportLine(msg_, s); }
  const std::string& Name(int m) const { return d_.conductors[m - 1].name; }
  Extended V(int m) const { return d_.conductors[m - 1].V; }
  int Cond(int i) const { return rings_[i - 1].conductor; }
  bool FillPotentialCoefficients();
  void ConductorCapacitances();
  void ChargesAndForces();
  void Fields();
  // The breakdown voltage's line, in kV; returned in V.
  Extended ExtremesLines(const Extremes& e);
  void RingLine(int i, Extended E, std::vector<Extended>& listed) {
    if (!list_) return;
    Line(IntStr(i) + " " + FixedStr(E, 15, 10));
    listed[i - 1] = E;
  }

  const StructureDescription& d_;
  const bool list_;
  const Extended Emax_;
  ReportSink& msg_;
  const StructureDrawing* drawing_;
  const int requested_;
  const int nc_;
  int N_ = 0;
  Extended eps0_ = 0;
  std::vector<StructureRing> rings_;
  ExtMatrix C_{kMaxRings};  // potential coefficients, inverted in place
  ExtMatrix Cc_{1};
  StructureResults results_;
  Result ignored_;
  Result& values_;
};

StructureResults Calculation::Run() {
  if (d_.ringTotal > kMaxRings || d_.RingsMade() > kMaxRings) {
    Line("Too many rings");
    return {};
  }
  Line("");
  if (drawing_) drawing_->canvas->SetBrushColor(kYellow);
  rings_ = GenerateRings(d_, [this](const StructureRing& ring) {
    if (drawing_) DrawRing(*drawing_->canvas, drawing_->view, ring);
  });
  if (drawing_) drawing_->canvas->SetBrushColor(kWhite);
  N_ = static_cast<int>(rings_.size());
  if (N_ == 0) {
    Line("The structure has no rings.");
    return {};
  }
  std::optional<std::string> fault = ElementFault(d_);
  if (!fault) {
    std::vector<RingPlace> places;
    for (const StructureRing& r : rings_) places.push_back({r.R, r.Z, r.a});
    fault = RingSetFault(places);
  }
  if (fault) {
    Line(*fault);
    return {};
  }
  eps0_ = Eps0();

  if (!FillPotentialCoefficients()) return {};
  // Without pivot search: the matrix of potential coefficients is symmetric and
  // positive definite.
  if (!InvertMatrix(N_, C_, msg_, "n")) return {};

  ConductorCapacitances();
  ChargesAndForces();
  Fields();
  results_.EemaxText = FixedStr(results_.FieldScale, 7, 4);
  CheckArithmeticFaults();
  if (drawing_) {
    drawing_->canvas->SetFontColor(kBlack);  // a plot's legend leaves it white
    drawing_->canvas->TextOut(3, 3, "Click to measure potential and electric field");
  }
  results_.completed = true;
  results_.eps0 = eps0_;
  results_.rings = std::move(rings_);
  results_.Cc = std::move(Cc_);
  return std::move(results_);
}

// P[i][j] is the potential of ring i per coulomb on ring j; on the diagonal the point
// lies on the ring's own surface, a wire radius away. Rows are independent: each is
// computed whole by one thread, so the table does not depend on the thread count.
// Two rings in the same place give a modulus of 1 (or, through the last bit, above):
// the structure is rejected at the first such pair in row order.
bool Calculation::FillPotentialCoefficients() {
  auto row = [this](std::int64_t k) -> Extended {
    const int i = static_cast<int>(k) + 1;
    const StructureRing& ri = rings_[i - 1];
    for (int j = i; j <= N_; ++j) {
      const StructureRing& rj = rings_[j - 1];
      const RingCoefficient c = j == i ? RingSelfCoefficientK(ri.R, ri.Z, ri.a, eps0_)
                                       : RingPotentialCoefficientK(rj.R, rj.Z, ri.R, ri.Z, eps0_);
      if (c.k >= 1) return j;
      C_(i, j) = c.P;
      C_(j, i) = c.P;
    }
    return 0;
  };
  RowPool pool(N_, row, Workers(requested_, N_));
  for (int i = 1; i <= N_; ++i) {
    const Extended j = pool.Next();
    if (j != 0) {
      Line("Invalid structure: rings " + IntStr(i) + " and " + IntStr(static_cast<int>(j)) +
           " are coincident");
      return false;
    }
  }
  return true;
}

void Calculation::ConductorCapacitances() {
  Cc_ = ExtMatrix(nc_ > 0 ? nc_ : 1);
  Extended Ct = 0;
  for (int i = 1; i <= N_; ++i)
    for (int j = 1; j <= N_; ++j) {
      Cc_(Cond(i), Cond(j)) += C_(i, j);
      Ct += C_(i, j);
    }
  for (int m = 1; m <= nc_; ++m) Line("Conductor " + IntStr(m) + ": " + Name(m));
  Line("Capacitance matrix:");
  const std::size_t n2 = static_cast<std::size_t>(nc_);
  std::vector<Extended> k(n2 * n2), between(n2 * n2, 0.0L), toInfinity(n2);
  for (int m = 1; m <= nc_; ++m)
    for (int n = m; n <= nc_; ++n)
      Line("k[" + Name(m) + "," + Name(n) + "]: " + Pf(Cc_(m, n)));
  Line("Total capacitance: " + Pf(Ct));
  for (int m = 1; m <= nc_; ++m) {
    // The row sum: the capacitance of conductor m to infinity.
    Extended S = Cc_(m, m);
    for (int n = 1; n <= nc_; ++n) {
      // 0 - k rather than -k: a conductor without rings has k = +0, which must not
      // print as "-0.0000000000".
      if (n > m)
        Line("Capacitance " + Name(m) + "-" + Name(n) + ": " + Pf(0 - Cc_(m, n)));
      if (n != m) {
        S += Cc_(m, n);
        between[(m - 1) * n2 + (n - 1)] = 0 - Cc_(m, n);
      }
      k[(m - 1) * n2 + (n - 1)] = Cc_(m, n);
    }
    Line("Capacitance " + Name(m) + "-infinity: " + Pf(S));
    toInfinity[m - 1] = S;
  }
  values_.AddMatrix("C_matrix", "F", n2, n2, std::move(k));
  values_.Add("C_total", "F", Ct);
  values_.AddMatrix("C_between", "F", n2, n2, std::move(between));
  values_.AddList("C_infinity", "F", std::move(toInfinity));
}

void Calculation::ChargesAndForces() {
  Line("Charges:");
  std::vector<Extended> charges, potentials;
  for (int m = 1; m <= nc_; ++m) {
    Extended Q = 0;
    for (int n = 1; n <= nc_; ++n) Q += Cc_(m, n) * V(n);
    Line("Conductor " + Name(m) + ": " + SciStr(Q, 15) + " C");
    charges.push_back(Q);
    potentials.push_back(V(m));
  }
  values_.AddList("V", "V", std::move(potentials));
  values_.AddList("Q", "C", std::move(charges));

  Line("Forces:");
  for (int i = 1; i <= N_; ++i) {
    Extended q = 0;
    for (int j = 1; j <= N_; ++j) q += C_(i, j) * V(Cond(j));
    rings_[i - 1].q = q;
  }
  // The axial force on ring i from every other ring (Maxwell's force between coaxial
  // charged rings through the third-kind integral), summed per conductor.
  auto row = [this](std::int64_t k) -> Extended {
    const int i = static_cast<int>(k) + 1;
    const StructureRing& ri = rings_[i - 1];
    Extended F = 0;
    for (int j = 1; j <= N_; ++j) {
      if (j == i) continue;
      const StructureRing& rj = rings_[j - 1];
      F += RingAxialForce(ri.R, ri.Z, ri.q, rj.R, rj.Z, rj.q);
    }
    return F;
  };
  std::vector<Extended> F(static_cast<std::size_t>(nc_) + 1, 0.0L);
  RowPool pool(N_, row, Workers(requested_, N_));
  for (int i = 1; i <= N_; ++i) F[Cond(i)] += pool.Next();
  std::vector<Extended> forces;
  for (int m = 1; m <= nc_; ++m) {
    Line("Conductor " + Name(m) + ": " + SciStr(F[m] / (kTwoPiSquared * eps0_), 15) + " N");
    forces.push_back(F[m] / (kTwoPiSquared * eps0_));
  }
  values_.AddList("F", "N", std::move(forces));
}

Extended Calculation::ExtremesLines(const Extremes& e) {
  Line("Min: " + FixedStr(e.min, 15, 10) + " (" + IntStr(e.minRing) + ") Max: " +
       FixedStr(e.max, 15, 10) + " (" + IntStr(e.maxRing) + ")");
  Line("Breakdown voltage: " + FixedStr(Emax_ / e.max, 10, 4) + " kV");
  return Emax_ / e.max * 1000;
}

void Calculation::Fields() {
  Line("Electric fields and breakdown voltages (closed objects only):");
  if (list_) Line("Electric fields (V/m/V) at the rings:");
  // The listed fields of every ring: all conductors at 1 V, its own conductor alone at
  // 1 V, and the potentials given.
  const std::size_t rings = list_ ? static_cast<std::size_t>(N_) : 0;
  std::vector<Extended> listedAll(rings), listedSingle(rings), listedGiven(rings);

  // All conductors at 1 V.
  Extremes all;
  for (int i = 1; i <= N_; ++i) {
    Extended q = 0;
    for (int j = 1; j <= N_; ++j) q += C_(i, j);
    const Extended E = RingSurfaceField(rings_[i - 1].R, rings_[i - 1].a, q, eps0_);
    all.Take(E, i);
    RingLine(i, E, listedAll);
  }
  Line("For all the objects at the same voltage (V/m/V):");
  const Extended breakdownAll = ExtremesLines(all);
  values_.Add("E_all_min", "1/m", all.min);
  values_.Add("E_all_min_ring", "1", all.minRing);
  values_.Add("E_all_max", "1/m", all.max);
  values_.Add("E_all_max_ring", "1", all.maxRing);
  values_.Add("Vb_all", "V", breakdownAll);
  if (list_) values_.AddList("E_all_rings", "1/m", std::move(listedAll));

  // One conductor at 1 V, the others grounded.
  if (nc_ > 1) {
    ExtremesLists single(nc_);
    for (int m = 1; m <= nc_; ++m) {
      Line("For conductor \"" + Name(m) + "\" charged and the others grounded (V/m/V):");
      Extremes e;
      bool hasRings = false;
      for (int i = 1; i <= N_; ++i) {
        if (Cond(i) != m) continue;
        hasRings = true;
        Extended q = 0;
        for (int j = 1; j <= N_; ++j)
          if (Cond(j) == m) q += C_(i, j);
        const Extended E = RingSurfaceField(rings_[i - 1].R, rings_[i - 1].a, q, eps0_);
        e.Take(E, i);
        RingLine(i, E, listedSingle);
      }
      if (hasRings) {
        single.breakdown[m - 1] = ExtremesLines(e);
        single.Set(m, e);
      } else {
        Line("The conductor " + Name(m) + " has no rings.");
      }
    }
    values_.AddList("Vb_single", "V", std::move(single.breakdown));
    single.AddTo(values_, "E_single", "1/m");
    if (list_) values_.AddList("E_single_rings", "1/m", std::move(listedSingle));
  }

  // The potentials of the .V commands: fields in V/m.
  Line("For the conductors charged as specified (V/m):");
  Extended fieldScale = -1e50L;
  ExtremesLists given(nc_);
  bool differential = false;
  for (int m = 1; m <= nc_; ++m) {
    Extremes e;
    bool hasRings = false;
    for (int i = 1; i <= N_; ++i) {
      if (Cond(i) != m) continue;
      hasRings = true;
      const Extended E = RingSurfaceField(rings_[i - 1].R, rings_[i - 1].a, rings_[i - 1].q, eps0_);
      e.Take(E, i);
      RingLine(i, E, listedGiven);
    }
    if (!hasRings) {
      Line("The conductor " + Name(m) + " has no rings.");
      continue;
    }
    Line("\"" + Name(m) + "\" at " + FixedStr(V(m), 5, 2) + " V: Min: " + FixedStr(e.min, 10, 6) +
         " (" + IntStr(e.minRing) + ") Max: " + FixedStr(e.max, 10, 6) + " (" + IntStr(e.maxRing) +
         ")");
    given.Set(m, e);
    const Extended M = std::fabs(e.max) > std::fabs(e.min) ? std::fabs(e.max) : std::fabs(e.min);
    if (M > fieldScale) fieldScale = M;
    if (d_.VMax == -d_.VMin && nc_ == 2) {
      Line("Differential breakdown voltage: " + FixedStr((d_.VMax - d_.VMin) * Emax_ / M, 10, 4) +
           " kV");
      given.breakdown[m - 1] = (d_.VMax - d_.VMin) * Emax_ / M * 1000;
      differential = true;
    }
  }
  given.AddTo(values_, "E", "V/m");
  if (differential) values_.AddList("Vb_differential", "V", std::move(given.breakdown));
  if (list_) values_.AddList("E_rings", "V/m", std::move(listedGiven));
  results_.FieldScale = fieldScale;
}

}  // namespace

StructureResults CalculateStructure(const StructureDescription& description, bool listFields,
                                    const BreakdownField& breakdown, ReportSink& msg,
                                    const StructureDrawing* drawing, int workers,
                                    Result* values) {
  return Calculation(description, listFields, breakdown, msg, drawing, workers, values).Run();
}

const std::vector<FieldDef>& StructureFieldDefs() {
  static const std::vector<FieldDef> defs = {
      {"CBlistar", "List surface fields", "0", "Also list the surface field at every ring", true},
  };
  return defs;
}

}  // namespace quor::electrostatics
