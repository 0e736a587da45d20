#include "core/rotation/RotatedSpectra.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <numbers>
#include <sstream>
#include <thread>

#include "core/analysis/OscillatorIntegrators.h"
#include "core/rotation/RotatedGroups.h"
#include "core/rotation/RotationKernels.h"

namespace travik {
namespace {

using rotation::RotationPeaks;

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

// PercentileOf of values sorted in ascending order.
double PercentileOfSorted(const std::vector<double>& values, double p) {
    if (values.empty()) {
        return 0.0;
    }
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

// The angle of the largest peak (the first, on a tie) and the percentiles.
void Summarise(RotatedPeaks& rotated, const std::vector<double>& percentiles) {
    const auto largest = std::max_element(rotated.peaks.begin(), rotated.peaks.end());
    rotated.maxAngle = static_cast<int>(largest - rotated.peaks.begin());
    std::vector<double> values(rotated.peaks.begin(), rotated.peaks.end());
    std::sort(values.begin(), values.end());
    rotated.percentiles.clear();
    for (const double p : percentiles) {
        rotated.percentiles.push_back(PercentileOfSorted(values, p));
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

// The pseudo-accelerations (g) of one oscillator's rotated peaks, by the expression the
// single-component spectra use for PSa.
RotatedSpectrumPoint PointOf(const RotationPeaks& state, double period, double g,
                             const std::vector<double>& percentiles) {
    RotatedSpectrumPoint point;
    point.computed = true;
    const double omega = kTwoPi / period;
    const auto toPsa = [&](double sd) { return omega * omega * sd / g; };
    for (std::size_t a = 0; a < kRotationAngles; ++a) {
        point.psa.peaks[a] = toPsa(state.peaks[a]);
    }
    point.psa.h1 = toPsa(state.h1);
    point.psa.h2 = toPsa(state.h2);
    Summarise(point.psa, percentiles);
    return point;
}

// One oscillator integrated by the one-oscillator code, its two displacement histories in
// `u1` and `u2` (the worker's, reused): the route of the methods the vector kernels lack.
RotatedSpectrumPoint ComputePointAlone(const PairInput& in, double zeta, double period,
                                       DOUBLEVECTOR& u1, DOUBLEVECTOR& u2) {
    const AnalysisSettings& s = *in.settings;
    if (!ComputeOscillatorDisplacements(s, *in.h1, in.timeStep, s.g, s.maxDtOverT, zeta, period,
                                        s.method, u1) ||
        !ComputeOscillatorDisplacements(s, *in.h2, in.timeStep, s.g, s.maxDtOverT, zeta, period,
                                        s.method, u2)) {
        return {};
    }
    RotationPeaks state;
    rotation::RaiseSeriesPeaks(u1.data(), u2.data(), u1.size(), state);
    return PointOf(state, period, s.g, *in.percentiles);
}

// Where the work of a group is cut, and what one worker keeps: a block of rows and the
// running peaks of the group's periods.
constexpr std::size_t kBlockRows = 512;

struct GroupWorkspace {
    std::vector<double> storage;
    double* rows = nullptr;
    rotation::GroupPeaks peaks;

    GroupWorkspace() : storage(kBlockRows * rotation::kRowWidth + 8) {
        void* start = storage.data();
        std::size_t space = storage.size() * sizeof(double);
        rows = static_cast<double*>(
            std::align(64, kBlockRows * rotation::kRowWidth * sizeof(double), start, space));
    }
};

// The group's oscillators advanced block by block over the pair, each block's rows
// raising every period's rotated peaks before the next block overwrites them.
void ComputeGroup(const PairInput& in, const RotatedGroupPlan& plan, GroupWorkspace& workspace,
                  RotatedSpectraResult& result) {
    workspace.peaks = rotation::GroupPeaks{};
    const std::size_t rowsPerSample = static_cast<std::size_t>(plan.group.maxSubSteps);
    const std::size_t blockSamples = std::max<std::size_t>(1, kBlockRows / rowsPerSample);
    const std::size_t count = in.h1->size();
    // Integrating twice costs less than raising the peaks in time order: while the motion
    // grows, nearly every sub-step would raise some angle's peak.
    for (const bool seed : {true, false}) {
        rotation::PairGroup group = plan.group;
        for (std::size_t first = 1; first < count; first += blockSamples) {
            const std::size_t samples = std::min(blockSamples, count - first);
            if (seed) {
                rotation::SeedPairGroup(in.h1->data(), in.h2->data(), first, samples,
                                        in.settings->g, group, workspace.peaks);
            } else {
                rotation::AdvancePairGroup(in.h1->data(), in.h2->data(), first, samples,
                                           in.settings->g, group, workspace.rows);
                rotation::RaiseGroupPeaks(workspace.rows, samples, group, workspace.peaks);
            }
        }
    }
    for (std::size_t q = 0; q < plan.group.periods; ++q) {
        const RotatedOscillator& o = plan.oscillators[q];
        RotationPeaks& state = workspace.peaks.periods[q];
        state.h1 = workspace.peaks.h1[q];
        state.h2 = workspace.peaks.h2[q];
        result.damping[o.damping].points[o.period] =
            PointOf(state, result.options.periods[o.period], in.settings->g, *in.percentiles);
    }
}

// Every (damping, period) oscillator, spread over `threads` workers taking the next group
// (or, by the one-oscillator route, the next oscillator) in turn; false when cancelled.
bool ComputeAllPoints(const PairInput& in, RotatedSpectraResult& result, int threads,
                      const std::atomic<bool>* cancel) {
    const std::size_t periods = result.options.periods.size();
    const bool vector = in.settings->method == IntegrationMethod::PiecewiseExact;
    const std::vector<RotatedGroupPlan> plans =
        vector ? PlanRotatedGroups(*in.settings, in.timeStep, result.options.dampingRatios,
                                   result.options.periods, rotation::GroupPeriods())
               : std::vector<RotatedGroupPlan>{};
    const std::size_t total = vector ? plans.size() : periods * result.damping.size();
    std::atomic<std::size_t> next{0};
    // A cancelled run takes no further work: the counter jumps past the end.
    const auto take = [&] {
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
            next = total;
            return total;
        }
        return next++;
    };
    const auto work = [&] {
        if (vector) {
            GroupWorkspace workspace;
            for (std::size_t k = take(); k < total; k = take()) {
                ComputeGroup(in, plans[k], workspace, result);
            }
            return;
        }
        DOUBLEVECTOR u1;
        DOUBLEVECTOR u2;
        for (std::size_t k = take(); k < total; k = take()) {
            RotatedDampingSpectra& spectra = result.damping[k / periods];
            spectra.points[k % periods] = ComputePointAlone(
                in, spectra.dampingRatio, result.options.periods[k % periods], u1, u2);
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
    return cancel == nullptr || !cancel->load(std::memory_order_relaxed);
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
    std::sort(values.begin(), values.end());
    return PercentileOfSorted(values, p);
}

void RotatedPeaksOf(const double* u1, const double* u2, std::size_t count, bool prune,
                    std::array<double, kRotationAngles>& peaks) {
    if (prune) {
        RotationPeaks state;
        rotation::RaiseSeriesPeaks(u1, u2, count, state);
        std::copy_n(state.peaks, kRotationAngles, peaks.begin());
        return;
    }
    const rotation::AngleTable& angles = rotation::RotationAngles();
    peaks.fill(0.0);
    for (std::size_t k = 0; k < count; ++k) {
        for (std::size_t a = 0; a < kRotationAngles; ++a) {
            const double value = std::fabs(angles.c[a] * u1[k] + angles.s[a] * u2[k]);
            // Replaced only by a strictly greater value, as the single-component peaks are.
            peaks[a] = value > peaks[a] ? value : peaks[a];
        }
    }
}

RotatedPeaks RotatePeaks(const DOUBLEVECTOR& h1, const DOUBLEVECTOR& h2,
                         const std::vector<double>& percentiles) {
    RotatedPeaks rotated;
    RotationPeaks state;
    rotation::RaiseSeriesPeaks(h1.data(), h2.data(), std::min(h1.size(), h2.size()), state);
    std::copy_n(state.peaks, kRotationAngles, rotated.peaks.begin());
    rotated.h1 = state.h1;
    rotated.h2 = state.h2;
    Summarise(rotated, percentiles);
    return rotated;
}

std::optional<RotatedSpectraResult> ComputeRotatedSpectra(const AnalysisSettings& settings,
                                                          const TimeHistory& h1,
                                                          const TimeHistory& h2,
                                                          const RotatedSpectraOptions& options,
                                                          const std::atomic<bool>* cancel) {
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
    if (!ComputeAllPoints(in, result, options.threads, cancel)) {
        return std::nullopt;
    }
    for (RotatedDampingSpectra& spectra : result.damping) {
        ChooseGmrotI50(spectra);
        spectra.pgaGmrotI50 =
            GeometricMean(result.pga.peaks, static_cast<std::size_t>(spectra.gmrotI50Angle));
    }
    return result;
}

}  // namespace travik
