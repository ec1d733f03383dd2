// The closed-loop poles of the ticked functions as one parameter runs over a range: branches,
// crossings of the imaginary axis, stability intervals, the poles at the current value.
#include "analysis/locus.h"

#include <Eigen/Core>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include "analysis/companion_solver.h"

#include "analysis/curves.h"
#include "expression/coefficients.h"

namespace tv {

namespace {

using Complex = std::complex<double>;

// The first sampling, before any step is halved.
constexpr int kFirstSteps = 64;
// A step is halved while a root moves more than this share of the view.
constexpr double kMoveShare = 1.0 / 200;
// Halvings of one first step, and samples in all, at most.
constexpr int kMaxHalvings = 14;
constexpr std::size_t kMaxSamples = 6000;
// Bounds are refined to this much of their value.
constexpr double kRelativeBound = 1e-10;
// A root farther than this many times the typical root from the origin is
// on its way to infinity: it does not widen the view.
constexpr double kFarRoot = 10;

// p(z) and p'(z) of a[0] + a[1] z + ... + a[n] z^n.
void Horner(const double* a, int n, Complex z, Complex& p, Complex& d) {
  p = a[n];
  d = 0;
  for (int k = n - 1; k >= 0; --k) {
    d = d * z + p;
    p = p * z + a[k];
  }
}

// Newton's steps on the exact polynomial while they make |p| smaller: the
// eigenvalues of the companion matrix are a few digits short for a
// degree-15 product.
Complex Polish(const double* a, int n, Complex z) {
  Complex p, d;
  Horner(a, n, z, p, d);
  for (int it = 0; it < 4 && p != 0.0 && d != 0.0; ++it) {
    const Complex next = z - p / d;
    Complex pn, dn;
    Horner(a, n, next, pn, dn);
    if (!(std::abs(pn) < std::abs(p))) break;
    z = next;
    p = pn;
    d = dn;
  }
  return z;
}

Polynomial Multiply(const Polynomial& a, const CoefficientSet& b) {
  const int db = Degree(b);
  if (a.empty() || db < 0) return {};
  Polynomial out(a.size() + static_cast<std::size_t>(db), 0.0);
  for (std::size_t i = 0; i < a.size(); ++i)
    for (int j = 0; j <= db; ++j)
      out[i + static_cast<std::size_t>(j)] += a[i] * b[static_cast<std::size_t>(j)];
  return out;
}

void TrimHigh(Polynomial& c) {
  while (!c.empty() && c.back() == 0) c.pop_back();
}

// EvaluateCompiled's coefficients and flag, bit for bit, from the recorded
// reductions: the value of the text of p^k, less that of p^0.
bool EvaluateRecorded(const CompiledText& compiled,
                      const std::array<RecordedReduction, kHighestPower + 1>& recorded,
                      const ParameterValues& params, CoefficientSet& coeffs) {
  coeffs.fill(0.0);
  bool valid = compiled.FormValid;
  for (std::size_t k = 0; k <= kHighestPower; ++k) {
    const Evaluation e =
        compiled.Cut[k] ? ReplayReduction(recorded[k], compiled.Tokens[k], params) : Evaluation{};
    coeffs[k] = k == 0 ? e.Value : e.Value - coeffs[0];
    if (!e.Ok) valid = false;
  }
  if (valid) ReadSmallCoefficients(compiled, params, coeffs);
  return valid;
}

bool ReadsParameter(const CompiledText& text, Parameter p) {
  const auto index = static_cast<std::int8_t>(p);
  for (int k = 0; k <= kHighestPower; ++k) {
    const auto i = static_cast<std::size_t>(k);
    if (!text.Cut[i]) continue;
    const TokenString& t = text.Tokens[i];
    for (int op = 0; op < t.Operands; ++op)
      if (t.Parameter[static_cast<std::size_t>(op)] == index) return true;
  }
  return false;
}

// One sampled value with what the locus needs of it.
struct Point {
  double Value = 0;
  bool Evaluated = false;  // the texts evaluate
  bool Finite = true;      // the coefficients and roots are finite
  int Degree = -1;         // of D + N; -1 when it vanishes identically
  double Lead = 0;         // its coefficient of the highest degree over the range, once known
  Polynomial C;
  std::vector<Complex> Roots;
  bool Ok() const { return Evaluated && Finite && Degree >= 0; }
};

std::vector<std::size_t> Match(const std::vector<Complex>& a, const std::vector<Complex>& b);

// The roots of c found from guesses near them (the roots at a value close
// by), all at once by Aberth's iteration: a few steps where the companion
// matrix's eigenvalues take many times longer. False when it does not
// settle (a multiple root, a pair leaving the real axis), for the solver.
bool RootsFrom(const Polynomial& c, const std::vector<Complex>& guesses,
               std::vector<Complex>& roots) {
  const int n = static_cast<int>(c.size()) - 1;
  if (n < 1 || static_cast<int>(guesses.size()) != n || c[0] == 0) return false;
  for (double v : c)
    if (!std::isfinite(v)) return false;
  roots = guesses;
  const std::size_t count = roots.size();
  std::vector<Complex> step(count);
  // 1/(r_i - r_j) for every pair, each division made once: the one for
  // (j, i) is the same value negated, exactly.
  std::vector<Complex> inverse(count * count);
  double last = std::numeric_limits<double>::infinity();
  for (int it = 0; it < 10; ++it) {
    for (std::size_t i = 0; i < count; ++i)
      for (std::size_t j = i + 1; j < count; ++j) {
        inverse[i * count + j] = 1.0 / (roots[i] - roots[j]);
        inverse[j * count + i] = -inverse[i * count + j];
      }
    // The largest step relative to its root; the iteration has settled when
    // it is at the rounding of the values, or stalls just above it (roots
    // close together are known to fewer digits).
    double largest = 0;
    for (std::size_t i = 0; i < count; ++i) {
      Complex p, d;
      Horner(c.data(), n, roots[i], p, d);
      if (p == 0.0) {
        step[i] = 0;
        continue;
      }
      const Complex w = p / d;
      Complex sum = 0;
      for (std::size_t j = 0; j < count; ++j)
        if (j != i) sum += inverse[i * count + j];
      step[i] = w / (1.0 - w * sum);
      largest = std::max(largest, std::abs(step[i]) / std::max(std::abs(roots[i]), 1e-300));
    }
    for (std::size_t i = 0; i < roots.size(); ++i) roots[i] -= step[i];
    for (const Complex& r : roots)
      if (!std::isfinite(r.real()) || !std::isfinite(r.imag())) return false;
    const bool settled = largest <= 1e-14 || (largest <= 1e-10 && largest > 0.5 * last);
    last = largest;
    if (settled) {
      // What is left of an imaginary part below the step's precision is
      // rounding: the root is real.
      for (Complex& r : roots)
        if (std::abs(r.imag()) <= 1e-9 * std::abs(r)) r = r.real();
      // Distinct roots, as many as the degree: all of them.
      for (std::size_t i = 0; i < roots.size(); ++i)
        for (std::size_t j = i + 1; j < roots.size(); ++j)
          if (std::abs(roots[i] - roots[j]) <= 1e-6 * std::max(std::abs(roots[i]), 1e-300))
            return false;
      return true;
    }
  }
  return false;
}

Point SampleAt(const CharacteristicFamily& family, double v,
               const std::vector<Complex>* guesses = nullptr) {
  Point pt;
  pt.Value = v;
  pt.Evaluated = family.CharacteristicAt(v, pt.C);
  if (!pt.Evaluated) return pt;
  pt.Degree = static_cast<int>(pt.C.size()) - 1;
  if (!guesses || !RootsFrom(pt.C, *guesses, pt.Roots))
    pt.Roots = PolynomialRoots(pt.C, &pt.Finite);
  return pt;
}

// Guesses for a value between a and b: the midpoints of the matched roots.
std::vector<Complex> Between(const Point& a, const Point& b) {
  if (!a.Ok() || !b.Ok() || a.Roots.size() != b.Roots.size()) return a.Ok() ? a.Roots : b.Roots;
  const std::vector<std::size_t> perm = Match(a.Roots, b.Roots);
  std::vector<Complex> mid(a.Roots.size());
  for (std::size_t i = 0; i < mid.size(); ++i) mid[i] = 0.5 * (a.Roots[i] + b.Roots[perm[i]]);
  return mid;
}

int RightCount(const std::vector<Complex>& roots) {
  int n = 0;
  for (const Complex& r : roots)
    if (!(r.real() < 0)) ++n;
  return n;
}

// perm[i]: the root of b that continues root i of a (same counts): each in
// turn takes the nearest root not yet taken. The steps are small beside the
// distances between roots, so that the order does not matter.
std::vector<std::size_t> Match(const std::vector<Complex>& a, const std::vector<Complex>& b) {
  const std::size_t n = a.size();
  std::vector<std::size_t> perm(n, 0);
  std::vector<bool> taken(n, false);
  for (std::size_t i = 0; i < n; ++i) {
    double best = std::numeric_limits<double>::infinity();
    std::size_t at = n;
    for (std::size_t j = 0; j < n; ++j) {
      if (taken[j]) continue;
      const double d = std::norm(a[i] - b[j]);
      if (at == n || d < best) {
        best = d;
        at = j;
      }
    }
    perm[i] = at;
    taken[at] = true;
  }
  return perm;
}

struct View {
  LocusBox Box;
  double Step = 0;  // the largest move a root may make between two samples
  bool Inside(Complex z) const {
    const double mx = 0.1 * (Box.ReMax - Box.ReMin), my = 0.1 * (Box.ImMax - Box.ImMin);
    return z.real() >= Box.ReMin - mx && z.real() <= Box.ReMax + mx && z.imag() >= Box.ImMin - my &&
           z.imag() <= Box.ImMax + my;
  }
};

LocusBox BoxOf(const std::vector<Point>& points) {
  std::vector<double> moduli;
  for (const Point& pt : points)
    if (pt.Ok())
      for (const Complex& r : pt.Roots)
        if (std::abs(r) > 0) moduli.push_back(std::abs(r));
  LocusBox box{0, 0, 0, 0};
  if (moduli.empty()) return LocusBox{};
  std::nth_element(moduli.begin(), moduli.begin() + static_cast<std::ptrdiff_t>(moduli.size() / 2),
                   moduli.end());
  const double far = kFarRoot * moduli[moduli.size() / 2];
  for (const Point& pt : points)
    if (pt.Ok())
      for (const Complex& r : pt.Roots) {
        if (std::abs(r) > far) continue;
        box.ReMin = std::min(box.ReMin, r.real());
        box.ReMax = std::max(box.ReMax, r.real());
        box.ImMin = std::min(box.ImMin, r.imag());
        box.ImMax = std::max(box.ImMax, r.imag());
      }
  // Conjugate roots: the box is symmetric about the real axis.
  const double im = std::max(-box.ImMin, box.ImMax);
  box.ImMin = -im;
  box.ImMax = im;
  const double span = std::max(box.ReMax - box.ReMin, box.ImMax - box.ImMin);
  if (!(span > 0)) return LocusBox{};
  return box;
}

bool NeedsHalving(const Point& a, const Point& b, const View& view) {
  if (a.Ok() != b.Ok()) return true;
  if (!a.Ok()) return false;
  if (a.Roots.size() != b.Roots.size()) return true;
  const std::vector<std::size_t> perm = Match(a.Roots, b.Roots);
  for (std::size_t i = 0; i < perm.size(); ++i) {
    const Complex ra = a.Roots[i], rb = b.Roots[perm[i]];
    if ((view.Inside(ra) || view.Inside(rb)) && std::abs(ra - rb) > view.Step) return true;
  }
  return false;
}

void Refine(const CharacteristicFamily& family, const Point& a, const Point& b, int depth,
            const View& view, std::vector<Point>& out) {
  if (depth >= kMaxHalvings || out.size() >= kMaxSamples) return;
  if (!NeedsHalving(a, b, view)) return;
  const double mid = 0.5 * (a.Value + b.Value);
  if (!(mid > a.Value && mid < b.Value)) return;
  const std::vector<Complex> guesses = Between(a, b);
  const Point m = SampleAt(family, mid, &guesses);
  Refine(family, a, m, depth + 1, view, out);
  out.push_back(m);
  Refine(family, m, b, depth + 1, view, out);
}

// The boundary between lo, where test gives its value at lo, and hi, where
// it does not, to kRelativeBound of its value, or to 1e-15 of the range
// when it is 0: then the end that never moved is the boundary itself.
template <typename Test>
double Bisect(double lo, double hi, double range, Test test) {
  const bool atLo = test(lo);
  const double lo0 = lo, hi0 = hi;
  for (int it = 0; it < 200; ++it) {
    const double width = hi - lo;
    if (width <= kRelativeBound * std::max(std::abs(lo), std::abs(hi))) break;
    if (width <= 1e-15 * range) {
      if (lo == lo0) return lo;
      if (hi == hi0) return hi;
      break;
    }
    const double mid = 0.5 * (lo + hi);
    if (!(mid > lo && mid < hi)) break;
    (test(mid) == atLo ? lo : hi) = mid;
  }
  return 0.5 * (lo + hi);
}

int RightCountAt(const CharacteristicFamily& family, double v,
                 const std::vector<Complex>* guesses = nullptr) {
  const Point pt = SampleAt(family, v, guesses);
  return pt.Ok() ? RightCount(pt.Roots) : -1;
}

}  // namespace

std::vector<Complex> PolynomialRoots(const Polynomial& c, bool* finite) {
  if (finite) *finite = true;
  for (double v : c)
    if (!std::isfinite(v)) {
      if (finite) *finite = false;
      return {};
    }
  int degree = static_cast<int>(c.size()) - 1;
  while (degree >= 0 && c[static_cast<std::size_t>(degree)] == 0) --degree;
  if (degree <= 0) return {};
  int low = 0;
  while (c[static_cast<std::size_t>(low)] == 0) ++low;
  std::vector<Complex> roots(static_cast<std::size_t>(low), Complex(0));
  const int n = degree - low;
  const double* a = c.data() + low;
  if (n == 1) {
    roots.emplace_back(-a[0] / a[1]);
  } else if (n > 1) {
    Eigen::VectorXd poly(n + 1);
    for (int k = 0; k <= n; ++k) poly[k] = a[k];
    const CompanionSolver solver(poly);
    // Real roots and the upper root of each pair are polished; the lower
    // ones are their conjugates, so that a pair stays a pair.
    std::vector<Complex> upper;
    for (Eigen::Index k = 0; k < solver.roots().size(); ++k) {
      const Complex r = solver.roots()[k];
      if (r.imag() == 0)
        roots.push_back(Polish(a, n, r));
      else if (r.imag() > 0)
        upper.push_back(Polish(a, n, r));
    }
    for (const Complex& r : upper) {
      roots.push_back(r);
      roots.push_back(std::conj(r));
    }
  }
  for (const Complex& r : roots)
    if (!std::isfinite(r.real()) || !std::isfinite(r.imag())) {
      if (finite) *finite = false;
      return {};
    }
  return roots;
}

CharacteristicFamily::CharacteristicFamily(const DiagramState& s, Parameter p)
    : param_(p), values_(ParametersOf(s)), factors_(TickedFunctions(s)), valid_(true) {
  for (int i : factors_) {
    const auto k = static_cast<std::size_t>(i);
    num_[k] = CompileText(s.NumText[k].View());
    den_[k] = CompileText(s.DenText[k].View());
    CoefficientSet c;
    if (!EvaluateCompiled(num_[k], values_, c) || !EvaluateCompiled(den_[k], values_, c))
      valid_ = false;
    reads_[k] = {ReadsParameter(num_[k], p), ReadsParameter(den_[k], p)};
    if (reads_[k][0] || reads_[k][1]) uses_ = true;
    // A text that does not read the parameter is evaluated once.
    EvaluateCompiled(num_[k], values_, fixed_[k][0]);
    EvaluateCompiled(den_[k], values_, fixed_[k][1]);
    for (std::size_t side = 0; side < 2; ++side) {
      const CompiledText& text = side == 0 ? num_[k] : den_[k];
      if (!reads_[k][side]) continue;
      for (std::size_t power = 0; power <= kHighestPower; ++power)
        if (text.Cut[power])
          recorded_[k][side][power] = RecordReduction(text.Tokens[power], values_);
    }
  }
  // A step of a parameter that only numerators read leaves the open loop's
  // poles where they are: they are solved for once.
  bool denominatorsFixed = valid_;
  Polynomial den{1.0};
  for (int i : factors_) {
    const auto k = static_cast<std::size_t>(i);
    denominatorsFixed = denominatorsFixed && !reads_[k][1];
    den = Multiply(den, fixed_[k][1]);
  }
  if (denominatorsFixed && !factors_.empty()) {
    bool finite = true;
    openPoles_ = PolynomialRoots(den, &finite);
    openFixed_ = finite;
  }
}

void CharacteristicFamily::ProductBuffer::Multiply(const CoefficientSet& b) {
  const int db = Degree(b);
  if (Size == 0 || db < 0) {
    Size = 0;
    return;
  }
  std::array<double, kProductSize> out{};
  for (std::size_t i = 0; i < Size; ++i)
    for (int j = 0; j <= db; ++j)
      out[i + static_cast<std::size_t>(j)] += C[i] * b[static_cast<std::size_t>(j)];
  Size += static_cast<std::size_t>(db);
  C = out;
}

bool CharacteristicFamily::ProductAt(double v, Polynomial& num, Polynomial& den) const {
  ProductBuffer n, d;
  if (!ProductInto(v, n, d)) return false;
  num.assign(n.C.begin(), n.C.begin() + static_cast<std::ptrdiff_t>(n.Size));
  den.assign(d.C.begin(), d.C.begin() + static_cast<std::ptrdiff_t>(d.Size));
  return true;
}

bool CharacteristicFamily::ProductInto(double v, ProductBuffer& num, ProductBuffer& den) const {
  ParameterValues values = values_;
  values.*Info(param_).Value = v;
  num.One();
  den.One();
  for (int i : factors_) {
    const auto k = static_cast<std::size_t>(i);
    CoefficientSet n = fixed_[k][0], d = fixed_[k][1];
    if ((reads_[k][0] && !EvaluateRecorded(num_[k], recorded_[k][0], values, n)) ||
        (reads_[k][1] && !EvaluateRecorded(den_[k], recorded_[k][1], values, d)))
      return false;
    num.Multiply(n);
    den.Multiply(d);
  }
  return true;
}

bool CharacteristicFamily::CharacteristicAt(double v, Polynomial& c) const {
  ProductBuffer num, den;
  if (!ProductInto(v, num, den)) return false;
  std::array<double, kProductSize> sum{};
  const std::size_t size = std::max(num.Size, den.Size);
  for (std::size_t k = 0; k < num.Size; ++k) sum[k] += num.C[k];
  for (std::size_t k = 0; k < den.Size; ++k) sum[k] += den.C[k];
  std::size_t kept = size;
  while (kept > 0 && sum[kept - 1] == 0) --kept;
  c.assign(sum.begin(), sum.begin() + static_cast<std::ptrdiff_t>(kept));
  return true;
}

bool CharacteristicFamily::SameAs(const DiagramState& s, Parameter p) const {
  if (param_ != p || factors_ != TickedFunctions(s)) return false;
  for (const ParameterInfo& info : kParameters)
    if (info.Id != param_ && !(values_.*info.Value == s.*info.Field)) return false;
  for (int i : factors_) {
    const auto k = static_cast<std::size_t>(i);
    if (num_[k].Text != s.NumText[k].View() || den_[k].Text != s.DenText[k].View()) return false;
  }
  return true;
}

std::pair<double, double> DefaultLocusRange(double current) {
  return {0.0, current > 0 ? 100 * current : 100.0};
}

bool StableAt(const CharacteristicFamily& family, double v) { return RightCountAt(family, v) == 0; }

Locus ComputeLocus(const CharacteristicFamily& family, double from, double to) {
  Locus l;
  l.Param = family.Param();
  l.From = from;
  l.To = to;
  if (family.Empty()) return l;
  l.Outcome = LocusOutcome::Invalid;
  if (!family.Valid()) return l;
  l.Outcome = LocusOutcome::Unused;
  if (!family.UsesParameter()) return l;
  if (!(to > from) || !std::isfinite(from) || !std::isfinite(to)) to = from;

  std::vector<Point> first;
  for (int k = 0; k <= kFirstSteps; ++k) {
    const double v = k == kFirstSteps ? to : from + (to - from) * k / kFirstSteps;
    first.push_back(
        SampleAt(family, v, k > 0 && first.back().Ok() ? &first.back().Roots : nullptr));
  }
  if (std::none_of(first.begin(), first.end(), [](const Point& pt) { return pt.Degree >= 0; })) {
    l.Outcome = LocusOutcome::Vanishes;
    return l;
  }
  l.Outcome = LocusOutcome::Drawn;
  // The view comes from the samples, and the samples from the view: a
  // round that widens the view is followed by another at the new scale.
  std::vector<Point> points = std::move(first);
  for (int round = 0; round < 3; ++round) {
    View view;
    view.Box = BoxOf(points);
    view.Step =
        kMoveShare * std::max(view.Box.ReMax - view.Box.ReMin, view.Box.ImMax - view.Box.ImMin);
    std::vector<Point> refined;
    refined.push_back(points[0]);
    for (std::size_t k = 1; k < points.size(); ++k) {
      Refine(family, points[k - 1], points[k], 0, view, refined);
      refined.push_back(points[k]);
    }
    points = std::move(refined);
    const LocusBox now = BoxOf(points);
    const double grow =
        0.1 * std::max(view.Box.ReMax - view.Box.ReMin, view.Box.ImMax - view.Box.ImMin);
    if (now.ReMin >= view.Box.ReMin - grow && now.ReMax <= view.Box.ReMax + grow &&
        now.ImMax <= view.Box.ImMax + grow)
      break;
  }
  l.Box = BoxOf(points);

  // Branch order: each sample's roots follow those of the sample before.
  for (std::size_t k = 1; k < points.size(); ++k) {
    Point& a = points[k - 1];
    Point& b = points[k];
    if (!a.Ok() || !b.Ok() || a.Roots.size() != b.Roots.size()) continue;
    const std::vector<std::size_t> perm = Match(a.Roots, b.Roots);
    std::vector<Complex> ordered(perm.size());
    for (std::size_t i = 0; i < perm.size(); ++i) ordered[i] = b.Roots[perm[i]];
    b.Roots = std::move(ordered);
  }

  const double range = std::max(to - from, std::abs(to));
  const double span = std::max(l.Box.ReMax - l.Box.ReMin, l.Box.ImMax - l.Box.ImMin);
  int maxDegree = -1;
  for (const Point& pt : points) maxDegree = std::max(maxDegree, pt.Degree);
  const auto lead = [&](double v) {
    Polynomial c;
    if (!family.CharacteristicAt(v, c)) return 0.0;
    return c.size() > static_cast<std::size_t>(maxDegree) ? c[static_cast<std::size_t>(maxDegree)]
                                                          : 0.0;
  };

  // The degenerate values, each said once per run of samples.
  for (std::size_t k = 0; k < points.size(); ++k) {
    const Point& pt = points[k];
    const Point* before = k > 0 ? &points[k - 1] : nullptr;
    if (pt.Evaluated && pt.Degree < 0 && (!before || before->Degree >= 0))
      l.Vanishing.push_back(pt.Value);
    if (pt.Evaluated && pt.Degree >= 0 && pt.Degree < maxDegree &&
        (!before || !(before->Degree >= 0 && before->Degree < maxDegree)))
      l.DegreeDrops.push_back(pt.Value);
    if (pt.Evaluated && !pt.Finite && (!before || before->Finite)) l.Overflows.push_back(pt.Value);
    // The leading coefficient changing sign between two samples: the degree
    // drops at one value between them.
    if (before && before->Ok() && pt.Ok() && before->Degree == maxDegree &&
        pt.Degree == maxDegree) {
      const double la = before->C.back(), lb = pt.C.back();
      if ((la < 0) != (lb < 0))
        l.DegreeDrops.push_back(
            Bisect(before->Value, pt.Value, range, [&](double v) { return lead(v) < 0; }));
    }
  }

  // Where the number of roots right of the axis changes: a crossing, or a
  // root through infinity; the stability bounds are among these.
  std::vector<int> right(points.size(), -1);
  for (std::size_t k = 0; k < points.size(); ++k)
    if (points[k].Ok()) right[k] = RightCount(points[k].Roots);
  bool inStable = false;
  StableInterval current;
  for (std::size_t k = 0; k < points.size(); ++k) {
    const bool stable = right[k] == 0;
    double bound = points[k].Value;
    if (k > 0 && right[k] >= 0 && right[k - 1] >= 0 && right[k] != right[k - 1]) {
      const double a = points[k - 1].Value;
      const std::vector<Complex> guesses = Between(points[k - 1], points[k]);
      bound = Bisect(a, points[k].Value, range,
                     [&](double v) { return RightCountAt(family, v, &guesses) == right[k - 1]; });
      const Point at = SampleAt(family, bound);
      if (at.Ok() && !at.Roots.empty()) {
        const Complex nearest = *std::min_element(at.Roots.begin(), at.Roots.end(),
                                                  [](const Complex& x, const Complex& y) {
                                                    return std::abs(x.real()) < std::abs(y.real());
                                                  });
        // A root on the axis; not one passing through infinity, nor the
        // root at 0 a range end starts with.
        const bool onAxis = std::abs(nearest.real()) <= 1e-6 * span;
        const bool atEnd = bound - from <= 1e-12 * range || to - bound <= 1e-12 * range;
        if (onAxis && !atEnd) l.Crossings.push_back({bound, std::abs(nearest.imag())});
      }
    } else if (k > 0) {
      bound = 0.5 * (points[k - 1].Value + points[k].Value);
    }
    if (stable && !inStable) {
      current = StableInterval{};
      current.Low = k == 0 ? from : bound;
      current.LowIncluded = k == 0;
      inStable = true;
    } else if (!stable && inStable) {
      current.High = bound;
      l.Stable.push_back(current);
      inStable = false;
    }
  }
  if (inStable) {
    current.High = to;
    current.HighIncluded = true;
    l.Stable.push_back(current);
  }

  l.Samples.reserve(points.size());
  for (Point& pt : points) l.Samples.push_back({pt.Value, pt.Ok(), std::move(pt.Roots)});
  return l;
}

namespace {

// PolynomialRoots with the last few polynomials' roots kept with their bits:
// a step's closed loop, open-loop poles and zeros are asked for by the locus
// window and again by the read-outs window, and the zeros stay where they are
// when the stepped parameter is read by denominators only. Three, one step's
// worth: a held arrow never comes back to the values of two steps before.
std::vector<Complex> RootsKept(const Polynomial& c, bool* finite) {
  if (c.empty()) return PolynomialRoots(c, finite);
  struct Kept {
    Polynomial C;
    std::vector<Complex> Roots;
    bool Finite = true;
    std::uint64_t Used = 0;  // 0: empty
  };
  thread_local std::array<Kept, 3> kept;
  thread_local std::uint64_t clock = 0;
  ++clock;
  Kept* oldest = &kept[0];
  for (Kept& k : kept) {
    if (k.Used != 0 && k.C.size() == c.size() &&
        std::memcmp(k.C.data(), c.data(), c.size() * sizeof(double)) == 0) {
      k.Used = clock;
      *finite = k.Finite;
      return k.Roots;
    }
    if (k.Used < oldest->Used) oldest = &k;
  }
  oldest->Roots = PolynomialRoots(c, &oldest->Finite);
  oldest->C = c;
  oldest->Used = clock;
  *finite = oldest->Finite;
  return oldest->Roots;
}

// openPoles: those of den when they are known already.
LocusPoles PolesOf(const Polynomial& num, const Polynomial& den,
                   const std::vector<Complex>* openPoles = nullptr) {
  LocusPoles p;
  Polynomial c(std::max(num.size(), den.size()), 0.0);
  for (std::size_t k = 0; k < num.size(); ++k) c[k] += num[k];
  for (std::size_t k = 0; k < den.size(); ++k) c[k] += den[k];
  TrimHigh(c);
  if (c.empty()) return p;
  bool finite = true, open = true, zeros = true;
  p.Closed = RootsKept(c, &finite);
  if (openPoles)
    p.OpenPoles = *openPoles;
  else
    p.OpenPoles = RootsKept(den, &open);
  p.OpenZeros = RootsKept(num, &zeros);
  p.Ok = finite && open && zeros;
  std::sort(p.Closed.begin(), p.Closed.end(), [](const Complex& a, const Complex& b) {
    return a.real() != b.real() ? a.real() > b.real() : a.imag() > b.imag();
  });
  return p;
}

}  // namespace

LocusPoles ComputeLocusPoles(const CharacteristicFamily& family, double value) {
  Polynomial num, den;
  LocusPoles p;
  if (!family.Empty() && family.Valid() && family.ProductAt(value, num, den))
    p = PolesOf(num, den, family.FixedOpenPoles());
  p.Value = value;
  return p;
}

LocusPoles ComputeLocusPoles(const CharacteristicFamily& family, const DiagramState& s) {
  LocusPoles p;
  if (!family.Empty() && family.Valid()) {
    Polynomial num{1.0}, den{1.0};
    for (int i : family.Factors()) {
      num = Multiply(num, s.NumCoeffs[static_cast<std::size_t>(i)]);
      den = Multiply(den, s.DenCoeffs[static_cast<std::size_t>(i)]);
    }
    p = PolesOf(num, den, family.FixedOpenPoles());
  }
  p.Value = ParameterValue(s, family.Param());
  return p;
}

LocusPoles ClosedLoopPolesOf(const DiagramState& s, const std::vector<int>& factors) {
  Polynomial num{1.0}, den{1.0};
  for (int i : factors) {
    num = Multiply(num, s.NumCoeffs[static_cast<std::size_t>(i)]);
    den = Multiply(den, s.DenCoeffs[static_cast<std::size_t>(i)]);
  }
  return factors.empty() ? LocusPoles{} : PolesOf(num, den);
}

Dominance DominantPoles(const std::vector<Complex>& closed) {
  Dominance d;
  if (closed.empty()) return d;
  const Complex first = closed[0];
  d.Poles.push_back(first);
  std::size_t next = 1;
  if (first.imag() != 0 && closed.size() > 1) {
    d.Poles.push_back(closed[1]);
    next = 2;
  }
  if (first.real() < 0 && next < closed.size()) d.Ratio = closed[next].real() / first.real();
  return d;
}

StateLocus ComputeStateLocus(const DiagramState& s, Parameter p,
                             const std::optional<std::pair<double, double>>& range) {
  StateLocus out;
  out.Family = CharacteristicFamily(s, p);
  const double current = ParameterValue(s, p);
  const auto [from, to] = range ? *range : DefaultLocusRange(current);
  out.L = ComputeLocus(out.Family, from, to);
  out.Poles = ComputeLocusPoles(out.Family, current);
  return out;
}

bool NearestLocusValue(const CharacteristicFamily& family, const Locus& locus, Complex z,
                       double* value) {
  const std::vector<LocusSample>& s = locus.Samples;
  double best = std::numeric_limits<double>::infinity(), at = 0;
  std::size_t segment = 0;
  for (std::size_t k = 1; k < s.size(); ++k) {
    if (!s[k - 1].Ok || !s[k].Ok || s[k - 1].Roots.size() != s[k].Roots.size()) continue;
    for (std::size_t i = 0; i < s[k].Roots.size(); ++i) {
      const Complex a = s[k - 1].Roots[i], b = s[k].Roots[i];
      const double length = std::norm(b - a);
      const double t =
          length > 0 ? std::clamp(((z - a) * std::conj(b - a)).real() / length, 0.0, 1.0) : 0.0;
      const double distance = std::abs(a + t * (b - a) - z);
      if (distance < best) {
        best = distance;
        segment = k;
        at = s[k - 1].Value + t * (s[k].Value - s[k - 1].Value);
      }
    }
  }
  if (!std::isfinite(best)) return false;
  // Golden-section search of the nearest root between the samples around it.
  double lo = s[segment > 1 ? segment - 2 : 0].Value;
  double hi = s[std::min(segment + 1, s.size() - 1)].Value;
  const auto distance = [&](double v) {
    const Point pt = SampleAt(family, v);
    double d = std::numeric_limits<double>::infinity();
    for (const Complex& r : pt.Roots) d = std::min(d, std::abs(r - z));
    return d;
  };
  const double ratio = 0.5 * (std::sqrt(5.0) - 1);
  double x1 = hi - ratio * (hi - lo), x2 = lo + ratio * (hi - lo);
  double f1 = distance(x1), f2 = distance(x2);
  for (int it = 0; it < 60 && hi - lo > kRelativeBound * std::max(std::abs(hi), 1e-300); ++it) {
    if (f1 < f2) {
      hi = x2;
      x2 = x1;
      f2 = f1;
      x1 = hi - ratio * (hi - lo);
      f1 = distance(x1);
    } else {
      lo = x1;
      x1 = x2;
      f1 = f2;
      x2 = lo + ratio * (hi - lo);
      f2 = distance(x2);
    }
  }
  const double refined = 0.5 * (lo + hi);
  // The refinement keeps to the point found on the segments when it does
  // not come nearer.
  *value = std::max(0.0, distance(refined) <= distance(at) ? refined : at);
  return true;
}

}  // namespace tv
