#include "elliptic_test/elliptic_tables.h"

#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "numerics/elliptic.h"
#include "numerics/format.h"
#include "numerics/number_reading.h"

namespace quor::elliptic_test {
using namespace quor::numerics;

const std::vector<FieldDef>& CompleteIntegralsFieldDefs() {
  static const std::vector<FieldDef> defs = {
      {"Ek1", "Initial k", "0", "First modulus k (magnitude below 1)"},
      {"Ek2", "Final k", "0.9", "Last modulus k (magnitude below 1)"},
      {"Enk", "Number of values", "3", "How many values of k, evenly spaced", false,
       FieldKind::Count},
      {"Ec1", "Initial c (II)", "0", "First argument c of the third kind (characteristic c*c)"},
      {"Ec2", "Final c (II)", "0.9", "Last argument c of the third kind"},
      {"Enc", "Number of values", "3", "How many values of c, evenly spaced", false,
       FieldKind::Count},
      {"RG123", "Compute", "0", "0: K and E; 1: K, E, and II(k,c); 2: II(k,c) only", false,
       FieldKind::Choice},
      {"Cbagm", "a) Arithmetic-geometric mean", "1", "K and E by the arithmetic-geometric mean",
       true},
      {"CBSimpson", "b) Numerical integration by Simpson's method", "0",
       "Simpson's rule with 100000 intervals", true},
      {"CBserie", "c) Series", "0", "Power series in k (K and E only)", true},
      {"CBdt", "Test derivatives dK/dk and dE/dk", "0",
       "Closed forms against forward differences (K and E only)", true},
      {"CBk2c2", "Consider k\u00b2 and c\u00b2 instead of k and c", "0",
       "The numbers entered are k*k and c*c", true},
  };
  return defs;
}

const std::vector<FieldDef>& IncompleteIntegralsFieldDefs() {
  static const std::vector<FieldDef> defs = {
      {"Eask1", "Initial arcsin k (degrees)", "0", "First modular angle, k = sin(angle)"},
      {"Eask2", "Final arcsin k (degrees)", "80", "Last modular angle (magnitude below 90)"},
      {"Enask", "Number of ks", "2", "How many modular angles, evenly spaced", false,
       FieldKind::Count},
      {"Ephi1", "Initial angle phi (degrees)", "0", "First amplitude phi"},
      {"Ephi2", "Final angle phi (degrees)", "80", "Last amplitude phi (magnitude below 90)"},
      {"Enp", "Number of angles", "2", "How many amplitudes, evenly spaced", false,
       FieldKind::Count},
      {"CBFeE", "F(k,phi) and E(k,phi)", "1",
       "The incomplete integrals of the first and second kind", true},
      {"CBh", "Heuman's Lambda function A(k,phi)", "1", "Heuman's Lambda function", true},
  };
  return defs;
}

const std::vector<ValueDef>& CompleteIntegralsValueDefs() {
  static const std::vector<ValueDef> defs = {
      {"k", "1", "list, one per row: k as entered (k*k with CBk2c2)"},
      {"c", "1", "list, one per row of II(k,c): c as entered"},
      {"E_agm", "1", "list: E(k) by the arithmetic-geometric mean"},
      {"K_agm", "1", "list: K(k), printed F(k), by the arithmetic-geometric mean"},
      {"cycles_agm", "1", "list: its cycles"},
      {"E_simpson", "1", "list: E(k) by Simpson's rule"},
      {"K_simpson", "1", "list: K(k) by Simpson's rule"},
      {"intervals_simpson", "1", "list: its intervals"},
      {"E_series", "1", "list: E(k) by the power series"},
      {"K_series", "1", "list: K(k) by the power series"},
      {"terms_series", "1", "list: its terms"},
      {"k_derivatives", "1", "list: k of each row with derivatives (0 < k < 1)"},
      {"dK_dk", "1", "list: dK/dk, closed form"},
      {"dE_dk", "1", "list: dE/dk, closed form"},
      {"k_differences", "1", "list: k of each row with forward differences"},
      {"dK_dk_diff", "1", "list: dK/dk, forward difference"},
      {"dE_dk_diff", "1", "list: dE/dk, forward difference"},
      {"E_agm_Pi", "1", "list: E(k) computed with II(k,c)"},
      {"K_agm_Pi", "1", "list: K(k) computed with II(k,c)"},
      {"Pi_agm", "1", "list: II(k,c) by the arithmetic-geometric mean"},
      {"cycles_Pi", "1", "list: its cycles"},
      {"Pi_simpson", "1", "list: II(k,c) by Simpson's rule"},
      {"intervals_Pi_simpson", "1", "list: its intervals"},
  };
  return defs;
}

const std::vector<ValueDef>& IncompleteIntegralsValueDefs() {
  static const std::vector<ValueDef> defs = {
      {"arcsin_k", "deg", "list, one per row: the modular angle, k = sin(arcsin_k)"},
      {"phi", "deg", "list: the amplitude phi"},
      {"F", "1", "list: F(k,phi)"},
      {"E", "1", "list: E(k,phi)"},
      {"Lambda", "1", "list: Heuman's Lambda A(k,phi)"},
  };
  return defs;
}

ArgumentRange::ArgumentRange(Extended a, Extended z, std::int32_t n)
    : a_(a), d_(n > 1 ? (z - a) / static_cast<Extended>(n - 1) : 0.0L), n_(n < 0 ? 0 : n) {}

namespace {

// The forward-difference step of the derivative check.
constexpr Extended kDerivativeStep = 1e-8L;

struct Reader {
  const FieldValues& fields;
  const std::vector<FieldDef>& defs;
  Extended Real(const char* name) const { return ReadNumber(FieldText(fields, defs, name)); }
  std::int32_t Whole(const char* name) const {
    return ReadInteger(FieldText(fields, defs, name));
  }
  bool Checked(const char* name) const { return FieldChecked(fields, defs, name); }
};

// The numbers of a table's lines, one list per kind of number, each in the order of
// the lines that print it.
class Columns {
 public:
  void Push(const std::string& key, const char* unit, Extended v) {
    for (auto& [name, column] : columns_)
      if (name == key) {
        column.numbers.push_back(v);
        return;
      }
    columns_.push_back({key, {unit, {v}}});
  }
  // The lists, in the order their keys first came.
  Result Lists() {
    Result result;
    for (auto& [name, column] : columns_)
      result.AddList(name, column.unit, std::move(column.numbers));
    columns_.clear();
    return result;
  }

 private:
  struct Column {
    std::string unit;
    std::vector<Extended> numbers;
  };
  std::vector<std::pair<std::string, Column>> columns_;
};

// The numbers of a KELine: E, K and the count, under E + tail, K + tail and count.
void KEValues(Columns& out, const std::string& tail, const EllipticResult& r, const char* count) {
  out.Push("E" + tail, "1", r.EllE);
  out.Push("K" + tail, "1", r.EllK);
  out.Push(count, "1", r.EllCycles);
}

// "E(k)=... F(k)=... (n" after the method's letter; K is the integral of the first
// kind, labelled F(k).
std::string KELine(const char* method, const EllipticResult& r, const char* count) {
  return std::string(method) + "E(k)=" + FixedStr(r.EllE, 17, 15) +
         " F(k)=" + FixedStr(r.EllK, 17, 15) + " (" + IntStr(r.EllCycles) + count;
}

// With k*k and c*c entered, the modulus is the square root. Both ends of such a range
// are at least 0 (negative entries are refused), so a value below 0 can only be the
// rounding residue of the repeated additions on a range that ends at 0: it stands
// for 0.
Extended ModulusOf(Extended entry, bool squared) {
  if (!squared) return entry;
  return entry > 0 ? std::sqrt(entry) : 0.0L;
}

// Legendre's derivatives (Byrd & Friedman 710.00, 710.02):
//   dK/dk = (E - k'^2 K)/(k'^2 k),  dE/dk = (E - K)/k,
// against forward differences of the AGM values with the step k + 1e-8 - k as it is
// represented.
void DerivativeLines(ReportSink& report, Extended kk, Extended k, Columns& out) {
  if (kk == 0 || kk == 1) {
    ReportLine(report, "Invalid modulus for derivatives");
    return;
  }
  const EllipticResult r = EllipticKE(kk);
  const Extended K = r.EllK;
  const Extended E = r.EllE;
  const Extended kp = std::sqrt(1 - kk * kk);
  const Extended dK = (E - kp * kp * K) / (kp * kp * kk);
  const Extended dE = (E - K) / kk;
  ReportLine(report, "a) dK/dk=" + FixedStr(dK, 17, 15));
  ReportLine(report, "a) dE/dk=" + FixedStr(dE, 17, 15));
  out.Push("k_derivatives", "1", k);
  out.Push("dK_dk", "1", dK);
  out.Push("dE_dk", "1", dE);
  const Extended next = kk + kDerivativeStep;
  if (!(next < 1)) {
    // K has its logarithmic singularity at 1: there is no value to difference with.
    ReportLine(report, "No forward difference: k+1e-8 is not smaller than 1");
    return;
  }
  const EllipticResult r2 = EllipticKE(next);
  const Extended step = next - kk;
  const Extended dKdiff = (r2.EllK - K) / step;
  const Extended dEdiff = (r2.EllE - E) / step;
  ReportLine(report, "dK/dk=~" + FixedStr(dKdiff, 17, 15));
  ReportLine(report, "dE/dk=~" + FixedStr(dEdiff, 17, 15));
  out.Push("k_differences", "1", k);
  out.Push("dK_dk_diff", "1", dKdiff);
  out.Push("dE_dk_diff", "1", dEdiff);
}

struct CompleteOptions {
  bool agm, simpson, series, derivatives, squared;
  CompleteItems item;
};

// The lines of one modulus in the "K and E" item; k as entered, kk the modulus.
void KEBlock(ReportSink& report, const CompleteOptions& o, Extended k, Extended kk,
             Columns& out) {
  ReportLine(report, "k=" + FixedStr(k, 12, 10));
  out.Push("k", "1", k);
  if (o.agm) {
    const EllipticResult r = EllipticKE(kk);
    ReportLine(report, KELine("a)", r, " cycles)"));
    KEValues(out, "_agm", r, "cycles_agm");
  }
  if (o.simpson) {
    const EllipticResult r = EllipticKESimpson(kk);
    ReportLine(report, KELine("b)", r, " intervals)"));
    KEValues(out, "_simpson", r, "intervals_simpson");
  }
  if (o.series) {
    const EllipticResult r = EllipticKESeries(kk);
    ReportLine(report, KELine("c)", r, " terms)"));
    KEValues(out, "_series", r, "terms_series");
  }
  if (o.derivatives) DerivativeLines(report, kk, k, out);
}

// The lines of one pair (k, c) in the items with the third kind.
void PiBlock(ReportSink& report, const CompleteOptions& o, Extended k, Extended kk, Extended c,
             Extended cc, Columns& out) {
  ReportLine(report, "k=" + FixedStr(k, 12, 10) + " c=" + FixedStr(c, 12, 10));
  out.Push("k", "1", k);
  out.Push("c", "1", c);
  const bool withKE = o.item == CompleteItems::KEPi;
  if (withKE) {
    const EllipticResult ke = EllipticKE(kk);
    ReportLine(report, KELine("a)", ke, " cycles, K, E only)"));
    KEValues(out, "_agm", ke, "cycles_agm");
  }
  const EllipticResult r = EllipticKEPi(kk, cc);
  if (withKE) {
    ReportLine(report, KELine("a)", r, " cycles, K, E, II)"));
    out.Push("E_agm_Pi", "1", r.EllE);
    out.Push("K_agm_Pi", "1", r.EllK);
  }
  ReportLine(report,
             "a)II(k,c)=" + FixedStr(r.EllPi, 17, 15) + " (" + IntStr(r.EllCycles) + " cycles)");
  out.Push("Pi_agm", "1", r.EllPi);
  out.Push("cycles_Pi", "1", r.EllCycles);
  if (o.simpson) {
    const PiSimpsonResult s = PiSimpson(kk, cc);
    ReportLine(report, "b)II(k,c)=" + FixedStr(s.EllPi, 17, 15) + " (" + IntStr(s.EllCycles) +
                           " intervals)");
    out.Push("Pi_simpson", "1", s.EllPi);
    out.Push("intervals_Pi_simpson", "1", s.EllCycles);
  }
}

const char* const kNegativeCount = "The numbers of values must not be negative";
// A table stopped between two rows, as a stopped sum of the main window ends.
const char* const kInterrupted = "Interrupted";

// The bounds on the size of a table, checked before its first row: the refusal (its
// line written) of a table too large, or nothing.
std::optional<Result> TableSizeRefusal(ReportSink& report, std::int64_t rows, bool integrated) {
  const std::int64_t limit = integrated ? kMaxIntegratedRows : kMaxTableRows;
  if (rows <= limit) return std::nullopt;
  return Refusal(report, std::string(integrated ? "Too many values for numerical integration (max="
                                                : "Too many values in the table (max=") +
                             IntStr(static_cast<std::int32_t>(limit)) + ")");
}

Result CompleteTable(const FieldValues& fields, ReportSink& report, const CommandEnv& env) {
  const Reader in{fields, CompleteIntegralsFieldDefs()};
  const Extended k1 = in.Real("Ek1");
  const Extended k2 = in.Real("Ek2");
  const std::int32_t nk = in.Whole("Enk");
  const Extended c1 = in.Real("Ec1");
  const Extended c2 = in.Real("Ec2");
  const std::int32_t nc = in.Whole("Enc");
  if (!(std::fabs(k1) < 1) || !(std::fabs(k2) < 1) || !(std::fabs(c1) < 1) ||
      !(std::fabs(c2) < 1))
    return Refusal(report, "The arguments must be smaller than 1");
  const std::int32_t index = in.Whole("RG123");
  const CompleteOptions o{in.Checked("Cbagm"),
                          in.Checked("CBSimpson"),
                          in.Checked("CBserie"),
                          in.Checked("CBdt"),
                          in.Checked("CBk2c2"),
                          index == 1   ? CompleteItems::KEPi
                          : index == 2 ? CompleteItems::PiOnly
                                       : CompleteItems::KE};
  // A negative k*k has no real square root, hence no modulus.
  if (o.squared && (k1 < 0 || k2 < 0 || c1 < 0 || c2 < 0))
    return Refusal(report, "The arguments k^2 and c^2 must not be negative");
  ReportLine(report, "Testing evaluation methods for complete elliptic integrals:");
  if (nk < 0 || (o.item != CompleteItems::KE && nc < 0)) return Refusal(report, kNegativeCount);

  const std::int64_t rows =
      o.item == CompleteItems::KE ? std::int64_t{nk} : std::int64_t{nk} * std::int64_t{nc};
  if (auto refused = TableSizeRefusal(report, rows, o.simpson)) return *refused;

  const ArgumentRange ks(k1, k2, nk);
  const ArgumentRange cs(c1, c2, nc);
  Columns out;
  Extended k = ks.First();
  for (std::int32_t i = 0; i < ks.Count(); ++i) {
    if (env.StopRequested()) return Refusal(report, kInterrupted);
    const Extended kk = ModulusOf(k, o.squared);
    if (o.item == CompleteItems::KE) {
      KEBlock(report, o, k, kk, out);
    } else {
      Extended c = cs.First();
      for (std::int32_t j = 0; j < cs.Count(); ++j) {
        if (j > 0 && env.StopRequested()) return Refusal(report, kInterrupted);
        PiBlock(report, o, k, kk, c, ModulusOf(c, o.squared), out);
        c = c + cs.Step();
      }
    }
    k = k + ks.Step();
  }
  return out.Lists();
}

Result IncompleteTable(const FieldValues& fields, ReportSink& report, const CommandEnv& env) {
  ReportLine(report, "Testing incomplete elliptic integrals (numerical integration):");
  const Reader in{fields, IncompleteIntegralsFieldDefs()};
  const Extended a1 = in.Real("Eask1");
  const Extended a2 = in.Real("Eask2");
  const std::int32_t na = in.Whole("Enask");
  const Extended p1 = in.Real("Ephi1");
  const Extended p2 = in.Real("Ephi2");
  const std::int32_t np = in.Whole("Enp");
  if (!(std::fabs(a1) < 90) || !(std::fabs(a2) < 90) || !(std::fabs(p1) < 90) ||
      !(std::fabs(p2) < 90))
    return Refusal(report, "The angles must be smaller than 90 degrees");
  if (na < 0 || np < 0) return Refusal(report, kNegativeCount);
  const bool FeE = in.Checked("CBFeE");
  const bool lambda = in.Checked("CBh");
  if (auto refused = TableSizeRefusal(report, std::int64_t{na} * std::int64_t{np}, FeE || lambda))
    return *refused;

  const ArgumentRange alphas(a1, a2, na);
  const ArgumentRange phis(p1, p2, np);
  Columns out;
  Extended alpha = alphas.First();
  for (std::int32_t i = 0; i < alphas.Count(); ++i) {
    Extended phi = phis.First();
    for (std::int32_t j = 0; j < phis.Count(); ++j) {
      if (env.StopRequested()) return Refusal(report, kInterrupted);
      ReportLine(report, "arcsin(k)=" + FixedStr(alpha, 5, 2) + "; phi=" + FixedStr(phi, 5, 2) +
                             " (degrees):");
      out.Push("arcsin_k", "deg", alpha);
      out.Push("phi", "deg", phi);
      if (FeE) {
        const IncompleteResult r = IncompleteFE(std::sin(alpha * kPi / 180), phi * kPi / 180);
        ReportLine(report, "F(k,phi)=" + FixedStr(r.EllFphi, 19, 17) +
                               "; E(k,phi)=" + FixedStr(r.EllEphi, 19, 17));
        out.Push("F", "1", r.EllFphi);
        out.Push("E", "1", r.EllEphi);
      }
      if (lambda) {
        const Extended A = HeumanLambda(std::sin(alpha * kPi / 180), phi * kPi / 180);
        ReportLine(report, "A(k,phi)=" + FixedStr(A, 19, 17));
        out.Push("Lambda", "1", A);
      }
      phi = phi + phis.Step();
    }
    alpha = alpha + alphas.Step();
  }
  return out.Lists();
}

}  // namespace

Result CompleteIntegralsCommand(const FieldValues& fields, CommandEnv& env) {
  return CompleteTable(fields, env.Report(), env);
}

Result IncompleteIntegralsCommand(const FieldValues& fields, CommandEnv& env) {
  return IncompleteTable(fields, env.Report(), env);
}

}  // namespace quor::elliptic_test
