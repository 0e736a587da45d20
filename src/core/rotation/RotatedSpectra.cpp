#include "core/rotation/RotatedSpectra.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <numbers>
#include <sstream>
#include <thread>

#include "core/analysis/OscillatorIntegrators.h"

namespace travik {
namespace {

// Pruning compares squared radii with the squared smallest peak; this margin (far above
// the few units in the last place a rotated value can exceed the true radius by rounding)
// keeps a sub-step that might still raise a peak.
constexpr double kPruneMargin = 1.0 - 1e-12;

// Steps of the angle loop between renewals of the pruning floor.
constexpr std::size_t kFloorRenewal = 8;

struct AngleTable {
    std::array<double, kRotationAngles> c{};
    std::array<double, kRotationAngles> s{};
};

// cos and sin of every whole degree, exact at 0 and 90 degrees, so that the rotated
// component there is H1 or H2 itself, digit for digit.
const AngleTable& Angles() {
    static const AngleTable table = [] {
        AngleTable t;
        for (std::size_t a = 0; a < kRotationAngles; ++a) {
            const double radians = static_cast<double>(a) * std::numbers::pi / 180.0;
            t.c[a] = std::cos(radians);
            t.s[a] = std::sin(radians);
        }
        t.c[0] = 1.0;
        t.s[0] = 0.0;
        t.c[90] = 0.0;
        t.s[90] = 1.0;
        return t;
    }();
    return table;
}

// Stretches of an oscillator's history whose largest-radius step seeds the peaks.
constexpr std::size_t kSeedStretches = 64;

// Raises every angle's peak with the rotated values of one pair of displacements.
inline void RaisePeaks(double x, double y, std::array<double, kRotationAngles>& peaks) {
    const AngleTable& angles = Angles();
    for (std::size_t a = 0; a < kRotationAngles; ++a) {
        const double value = std::fabs(angles.c[a] * x + angles.s[a] * y);
        // Replaced only by a strictly greater value, as the single-component peaks are.
        peaks[a] = value > peaks[a] ? value : peaks[a];
    }
}

// The squared smallest peak, less the margin.
double Floor2(const std::array<double, kRotationAngles>& peaks) {
    const double smallest = *std::min_element(peaks.begin(), peaks.end());
    return smallest * smallest * kPruneMargin;
}

std::string Number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

std::optional<std::string> CheckList(const std::vector<double>& values, const char* name,
                                     double low, double high, bool lowIncluded, bool highIncluded) {
    if (values.empty()) {
        return std::string("No ") + name + " given.";
    }
    for (const double value : values) {
        const bool aboveLow = lowIncluded ? value >= low : value > low;
        const bool belowHigh = highIncluded ? value <= high : value < high;
        if (!std::isfinite(value) || !aboveLow || !belowHigh) {
            return std::string("Invalid ") + name + ": " + Number(value) + ".";
        }
    }
    return std::nullopt;
}

// The angle of the largest peak (the first, on a tie) and the percentiles.
void Summarise(RotatedPeaks& rotated, const std::vector<double>& percentiles) {
    const auto largest = std::max_element(rotated.peaks.begin(), rotated.peaks.end());
    rotated.maxAngle = static_cast<int>(largest - rotated.peaks.begin());
    const std::vector<double> values(rotated.peaks.begin(), rotated.peaks.end());
    rotated.percentiles.clear();
    for (const double p : percentiles) {
        rotated.percentiles.push_back(PercentileOf(values, p));
    }
}

double GeometricMean(const std::array<double, kRotationAngles>& peaks, std::size_t angle) {
    return std::sqrt(peaks[angle] * peaks[angle + kRotationAngles / 2]);
}

// GMRotI50 (Boore, Watson-Lamprey & Abrahamson 2006): the one angle of the 90 whose
// geometric means GMRotD(theta, T) stray least from their medians GMRotD50(T) over all
// computed periods, by the mean squared ratio less one; the first such angle on a tie.
void ChooseGmrotI50(RotatedDampingSpectra& spectra) {
    constexpr std::size_t half = kRotationAngles / 2;
    std::array<double, half> penalty{};
    for (const RotatedSpectrumPoint& point : spectra.points) {
        if (!point.computed) {
            continue;
        }
        std::vector<double> means(half);
        for (std::size_t a = 0; a < half; ++a) {
            means[a] = GeometricMean(point.psa.peaks, a);
        }
        const double median = PercentileOf(means, 50.0);
        if (!(median > 0)) {
            continue;
        }
        for (std::size_t a = 0; a < half; ++a) {
            const double spread = means[a] / median - 1.0;
            penalty[a] += spread * spread;
        }
    }
    const auto best = std::min_element(penalty.begin(), penalty.end());
    spectra.gmrotI50Angle = static_cast<int>(best - penalty.begin());
    spectra.gmrotI50.clear();
    for (const RotatedSpectrumPoint& point : spectra.points) {
        spectra.gmrotI50.push_back(
            point.computed
                ? GeometricMean(point.psa.peaks, static_cast<std::size_t>(spectra.gmrotI50Angle))
                : 0.0);
    }
}

struct PairInput {
    const AnalysisSettings* settings = nullptr;
    const DOUBLEVECTOR* h1 = nullptr;
    const DOUBLEVECTOR* h2 = nullptr;
    double timeStep = 0.0;
    const std::vector<double>* percentiles = nullptr;
};

// One oscillator of the pair; `u1` and `u2` are the worker's reused histories.
RotatedSpectrumPoint ComputePoint(const PairInput& in, double zeta, double period, DOUBLEVECTOR& u1,
                                  DOUBLEVECTOR& u2) {
    RotatedSpectrumPoint point;
    const AnalysisSettings& s = *in.settings;
    if (!ComputeOscillatorDisplacements(s, *in.h1, in.timeStep, s.g, s.maxDtOverT, zeta, period,
                                        s.method, u1) ||
        !ComputeOscillatorDisplacements(s, *in.h2, in.timeStep, s.g, s.maxDtOverT, zeta, period,
                                        s.method, u2)) {
        return point;
    }
    point.computed = true;
    std::array<double, kRotationAngles> peaks{};
    RotatedPeaksOf(u1.data(), u2.data(), u1.size(), true, peaks);
    // The same expression the single-component spectra use for PSa.
    const double omega = kTwoPi / period;
    const auto toPsa = [&](double sd) { return omega * omega * sd / s.g; };
    for (std::size_t a = 0; a < kRotationAngles; ++a) {
        point.psa.peaks[a] = toPsa(peaks[a]);
    }
    double sd1 = 0;
    double sd2 = 0;
    for (std::size_t k = 0; k < u1.size(); ++k) {
        sd1 = std::fabs(u1[k]) > sd1 ? std::fabs(u1[k]) : sd1;
        sd2 = std::fabs(u2[k]) > sd2 ? std::fabs(u2[k]) : sd2;
    }
    point.psa.h1 = toPsa(sd1);
    point.psa.h2 = toPsa(sd2);
    Summarise(point.psa, *in.percentiles);
    return point;
}

// Every (damping, period) oscillator, spread over `threads` workers taking the next
// oscillator in turn.
void ComputeAllPoints(const PairInput& in, RotatedSpectraResult& result, int threads) {
    const std::size_t periods = result.options.periods.size();
    const std::size_t total = periods * result.damping.size();
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        DOUBLEVECTOR u1;
        DOUBLEVECTOR u2;
        for (std::size_t k = next++; k < total; k = next++) {
            RotatedDampingSpectra& spectra = result.damping[k / periods];
            spectra.points[k % periods] =
                ComputePoint(in, spectra.dampingRatio, result.options.periods[k % periods], u1, u2);
        }
    };
    if (threads <= 0) {
        threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    }
    threads = std::max(1, std::min(threads, static_cast<int>(total)));
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t) {
        workers.emplace_back(work);
    }
    work();
    for (std::thread& worker : workers) {
        worker.join();
    }
}

}  // namespace

std::optional<std::string> RotatedSpectraOptions::Validate() const {
    if (auto problem = CheckList(dampingRatios, "damping ratio", 0.0, 1.0, true, false)) {
        return problem;
    }
    if (auto problem = CheckList(periods, "period", 0.0, HUGE_VAL, false, false)) {
        return problem;
    }
    return CheckList(percentiles, "percentile", 0.0, 100.0, true, true);
}

double PercentileOf(std::vector<double> values, double p) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const double rank = p / 100.0 * static_cast<double>(values.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(rank));
    const std::size_t above = std::min(below + 1, values.size() - 1);
    const double fraction = rank - static_cast<double>(below);
    if (fraction == 0.0) {
        return values[below];
    }
    if (fraction == 0.5) {
        return (values[below] + values[above]) / 2.0;
    }
    return values[below] + fraction * (values[above] - values[below]);
}

void RotatedPeaksOf(const double* u1, const double* u2, std::size_t count, bool prune,
                    std::array<double, kRotationAngles>& peaks) {
    peaks.fill(0.0);
    if (!prune) {
        for (std::size_t k = 0; k < count; ++k) {
            RaisePeaks(u1[k], u2[k], peaks);
        }
        return;
    }
    // A peak is the largest of a set of values, whatever order they come in: the steps of
    // largest radius in each of a few stretches of the history go first, so that the floor
    // below which steps are skipped is high from the start.
    const std::size_t stretch = std::max<std::size_t>(1, count / kSeedStretches);
    for (std::size_t first = 0; first < count; first += stretch) {
        const std::size_t last = std::min(count, first + stretch);
        std::size_t largest = first;
        double largest2 = -1.0;
        for (std::size_t k = first; k < last; ++k) {
            const double r2 = u1[k] * u1[k] + u2[k] * u2[k];
            if (r2 > largest2) {
                largest2 = r2;
                largest = k;
            }
        }
        RaisePeaks(u1[largest], u2[largest], peaks);
    }
    double floor2 = Floor2(peaks);
    std::size_t sinceFloor = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const double x = u1[k];
        const double y = u2[k];
        if (x * x + y * y < floor2) {
            continue;
        }
        RaisePeaks(x, y, peaks);
        // Peaks only grow, so a floor taken a few steps ago still bounds them from below:
        // it is renewed every few steps the angle loop ran, not at each.
        if (++sinceFloor == kFloorRenewal) {
            sinceFloor = 0;
            floor2 = Floor2(peaks);
        }
    }
}

RotatedPeaks RotatePeaks(const DOUBLEVECTOR& h1, const DOUBLEVECTOR& h2,
                         const std::vector<double>& percentiles) {
    RotatedPeaks rotated;
    const std::size_t count = std::min(h1.size(), h2.size());
    RotatedPeaksOf(h1.data(), h2.data(), count, false, rotated.peaks);
    for (std::size_t k = 0; k < count; ++k) {
        rotated.h1 = std::fabs(h1[k]) > rotated.h1 ? std::fabs(h1[k]) : rotated.h1;
        rotated.h2 = std::fabs(h2[k]) > rotated.h2 ? std::fabs(h2[k]) : rotated.h2;
    }
    Summarise(rotated, percentiles);
    return rotated;
}

std::optional<RotatedSpectraResult> ComputeRotatedSpectra(const AnalysisSettings& settings,
                                                          const TimeHistory& h1,
                                                          const TimeHistory& h2,
                                                          const RotatedSpectraOptions& options) {
    if (options.Validate() || CheckGravity(settings.g) || !(settings.maxDtOverT > 0) ||
        h1.TimeStep() != h2.TimeStep()) {
        return std::nullopt;
    }
    const bool corrected = h1.IsCorrected() && h2.IsCorrected();
    DOUBLEVECTOR a1 = h1.Acceleration(corrected);
    DOUBLEVECTOR a2 = h2.Acceleration(corrected);
    const std::size_t count = std::min(a1.size(), a2.size());
    if (count < 2) {
        return std::nullopt;
    }
    a1.resize(count);
    a2.resize(count);

    RotatedSpectraResult result;
    result.options = options;
    result.settings = settings;
    result.timeStep = h1.TimeStep();
    result.samples = count;
    result.useCorrected = corrected;
    result.pga = RotatePeaks(a1, a2, options.percentiles);
    const DOUBLEVECTOR& v1 = corrected ? h1.CorrectedVelocity() : h1.RawVelocity();
    const DOUBLEVECTOR& v2 = corrected ? h2.CorrectedVelocity() : h2.RawVelocity();
    if (v1.size() >= count && v2.size() >= count) {
        const DOUBLEVECTOR w1(v1.begin(), v1.begin() + static_cast<std::ptrdiff_t>(count));
        const DOUBLEVECTOR w2(v2.begin(), v2.begin() + static_cast<std::ptrdiff_t>(count));
        result.pgv = RotatePeaks(w1, w2, options.percentiles);
    }
    for (const double zeta : options.dampingRatios) {
        RotatedDampingSpectra spectra;
        spectra.dampingRatio = zeta;
        spectra.points.resize(options.periods.size());
        result.damping.push_back(std::move(spectra));
    }
    const PairInput in{&settings, &a1, &a2, result.timeStep, &result.options.percentiles};
    ComputeAllPoints(in, result, options.threads);
    for (RotatedDampingSpectra& spectra : result.damping) {
        ChooseGmrotI50(spectra);
        spectra.pgaGmrotI50 =
            GeometricMean(result.pga.peaks, static_cast<std::size_t>(spectra.gmrotI50Angle));
    }
    return result;
}

}  // namespace travik
