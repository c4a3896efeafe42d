#include "mainwindow/rating_spread.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <map>
#include <numbers>

#include "model/prompts.h"

namespace tarnel {

namespace {

using Complex = std::complex<double>;

// `count` dice of `sides` sides, each taken as 0..sides-1.
struct DiceGroup {
  std::int64_t count;
  std::int64_t sides;
};

// Work of the die-by-die convolution above which the transform is used.
constexpr std::int64_t kDirectWork = std::int64_t{1} << 22;
// The chance left outside the transform's window, and what counts as none
// of it in the transform (far below a double's resolution of 1).
constexpr double kOutsideWindow = 1e-18;
constexpr double kNegligibleLog = 92.1;  // ln 1e40
// The transform's rounding leaves noise of some 1e-15 of its largest value
// on every value; chances below this share of the largest are noise, not
// figures, and count as none.
constexpr double kTransformResolution = 1e-12;

// exp(2 pi i k / n) for k < n / 2, kept per size: the window asks for the
// same few sizes again and again while a field is typed.
const std::vector<Complex>& roots(std::size_t n) {
  static std::map<std::size_t, std::vector<Complex>> cache;
  auto& table = cache[n];
  if (table.empty()) {
    table.resize(n / 2);
    for (std::size_t k = 0; k < n / 2; ++k)
      table[k] = std::polar(1.0, 2 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(n));
  }
  return table;
}

// a * b multiplied out: std::complex's operator* guards against infinities
// and NaNs at several times the cost.
Complex times(Complex a, Complex b) {
  return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

// In-place inverse discrete Fourier transform (without the 1/n), n a power
// of two.
void inverseFft(std::vector<Complex>& a) {
  const std::size_t n = a.size();
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  const auto& w = roots(n);
  for (std::size_t len = 2; len <= n; len <<= 1) {
    const std::size_t half = len / 2;
    const std::size_t stride = n / len;
    for (std::size_t i = 0; i < n; i += len) {
      for (std::size_t j = 0; j < half; ++j) {
        const Complex u = a[i + j];
        const Complex v = times(a[i + j + half], w[j * stride]);
        a[i + j] = u + v;
        a[i + j + half] = u - v;
      }
    }
  }
}

// The real sequence whose spectrum (Hermitian, n a power of two) is given,
// divided by n, negative rounding noise set to 0. Its even and odd members
// come out of one transform of half the size, as real and imaginary parts.
std::vector<double> realInverse(const std::vector<Complex>& x) {
  const std::size_t n = x.size();
  std::vector<double> out(n);
  if (n == 1) {
    out[0] = x[0].real();
    return out;
  }
  const std::size_t half = n / 2;
  const auto& w = roots(n);
  std::vector<Complex> z(half);
  for (std::size_t k = 0; k < half; ++k) {
    const Complex a = x[k] + x[k + half];
    const Complex b = times(x[k] - x[k + half], w[k]);
    z[k] = {a.real() - b.imag(), a.imag() + b.real()};  // a + i b
  }
  inverseFft(z);
  const double scale = 1 / static_cast<double>(n);
  for (std::size_t m = 0; m < half; ++m) {
    out[2 * m] = std::max(0.0, z[m].real() * scale);
    out[2 * m + 1] = std::max(0.0, z[m].imag() * scale);
  }
  return out;
}

// The chances of 0, 1, ... for the sum of the groups, die by die.
std::vector<double> convolveDice(const std::vector<DiceGroup>& groups) {
  std::vector<double> p{1.0};
  for (const DiceGroup& g : groups) {
    const auto m = static_cast<std::size_t>(g.sides);
    const double share = 1.0 / static_cast<double>(m);
    for (std::int64_t k = 0; k < g.count; ++k) {
      std::vector<double> q(p.size() + m - 1, 0.0);
      for (std::size_t n = 0; n < p.size(); ++n) {
        const double part = p[n] * share;
        for (std::size_t j = 0; j < m; ++j) q[n + j] += part;
      }
      p.swap(q);
    }
  }
  return p;
}

// The chances of z0, z0 + 1, ..., z0 + n - 1 for the sum of the groups, whose
// values run from 0 to width - 1. Each die's characteristic function about
// its centre is the real sin(m x) / (m sin x), x = omega / 2; their product,
// moved to the window's start, is transformed back once. Frequencies where
// the bound 1 / (m sin x)^count makes the product negligible stay 0.
std::vector<double> transformDice(const std::vector<DiceGroup>& groups, std::int64_t width, std::int64_t z0,
                                  std::size_t n) {
  double dice = 0, logSides = 0;
  for (const DiceGroup& g : groups) {
    dice += static_cast<double>(g.count);
    logSides += static_cast<double>(g.count) * std::log(static_cast<double>(g.sides));
  }
  const double half = static_cast<double>(n / 2);
  double cutoff = half + 1;
  const double lowestSin = std::exp((kNegligibleLog - logSides) / dice);
  if (lowestSin < 1) cutoff = std::ceil(std::asin(lowestSin) * static_cast<double>(n) / std::numbers::pi) + 1;

  const double shift = static_cast<double>(z0) - static_cast<double>(width - 1) / 2;
  std::vector<Complex> spectrum(n, Complex(0));
  const auto last = static_cast<std::size_t>(std::min(cutoff, half));
  for (std::size_t k = 0; k <= last; ++k) {
    const double x = std::numbers::pi * static_cast<double>(k) / static_cast<double>(n);
    double r = 1;
    if (k > 0) {
      for (const DiceGroup& g : groups) {
        const double m = static_cast<double>(g.sides);
        r *= std::pow(std::sin(m * x) / (m * std::sin(x)), static_cast<double>(g.count));
      }
    }
    // r is negative where an odd count of dice meets a negative sine ratio:
    // the value is built from its parts, as std::polar takes no such radius.
    const double angle = 2 * x * shift;
    const Complex value(r * std::cos(angle), r * std::sin(angle));
    spectrum[k] = value;
    if (k > 0 && k < n - k) spectrum[n - k] = std::conj(value);
  }
  return realInverse(spectrum);
}

std::int64_t clampValue(std::int64_t v, int min, int max) {
  if (v > max) v = max;
  if (v < min) v = min;
  return v;
}

}  // namespace

double RatingSpread::at(std::int64_t value) const {
  if (value < first || value > last()) return 0;
  return probability[static_cast<std::size_t>(value - first)];
}

std::optional<RatingSpread> ratingSpread(const RollFormula& f) {
  // Each die is 1 + (0..m-1). The minus dice's sum is as likely as its
  // mirror, so Base + plus - minus = lowest + (the two sums added), with
  // lowest = Base + d - d1 x m1.
  auto sidesOf = [](int s) { return s == 0 ? std::int64_t{1} : std::abs(std::int64_t{s}); };
  const std::int64_t d = std::max(0, f.d), d1 = std::max(0, f.d1);
  const std::int64_t m = sidesOf(f.s), m1 = sidesOf(f.s1);
  std::vector<DiceGroup> groups;
  for (const DiceGroup g : {DiceGroup{d, m}, DiceGroup{d1, m1}})
    if (g.count > 0 && g.sides > 1) groups.push_back(g);
  const std::int64_t lowest = f.base + d - d1 * m1;

  // Sizes in floating point first: counts and sides up to 2^31 overflow
  // any integer before the window rules such a formula out.
  double widthD = 1, work = 0, spread = 0;
  for (const DiceGroup& g : groups) {
    const auto count = static_cast<double>(g.count), faces = static_cast<double>(g.sides - 1);
    widthD += count * faces;
    spread += count * faces * faces;
    work += count * (faces + 1);
  }

  std::vector<double> p;
  std::int64_t z0 = 0;
  if (work * widthD <= static_cast<double>(kDirectWork)) {
    p = convolveDice(groups);
  } else {
    // Hoeffding: less than kOutsideWindow of the chance lies farther than t
    // from the centre.
    const double t = std::sqrt(spread * std::log(2 / kOutsideWindow) / 2);
    const double window = std::min(widthD, 2 * std::ceil(t) + 1);
    if (window > static_cast<double>(kMaxSpreadValues)) return std::nullopt;
    const auto width = static_cast<std::int64_t>(widthD);
    std::size_t n = 1;
    while (static_cast<double>(n) < window) n <<= 1;
    if (static_cast<std::int64_t>(n) < width) z0 = (width - 1) / 2 - static_cast<std::int64_t>(n / 2);
    p = transformDice(groups, width, z0, n);
    const double noise = *std::max_element(p.begin(), p.end()) * kTransformResolution;
    for (double& x : p)
      if (x < noise) x = 0;
    if (z0 == 0) p.resize(static_cast<std::size_t>(std::min<std::int64_t>(width, static_cast<std::int64_t>(n))));
  }

  RatingSpread out;
  const std::int64_t low = lowest + z0;
  out.first = clampValue(low, f.min, f.max);
  out.probability.assign(
      static_cast<std::size_t>(clampValue(low + static_cast<std::int64_t>(p.size()) - 1, f.min, f.max) - out.first + 1),
      0.0);
  for (std::size_t k = 0; k < p.size(); ++k)
    out.probability[static_cast<std::size_t>(clampValue(low + static_cast<std::int64_t>(k), f.min, f.max) - out.first)] +=
        p[k];

  double total = 0;
  for (double x : out.probability) total += x;
  double mean = 0;
  std::size_t best = 0;
  for (std::size_t k = 0; k < out.probability.size(); ++k) {
    out.probability[k] /= total;
    mean += out.probability[k] * static_cast<double>(out.first + static_cast<std::int64_t>(k));
    if (out.probability[k] > out.probability[best]) best = k;
  }
  out.mean = mean;
  out.mostLikely = out.first + static_cast<std::int64_t>(best);
  out.atMin = out.at(f.min);
  out.atMax = out.at(f.max);
  return out;
}

RowSpread rowSpread(RollRow row, const RollFields& fields) {
  RollFormula f;
  try {
    const RollDice x = convertRollDice(fields);
    f.d = x.d;
    f.s = x.s;
    f.d1 = x.d1;
    f.s1 = x.s1;
    f.min = x.min;
    f.max = x.max;
    f.base = toInt(fields.base);
  } catch (const ConversionError& e) {
    return {std::nullopt, e.what()};
  }
  if (std::string tooMany = tooManyDiceText(row, f.d, f.d1); !tooMany.empty()) return {std::nullopt, tooMany};
  RowSpread out{ratingSpread(f), {}};
  if (!out.spread)
    out.text = "Too wide to chart: more than " + std::to_string(kMaxSpreadValues) + " values.";
  return out;
}

}  // namespace tarnel
