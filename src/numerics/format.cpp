#include "numerics/format.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "numerics/arithmetic_fault.h"

namespace quor::numerics {

namespace {

constexpr int kMaxWidth = 255;
constexpr std::uint64_t kTen18 = 1000000000000000000ULL;

constexpr std::uint64_t kTen17 = 100000000000000000ULL;

// Exact scaling of a binary value by a power of ten. A positive finite Extended is
// a = m * 2^E with a 64-bit integer m, so a * 10^p = m * 5^p * 2^(E+p): for p >= 0
// a big-integer product and a binary shift, for p < 0 a quotient by 5^-p checked
// by multiplication. No step rounds, so every printed digit is the true digit.
class BigUnsigned {
 public:
  explicit BigUnsigned(std::uint64_t v) {
    limbs_ = {static_cast<std::uint32_t>(v), static_cast<std::uint32_t>(v >> 32)};
    Trim();
  }
  void Multiply(std::uint64_t f) {
    unsigned __int128 carry = 0;
    for (auto& limb : limbs_) {
      const unsigned __int128 t = static_cast<unsigned __int128>(limb) * f + carry;
      limb = static_cast<std::uint32_t>(t);
      carry = t >> 32;
    }
    for (; carry != 0; carry >>= 32) limbs_.push_back(static_cast<std::uint32_t>(carry));
  }
  void MultiplyPow5(int k) {
    for (; k >= 27; k -= 27) Multiply(7450580596923828125ULL);  // 5^27
    std::uint64_t rest = 1;
    for (; k > 0; --k) rest *= 5;
    Multiply(rest);
  }
  void ShiftLeft(int bits) {
    const auto words = static_cast<std::size_t>(bits / 32);
    const int rest = bits % 32;
    if (rest != 0) Multiply(std::uint64_t{1} << rest);
    limbs_.insert(limbs_.begin(), words, 0U);
  }
  void Add(const BigUnsigned& y) {
    if (limbs_.size() < y.limbs_.size()) limbs_.resize(y.limbs_.size(), 0U);
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
      const std::uint64_t t = carry + limbs_[i] + (i < y.limbs_.size() ? y.limbs_[i] : 0U);
      limbs_[i] = static_cast<std::uint32_t>(t);
      carry = t >> 32;
    }
    if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
  }
  // Bit i (0 = least significant).
  bool Bit(long i) const {
    const auto w = static_cast<std::size_t>(i / 32);
    return w < limbs_.size() && ((limbs_[w] >> (i % 32)) & 1U) != 0;
  }
  // True when any of the bits below position i is set.
  bool AnyBelow(long i) const {
    const auto w = static_cast<std::size_t>(i / 32);
    for (std::size_t j = 0; j < w && j < limbs_.size(); ++j)
      if (limbs_[j] != 0) return true;
    if (w >= limbs_.size() || i % 32 == 0) return false;
    return (limbs_[w] & ((1U << (i % 32)) - 1U)) != 0;
  }
  // The bits from position i upwards; the caller knows they fit in 64 bits.
  std::uint64_t BitsFrom(long i) const {
    std::uint64_t v = 0;
    for (int b = 63; b >= 0; --b) v = (v << 1) | (Bit(i + b) ? 1U : 0U);
    return v;
  }
  friend int Compare(const BigUnsigned& x, const BigUnsigned& y) {
    if (x.limbs_.size() != y.limbs_.size()) return x.limbs_.size() < y.limbs_.size() ? -1 : 1;
    for (std::size_t i = x.limbs_.size(); i-- > 0;)
      if (x.limbs_[i] != y.limbs_[i]) return x.limbs_[i] < y.limbs_[i] ? -1 : 1;
    return 0;
  }

 private:
  void Trim() {
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
  }
  std::vector<std::uint32_t> limbs_;  // little-endian base 2^32
};

struct Scaled {
  std::uint64_t whole = 0;  // floor(a * 10^p)
  int half = -1;            // fraction below (-1), at (0) or above (+1) one half
  std::uint64_t Rounded() const {  // nearest, ties to even
    return whole + ((half > 0 || (half == 0 && (whole & 1) != 0)) ? 1 : 0);
  }
};

// a * 10^p for a positive finite a, with a * 10^p below 2^64.
Scaled ScaleByPow10(Extended a, int p) {
  int binExp = 0;
  const Extended fraction = std::frexp(a, &binExp);  // a = fraction * 2^binExp
  const auto m = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
  const long E = binExp - 64;  // a = m * 2^E exactly
  const long s = E + p;        // the power of two of a * 10^p
  Scaled r;
  if (p >= 0) {
    BigUnsigned x(m);
    x.MultiplyPow5(p);
    if (s >= 0) {
      x.ShiftLeft(static_cast<int>(s));
      r.whole = x.BitsFrom(0);
      return r;
    }
    r.whole = x.BitsFrom(-s);
    r.half = !x.Bit(-s - 1) ? -1 : (x.AnyBelow(-s - 1) ? 1 : 0);
    return r;
  }
  // a * 10^p = num / den with num = m * 2^max(s,0), den = 5^-p * 2^max(-s,0).
  BigUnsigned num(m);
  if (s > 0) num.ShiftLeft(static_cast<int>(s));
  BigUnsigned den(1);
  den.MultiplyPow5(-p);
  if (s < 0) den.ShiftLeft(static_cast<int>(-s));
  // A long double estimate, off by a few units at most, then corrected exactly.
  const Extended estimate = a / std::pow(10.0L, static_cast<Extended>(-p));
  std::uint64_t q = estimate < 1.8e19L ? static_cast<std::uint64_t>(estimate) : 18000000000000000000ULL;
  auto denTimes = [&den](std::uint64_t k) {
    BigUnsigned t = den;
    t.Multiply(k);
    return t;
  };
  while (q > 0 && Compare(denTimes(q), num) > 0) --q;
  while (Compare(denTimes(q + 1), num) <= 0) ++q;
  r.whole = q;
  // The fraction against one half: 2*num against den*(2q + 1).
  num.Multiply(2);
  BigUnsigned mid = denTimes(q);
  mid.Multiply(2);
  mid.Add(den);
  r.half = Compare(num, mid);
  return r;
}

// Decimal exponent of the first significant digit of a positive finite a, and the
// first 18 significant digits of a truncated.
struct Leading {
  int lead = 0;
  std::uint64_t top = 0;  // floor(a * 10^(17 - lead)), in [1e17, 1e18)
};

Leading LeadingDigits(Extended a) {
  Leading l;
  l.lead = static_cast<int>(std::floor(std::log10(a)));
  for (;;) {
    l.top = ScaleByPow10(a, 17 - l.lead).whole;
    if (l.top < kTen17) {
      --l.lead;
    } else if (l.top >= kTen18) {
      ++l.lead;
    } else {
      return l;
    }
  }
}

// Decimal exponent e with a = v * 10^e and v in [1.6, 16): leading digits 10 to 15
// are held as v of 10 or more, the others as v below 10.
int NormalisedExponent(Extended a) {
  const Leading l = LeadingDigits(a);
  return l.top < 16 * (kTen17 / 10) ? l.lead - 1 : l.lead;
}

// The 18 digits of round(v * 1e17) after the optional carry digit "1".
struct DigitString {
  bool carry = false;
  std::string digits;  // exactly 18 characters
};

DigitString Digits18(std::uint64_t n) {
  DigitString s;
  s.carry = n >= kTen18;
  if (s.carry) n -= kTen18;
  s.digits.assign(18, '0');
  for (int i = 17; i >= 0; --i) {
    s.digits[i] = static_cast<char>('0' + n % 10);
    n /= 10;
  }
  return s;
}

// Keeps the first n characters, rounding half-up on the dropped digit; returns true
// when the carry ran out of the leftmost digit.
bool RoundDigitsHalfUp(std::string& s, std::size_t n) {
  if (n >= s.size()) return false;
  const bool up = s[n] >= '5';
  s.resize(n);
  if (!up) return false;
  for (std::size_t i = n; i-- > 0;) {
    if (s[i] != '9') {
      ++s[i];
      return false;
    }
    s[i] = '0';
  }
  return true;
}

std::string PadLeft(std::string s, int width) {
  if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<std::size_t>(width) - s.size(), ' ');
  return s;
}

std::string Scientific(Extended x, int width) {
  const int d = std::clamp(width - 8, 2, 18);
  const Extended a = std::fabs(x);
  std::string sig;
  int exponent = 0;  // decimal exponent of the first significant digit
  if (a == 0) {
    sig.assign(static_cast<std::size_t>(d), '0');
  } else {
    const int e = NormalisedExponent(a);
    const DigitString s = Digits18(ScaleByPow10(a, 17 - e).Rounded());
    sig = s.carry ? "1" + s.digits : s.digits;
    exponent = s.carry ? e + 1 : e;
    if (RoundDigitsHalfUp(sig, static_cast<std::size_t>(d))) {
      sig.insert(sig.begin(), '1');
      sig.pop_back();
      ++exponent;
    }
  }
  std::string text(1, std::signbit(x) ? '-' : ' ');
  text += sig[0];
  text += '.';
  text.append(sig, 1, std::string::npos);
  text += 'E';
  text += exponent < 0 ? '-' : '+';
  std::string expDigits = std::to_string(exponent < 0 ? -exponent : exponent);
  text.append(4 - std::min<std::size_t>(4, expDigits.size()), '0');
  text += expDigits;
  return PadLeft(std::move(text), width);
}

}  // namespace

std::string FixedStr(Extended x, int Width, int Decimals) {
  // The digit extraction may overflow or divide in its estimates; none of that is a
  // fault of the value being printed.
  const FaultFlagsKeeper keepFlags;
  Width = std::min(Width, kMaxWidth);
  if (std::isnan(x)) return PadLeft("Nan", Width);
  if (std::isinf(x)) return PadLeft(x > 0 ? "+Inf" : "-Inf", Width);
  if (Decimals < 0) return Scientific(x, Width);

  const Extended a = std::fabs(x);
  int e = 0;  // values below 10 are not normalised: e = 0, v = a
  if (a >= 10) {
    e = NormalisedExponent(a);
    if (e > 35) return Scientific(x, Width);
  }
  DigitString s = Digits18(a == 0 ? 0 : ScaleByPow10(a, 17 - e).Rounded());

  const long long wanted = static_cast<long long>(e) + 1 + Decimals;
  if (wanted >= 18) {
    s.digits.append(static_cast<std::size_t>(wanted - 18), '0');
  } else if (RoundDigitsHalfUp(s.digits, static_cast<std::size_t>(wanted))) {
    s.carry = true;  // v below 10 before rounding, so no carry digit was present
  }

  const auto intDigits = static_cast<std::size_t>(e + 1);
  std::string text = std::signbit(x) ? "-" : "";
  if (s.carry) text += '1';
  text.append(s.digits, 0, intDigits);
  if (Decimals > 0) {
    text += '.';
    text.append(s.digits, intDigits, std::string::npos);
  }
  return PadLeft(std::move(text), Width);
}

std::string SciStr(Extended x, int Width) { return FixedStr(x, Width, -1); }

std::string IntStr(std::int32_t n) { return std::to_string(n); }

std::string NumberText(Extended v) {
  const FaultFlagsKeeper keepFlags;
  if (std::isnan(v)) return "Nan";
  if (std::isinf(v)) return v > 0 ? "+Inf" : "-Inf";
  const Extended a = std::fabs(v);
  if (a > 1e-6L && a < 1e6L) {
    std::string t = FixedStr(v, 30, 15);
    t.erase(0, t.find_first_not_of(' '));
    while (!t.empty() && t.back() == '0') t.pop_back();
    if (!t.empty() && t.back() == '.') t.pop_back();
    return t;
  }
  std::string t = FixedStr(v, 23, -1);  // sign, 15 significant digits, E, sign, 4 digits
  if (!t.empty() && t[0] == ' ') t.erase(0, 1);
  const std::size_t ePos = t.find('E');
  std::string mantissa = t.substr(0, ePos);
  const char expSign = t[ePos + 1];
  std::string expDigits = t.substr(ePos + 2);
  while (!mantissa.empty() && mantissa.back() == '0') mantissa.pop_back();
  if (!mantissa.empty() && mantissa.back() == '.') mantissa.pop_back();
  expDigits.erase(0, expDigits.find_first_not_of('0'));
  if (expDigits.empty()) return mantissa;
  return mantissa + 'E' + expSign + expDigits;
}

std::int32_t RoundAtLeastOne(Extended x) {
  // The processor's rounding (nearest, ties to even) into 64 bits; the count keeps
  // the low 32 bits of that integer.
  const long long r = std::llrint(x);
  const auto n = static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<unsigned long long>(r)));
  return n == 0 ? 1 : n;
}

Extended ArcTan2(Extended Y, Extended X) {
  // A negative zero ordinate counts as zero, so the angle stays in (-pi, pi].
  if (Y == 0) Y = 0;
  return std::atan2(Y, X);
}

Extended ArcSin(Extended x) { return ArcTan2(x, std::sqrt(1 - x * x)); }

}  // namespace quor::numerics
