#include "core/analysis/OscillatorIntegrators.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstddef>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <limits>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "core/analysis/OscillatorKernels.h"
#include "core/analysis/OscillatorStreams.h"

namespace travik {
namespace {

// Beyond a million sub-steps per sampling interval a spectrum would take hours; such a
// count only arises from a nonsensical period or ratio, so the run is refused instead.
constexpr double kMaxSubSteps = 1000000.0;

// Lanes of the plain (scalar) integrator templates; the one-oscillator computation, the
// reference every vector kernel is held to, uses one of them.
constexpr std::size_t kLanes = 8;

// Everything one oscillator needs besides the record, fixed for the whole run.
// The total acceleration is -(velocityFactor * v + displacementFactor * u) / g for the
// recurrence and (w + p1) / g for Newmark's method; see TotalAccelerationPeak.
struct PreparedOscillator {
    bool valid = false;
    int subSteps = 0;
    // Piecewise exact recurrence.
    PiecewiseExactCoefficients exact{};
    double velocityFactor = 0.0;      // 2 zeta omega
    double displacementFactor = 0.0;  // omega^2
    // Newmark's method.
    double kHat = 0.0;
    double a1 = 0.0;
    double b1 = 0.0;
    double dvPerDu = 0.0;  // gamma / (beta h)
    double dvPerV = 0.0;   // gamma / beta
    double dvPerW = 0.0;   // h (1 - gamma / (2 beta))
    double betaHH = 0.0;   // beta h^2
    double betaH = 0.0;    // beta h
    double twoBeta = 0.0;  // 2 beta
};

bool AllFinite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double x) { return std::isfinite(x); });
}

// The sub-step count n = trunc(dt / (T maxDtOverT) + 1), or 0 when it is not a finite
// number from 1 to a million (which also refuses a time step or period that is not
// positive, and a zero or non-finite ratio).
int SubStepCount(double timeStep, double period, double maxDtOverT) {
    if (!(timeStep > 0) || !std::isfinite(timeStep)) {
        return 0;
    }
    const double count = timeStep / (period * maxDtOverT) + 1;
    if (!(count >= 1 && count < kMaxSubSteps + 1)) {
        return 0;
    }
    return static_cast<int>(count);
}

PreparedOscillator Prepare(const AnalysisSettings& settings, double timeStep, double g,
                           double maxDtOverT, double zeta, double period,
                           IntegrationMethod method) {
    PreparedOscillator prepared;
    const int n = SubStepCount(timeStep, period, maxDtOverT);
    // Every acceleration is divided by g on its way to the result.
    if (n == 0 || !std::isfinite(g) || g == 0) {
        return prepared;
    }
    prepared.subSteps = n;
    const double omega = kTwoPi / period;
    const double h = timeStep / n;

    if (method == IntegrationMethod::PiecewiseExact) {
        const PiecewiseExactCoefficients c = ComputePiecewiseExactCoefficients(zeta, h, omega);
        prepared.exact = c;
        prepared.velocityFactor = 2 * zeta * omega;
        prepared.displacementFactor = omega * omega;
        // Critical damping or beyond (|zeta| >= 1) has no damped frequency: the
        // coefficients come out as non-numbers and the run is refused.
        prepared.valid = AllFinite({c.A, c.B, c.Ap, c.Bp, c.C, c.D, c.Cp, c.Dp,
                                    prepared.velocityFactor, prepared.displacementFactor});
        return prepared;
    }

    // Newmark (1959) in incremental form for a unit mass; beta = 1/4, gamma = 1/2 is the
    // constant average acceleration scheme.
    const double beta = settings.beta;
    const double gamma = settings.gamma;
    const double m = 1;
    const double k = omega * omega * m;
    const double c = 2 * m * omega * zeta;
    prepared.kHat = gamma * c / (beta * h) + k + m / (beta * (h * h));
    prepared.a1 = m / (beta * h) + gamma * c / beta;
    prepared.b1 = m / (2 * beta) + h * c * (gamma / (2 * beta) - 1);
    prepared.dvPerDu = gamma / (beta * h);
    prepared.dvPerV = gamma / beta;
    prepared.dvPerW = h * (1 - gamma / (2 * beta));
    prepared.betaHH = beta * (h * h);
    prepared.betaH = beta * h;
    prepared.twoBeta = 2 * beta;
    // beta = 0 divides by zero; a zero kHat would do so at every step.
    prepared.valid =
        prepared.kHat != 0 && prepared.betaHH != 0 && prepared.betaH != 0 &&
        prepared.twoBeta != 0 &&
        AllFinite({prepared.kHat, prepared.a1, prepared.b1, prepared.dvPerDu, prepared.dvPerV,
                   prepared.dvPerW, prepared.betaHH, prepared.betaH, prepared.twoBeta});
    return prepared;
}

// A peak is replaced only by a value that compares strictly greater, so a non-number never
// becomes a peak.
inline double KeepPeak(double candidate, double peak) {
    return candidate > peak ? candidate : peak;
}

// The peak total acceleration in g from the peak of |numerator|, where each step's total
// acceleration is +-numerator / g. Division by the same g is monotonic and |x / g| equals
// |x| / |g| exactly, so dividing the largest numerator once gives the very number the
// largest per-step quotient would have given.
inline double TotalAccelerationPeak(double numeratorPeak, double g) {
    return numeratorPeak / std::fabs(g);
}

struct LanePeaks {
    std::array<double, kLanes> sd{};
    std::array<double, kLanes> sv{};
    std::array<double, kLanes> saNumerator{};
};

// Advances `lanes` oscillators with the same sub-step count through the record. Each lane
// performs exactly the operations of a lone oscillator, in the same order.
template <std::size_t Lanes>
void AdvanceExact(const std::array<const PreparedOscillator*, kLanes>& oscillators,
                  const double* acceleration, std::size_t count, double g, int subSteps,
                  LanePeaks& peaks) {
    static_assert(Lanes <= kLanes);
    double A[Lanes], B[Lanes], Ap[Lanes], Bp[Lanes], C[Lanes], D[Lanes], Cp[Lanes], Dp[Lanes];
    double vf[Lanes], df[Lanes];
    double u[Lanes], v[Lanes], sd[Lanes], sv[Lanes], sa[Lanes];
    for (std::size_t l = 0; l < Lanes; ++l) {
        const PiecewiseExactCoefficients& c = oscillators[l]->exact;
        A[l] = c.A;
        B[l] = c.B;
        Ap[l] = c.Ap;
        Bp[l] = c.Bp;
        C[l] = c.C;
        D[l] = c.D;
        Cp[l] = c.Cp;
        Dp[l] = c.Dp;
        vf[l] = oscillators[l]->velocityFactor;
        df[l] = oscillators[l]->displacementFactor;
        u[l] = v[l] = sd[l] = sv[l] = sa[l] = 0;
    }
    const double n = subSteps;
    for (std::size_t j = 1; j < count; ++j) {
        const double start = g * acceleration[j - 1];
        const double delta = (acceleration[j] - acceleration[j - 1]) * g / n;
        for (int i = 1; i <= subSteps; ++i) {
            // Ground acceleration (cm/sec^2) at both ends of the sub-step, interpolated
            // linearly between the samples.
            const double p0 = (i - 1) * delta + start;
            const double p1 = i * delta + start;
            for (std::size_t l = 0; l < Lanes; ++l) {
                const double u1 = A[l] * u[l] + B[l] * v[l] + C[l] * p0 + D[l] * p1;
                const double v1 = Ap[l] * u[l] + Bp[l] * v[l] + Cp[l] * p0 + Dp[l] * p1;
                const double force = vf[l] * v1 + df[l] * u1;
                sd[l] = KeepPeak(std::fabs(u1), sd[l]);
                sv[l] = KeepPeak(std::fabs(v1), sv[l]);
                sa[l] = KeepPeak(std::fabs(force), sa[l]);
                u[l] = u1;
                v[l] = v1;
            }
        }
    }
    for (std::size_t l = 0; l < Lanes; ++l) {
        peaks.sd[l] = sd[l];
        peaks.sv[l] = sv[l];
        peaks.saNumerator[l] = sa[l];
    }
}

template <std::size_t Lanes>
void AdvanceNewmark(const std::array<const PreparedOscillator*, kLanes>& oscillators,
                    const double* acceleration, std::size_t count, double g, int subSteps,
                    LanePeaks& peaks) {
    static_assert(Lanes <= kLanes);
    double kHat[Lanes], a1[Lanes], b1[Lanes], dvPerDu[Lanes], dvPerV[Lanes], dvPerW[Lanes];
    double betaHH[Lanes], betaH[Lanes], twoBeta[Lanes];
    double u[Lanes], v[Lanes], w[Lanes], sd[Lanes], sv[Lanes], sa[Lanes];
    for (std::size_t l = 0; l < Lanes; ++l) {
        const PreparedOscillator& o = *oscillators[l];
        kHat[l] = o.kHat;
        a1[l] = o.a1;
        b1[l] = o.b1;
        dvPerDu[l] = o.dvPerDu;
        dvPerV[l] = o.dvPerV;
        dvPerW[l] = o.dvPerW;
        betaHH[l] = o.betaHH;
        betaH[l] = o.betaH;
        twoBeta[l] = o.twoBeta;
        // The relative acceleration starts at 0 whatever the first ground sample is.
        u[l] = v[l] = w[l] = sd[l] = sv[l] = sa[l] = 0;
    }
    const double n = subSteps;
    for (std::size_t j = 1; j < count; ++j) {
        const double start = g * acceleration[j - 1];
        const double delta = (acceleration[j] - acceleration[j - 1]) * g / n;
        for (int i = 1; i <= subSteps; ++i) {
            const double p0 = (i - 1) * delta + start;
            const double p1 = i * delta + start;
            for (std::size_t l = 0; l < Lanes; ++l) {
                const double dpHat = (p0 - p1) + a1[l] * v[l] + b1[l] * w[l];
                const double du = dpHat / kHat[l];
                const double dv = dvPerDu[l] * du - dvPerV[l] * v[l] + dvPerW[l] * w[l];
                const double dw = du / betaHH[l] - v[l] / betaH[l] - w[l] / twoBeta[l];
                const double u1 = u[l] + du;
                const double v1 = v[l] + dv;
                w[l] = w[l] + dw;
                sd[l] = KeepPeak(std::fabs(u1), sd[l]);
                sv[l] = KeepPeak(std::fabs(v1), sv[l]);
                sa[l] = KeepPeak(std::fabs(w[l] + p1), sa[l]);
                u[l] = u1;
                v[l] = v1;
            }
        }
    }
    for (std::size_t l = 0; l < Lanes; ++l) {
        peaks.sd[l] = sd[l];
        peaks.sv[l] = sv[l];
        peaks.saNumerator[l] = sa[l];
    }
}

template <std::size_t Lanes>
void Advance(IntegrationMethod method, const std::array<const PreparedOscillator*, kLanes>& lanes,
             const DOUBLEVECTOR& series, double g, int subSteps, LanePeaks& peaks) {
    if (method == IntegrationMethod::PiecewiseExact) {
        AdvanceExact<Lanes>(lanes, series.data(), series.size(), g, subSteps, peaks);
    } else {
        AdvanceNewmark<Lanes>(lanes, series.data(), series.size(), g, subSteps, peaks);
    }
}

}  // namespace

double OscillatorRunSteps(std::size_t samples, double timeStep, double period, double maxDtOverT) {
    return static_cast<double>(SubStepCount(timeStep, period, maxDtOverT)) *
           static_cast<double>(samples);
}

bool ComputeOscillatorPeaks(const AnalysisSettings& settings, const TimeHistory& record, double g,
                            double maxDtOverT, double dampingRatio, double period, double& sd,
                            double& sv, double& sa, bool useCorrected, IntegrationMethod method) {
    const DOUBLEVECTOR& series = record.Acceleration(useCorrected);
    if (series.empty()) {
        return false;
    }
    const PreparedOscillator oscillator =
        Prepare(settings, record.TimeStep(), g, maxDtOverT, dampingRatio, period, method);
    if (!oscillator.valid) {
        return false;
    }
    std::array<const PreparedOscillator*, kLanes> lanes{};
    lanes.fill(&oscillator);
    LanePeaks peaks;
    Advance<1>(method, lanes, series, g, oscillator.subSteps, peaks);
    sd = peaks.sd[0];
    sv = peaks.sv[0];
    sa = TotalAccelerationPeak(peaks.saNumerator[0], g);
    return true;
}

namespace {

// The ground loop of the one-lane integrators: the ground acceleration (cm/s^2), linear
// within each sample interval, at the start and end of every sub-step goes to `step`, which
// advances the oscillator and returns its displacement at the end, kept in order.
template <typename Step>
void RecordSubSteps(const PreparedOscillator& o, const DOUBLEVECTOR& series, double g,
                    DOUBLEVECTOR& displacement, Step step) {
    const double n = o.subSteps;
    for (std::size_t j = 1; j < series.size(); ++j) {
        const double start = g * series[j - 1];
        const double delta = (series[j] - series[j - 1]) * g / n;
        for (int i = 1; i <= o.subSteps; ++i) {
            const double p0 = (i - 1) * delta + start;
            const double p1 = i * delta + start;
            displacement.push_back(step(p0, p1));
        }
    }
}

// The one-lane arithmetic of AdvanceExact and AdvanceNewmark, keeping every sub-step's
// displacement instead of the peaks.
void RecordExact(const PreparedOscillator& o, const DOUBLEVECTOR& series, double g,
                 DOUBLEVECTOR& displacement) {
    const PiecewiseExactCoefficients& c = o.exact;
    double u = 0;
    double v = 0;
    RecordSubSteps(o, series, g, displacement, [&](double p0, double p1) {
        const double u1 = c.A * u + c.B * v + c.C * p0 + c.D * p1;
        const double v1 = c.Ap * u + c.Bp * v + c.Cp * p0 + c.Dp * p1;
        u = u1;
        v = v1;
        return u1;
    });
}

void RecordNewmark(const PreparedOscillator& o, const DOUBLEVECTOR& series, double g,
                   DOUBLEVECTOR& displacement) {
    double u = 0;
    double v = 0;
    double w = 0;
    RecordSubSteps(o, series, g, displacement, [&](double p0, double p1) {
        const double dpHat = (p0 - p1) + o.a1 * v + o.b1 * w;
        const double du = dpHat / o.kHat;
        const double dv = o.dvPerDu * du - o.dvPerV * v + o.dvPerW * w;
        const double dw = du / o.betaHH - v / o.betaH - w / o.twoBeta;
        const double u1 = u + du;
        const double v1 = v + dv;
        w = w + dw;
        u = u1;
        v = v1;
        return u1;
    });
}

}  // namespace

bool ComputeOscillatorDisplacements(const AnalysisSettings& settings, const DOUBLEVECTOR& series,
                                    double timeStep, double g, double maxDtOverT,
                                    double dampingRatio, double period, IntegrationMethod method,
                                    DOUBLEVECTOR& displacement) {
    displacement.clear();
    if (series.empty()) {
        return false;
    }
    const PreparedOscillator oscillator =
        Prepare(settings, timeStep, g, maxDtOverT, dampingRatio, period, method);
    if (!oscillator.valid) {
        return false;
    }
    displacement.reserve((series.size() - 1) * static_cast<std::size_t>(oscillator.subSteps));
    if (method == IntegrationMethod::PiecewiseExact) {
        RecordExact(oscillator, series, g, displacement);
    } else {
        RecordNewmark(oscillator, series, g, displacement);
    }
    return true;
}

namespace {

// Below this many oscillator sub-steps a batch is not worth a second thread.
constexpr double kWorkPerExtraThread = 2.0e5;

// Only the coefficients of the method that runs: a batch fills thousands of lanes.
void FillLane(kernels::OscillatorGroup& group, std::size_t lane, const PreparedOscillator& o,
              IntegrationMethod method) {
    group.subSteps[lane] = o.subSteps;
    if (method == IntegrationMethod::PiecewiseExact) {
        group.exact.A[lane] = o.exact.A;
        group.exact.B[lane] = o.exact.B;
        group.exact.C[lane] = o.exact.C;
        group.exact.D[lane] = o.exact.D;
        group.exact.Ap[lane] = o.exact.Ap;
        group.exact.Bp[lane] = o.exact.Bp;
        group.exact.Cp[lane] = o.exact.Cp;
        group.exact.Dp[lane] = o.exact.Dp;
        group.exact.velocityFactor[lane] = o.velocityFactor;
        group.exact.displacementFactor[lane] = o.displacementFactor;
        return;
    }
    group.newmark.kHat[lane] = o.kHat;
    group.newmark.a1[lane] = o.a1;
    group.newmark.b1[lane] = o.b1;
    group.newmark.dvPerDu[lane] = o.dvPerDu;
    group.newmark.dvPerV[lane] = o.dvPerV;
    group.newmark.dvPerW[lane] = o.dvPerW;
    group.newmark.betaHH[lane] = o.betaHH;
    group.newmark.betaH[lane] = o.betaH;
    group.newmark.twoBeta[lane] = o.twoBeta;
}

// A group of k vectors advances a sub-step in about (1 + k) units of time: each vector's
// chain of dependent operations takes about as long as the arithmetic of one more vector,
// so a lone vector waits on itself while several fill the arithmetic units.
double GroupCost(std::size_t vectors) {
    return 1.0 + static_cast<double>(vectors);
}

// Time of a group of the oscillators from `first` on (sorted by descending sub-step count),
// `size` of them in vectors of `vectorLanes` lanes, per sample: a vector steps only up to its
// first (largest) count, so the sub-steps beyond the next vector's largest count are shared
// by one vector fewer.
double GroupTime(const std::vector<std::size_t>& subSteps, std::size_t first, std::size_t size,
                 std::size_t vectorLanes) {
    const std::size_t vectors = (size + vectorLanes - 1) / vectorLanes;
    double time = 0;
    for (std::size_t v = 0; v < vectors; ++v) {
        const double most = static_cast<double>(subSteps[first + v * vectorLanes]);
        const double next =
            v + 1 < vectors ? static_cast<double>(subSteps[first + (v + 1) * vectorLanes]) : 0.0;
        time += (most - next) * GroupCost(v + 1);
    }
    return time;
}

// Cuts oscillators sorted by descending sub-step count into consecutive groups of one to
// `vectors` vectors of `vectorLanes` lanes, so that the sum of the groups' times is least: a
// lone long oscillator then runs in a one-vector group with the next longest, instead of
// holding thirty short ones in a full group. Returns the first index of every group and,
// last, the count.
std::vector<std::size_t> PlanGroups(const std::vector<std::size_t>& subSteps,
                                    std::size_t vectorLanes, std::size_t vectors) {
    const std::size_t count = subSteps.size();
    // cost[i]: least cost of the oscillators from i on; take[i]: the size of its first group.
    std::vector<double> cost(count + 1, 0.0);
    std::vector<std::size_t> take(count + 1, 0);
    for (std::size_t i = count; i-- > 0;) {
        cost[i] = std::numeric_limits<double>::infinity();
        for (std::size_t k = 1; k <= vectors; ++k) {
            const std::size_t size = std::min(k * vectorLanes, count - i);
            const double total = GroupTime(subSteps, i, size, vectorLanes) + cost[i + size];
            if (total < cost[i]) {
                cost[i] = total;
                take[i] = size;
            }
            if (size == count - i) {
                break;
            }
        }
    }
    std::vector<std::size_t> firsts;
    for (std::size_t i = 0; i < count; i += take[i]) {
        firsts.push_back(i);
    }
    firsts.push_back(count);
    return firsts;
}

int ThreadCount(int requested, std::size_t groups, double work) {
    int threads = requested;
    if (threads <= 0) {
        threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    }
    threads = std::min(threads, static_cast<int>(work / kWorkPerExtraThread) + 1);
    return std::max(1, std::min(threads, static_cast<int>(groups)));
}

}  // namespace

namespace {

// The runs prepared, sorted and cut into the kernels' groups.
struct BatchPlan {
    std::vector<PreparedOscillator> prepared;  // one per run
    std::vector<std::size_t> order;   // the runs that can be computed, by descending sub-steps
    std::vector<std::size_t> firsts;  // first index into `order` of every group, then its size
    std::vector<kernels::OscillatorGroup> groups;
    std::size_t streamedFirst = 0;  // the groups from this one on are advanced as streams
    double totalWork = 0;           // sub-steps times samples, over the groups
};

// Moves the oscillators the streams take behind the others, both parts still in descending
// order of sub-step count, and returns where they start. The streams take a count up to
// kMaxStreamSubSteps whose oscillators fill at least half of the lanes of their vectors: a
// count of a lone oscillator or two would step mostly empty lanes there, and costs less in
// a group that mixes counts, even one that waits on its own chain.
std::size_t SplitForStreams(std::vector<std::size_t>& order,
                            const std::vector<PreparedOscillator>& prepared) {
    if (!kernels::StreamsInUse()) {
        return order.size();
    }
    const std::size_t width = kernels::VectorLanes();
    std::vector<std::size_t> alone, streamed;
    for (std::size_t k = 0; k < order.size();) {
        const int n = prepared[order[k]].subSteps;
        std::size_t end = k;
        while (end < order.size() && prepared[order[end]].subSteps == n) {
            ++end;
        }
        const std::size_t room = (end - k + width - 1) / width * width;
        const bool stream = n <= kernels::kMaxStreamSubSteps && 2 * (end - k) >= room;
        std::vector<std::size_t>& part = stream ? streamed : alone;
        part.insert(part.end(), order.begin() + static_cast<std::ptrdiff_t>(k),
                    order.begin() + static_cast<std::ptrdiff_t>(end));
        k = end;
    }
    order = alone;
    order.insert(order.end(), streamed.begin(), streamed.end());
    return alone.size();
}

// Plans into `plan`, whatever it held before; its vectors keep their memory.
void PlanBatch(BatchPlan& plan, const AnalysisSettings& settings, const TimeHistory& record,
               const DOUBLEVECTOR& series, double g, double maxDtOverT, IntegrationMethod method,
               std::span<OscillatorRun> runs) {
    std::vector<PreparedOscillator>& prepared = plan.prepared;
    std::vector<std::size_t>& order = plan.order;
    prepared.clear();
    order.clear();
    plan.groups.clear();
    plan.streamedFirst = 0;
    plan.totalWork = 0;
    prepared.reserve(runs.size());
    order.reserve(runs.size());
    for (std::size_t r = 0; r < runs.size(); ++r) {
        prepared.push_back(Prepare(settings, record.TimeStep(), g, maxDtOverT, runs[r].dampingRatio,
                                   runs[r].period, method));
        runs[r].computed = !series.empty() && prepared.back().valid;
        if (runs[r].computed) {
            order.push_back(r);
        }
    }
    // Oscillators with the same sub-step count share every ground-acceleration value. In
    // descending order of count, consecutive oscillators fill each group, so a group mixes
    // counts only where too few share one, and its lanes wait as little as possible.
    std::stable_sort(order.begin(), order.end(), [&prepared](std::size_t a, std::size_t b) {
        return prepared[a].subSteps > prepared[b].subSteps;
    });

    // Groups cut as GroupTime prefers first, then the streams' groups of one count each.
    const std::size_t streamedFirst = SplitForStreams(order, prepared);
    std::vector<std::size_t> subSteps(order.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        subSteps[k] = static_cast<std::size_t>(prepared[order[k]].subSteps);
    }
    const auto streamed = subSteps.begin() + static_cast<std::ptrdiff_t>(streamedFirst);
    plan.firsts = PlanGroups({subSteps.begin(), streamed}, kernels::VectorLanes(),
                             kernels::VectorsInFlight());
    plan.firsts.pop_back();
    plan.streamedFirst = plan.firsts.size();
    for (auto k = streamed; k != subSteps.end();) {
        plan.firsts.push_back(static_cast<std::size_t>(k - subSteps.begin()));
        const auto sameCount =
            std::find_if(k, subSteps.end(), [k](std::size_t n) { return n != *k; });
        k += std::min<std::ptrdiff_t>(sameCount - k, kernels::kMaxGroupLanes);
    }
    plan.firsts.push_back(order.size());
    plan.groups.resize(plan.firsts.size() - 1);
    for (std::size_t k = 0; k < plan.groups.size(); ++k) {
        kernels::OscillatorGroup& group = plan.groups[k];
        const std::size_t first = plan.firsts[k];
        group.lanes = plan.firsts[k + 1] - first;
        for (std::size_t lane = 0; lane < kernels::kMaxGroupLanes; ++lane) {
            // Unused lanes repeat the group's first oscillator; their results are dropped.
            FillLane(group, lane, prepared[order[first + (lane < group.lanes ? lane : 0)]], method);
        }
        group.maxSubSteps = prepared[order[first]].subSteps;
        group.minSubSteps = prepared[order[first + group.lanes - 1]].subSteps;
        plan.totalWork +=
            static_cast<double>(group.maxSubSteps) * static_cast<double>(series.size());
    }
}

// Runs `work` on `threads` threads. Unwatched, the calling thread is one of them; watched,
// it only calls `watch` every 50 ms until every helper is done (or works itself when no
// helper thread could be had).
void RunShared(int threads, bool watched, const std::function<void()>& work,
               const std::function<void()>& watch) {
    std::mutex endMutex;
    std::condition_variable ended;
    int running = 0;
    std::vector<std::thread> helpers;
    for (int t = watched ? 0 : 1; t < threads; ++t) {
        {
            const std::lock_guard<std::mutex> lock(endMutex);
            ++running;
        }
        try {
            helpers.emplace_back([&] {
                work();
                const std::lock_guard<std::mutex> lock(endMutex);
                --running;
                ended.notify_one();
            });
        } catch (const std::system_error&) {
            const std::lock_guard<std::mutex> lock(endMutex);
            --running;
            break;  // no more threads to be had: the ones running share the work
        }
    }
    if (!watched || helpers.empty()) {
        work();
    } else {
        constexpr auto kReportInterval = std::chrono::milliseconds(50);
        std::unique_lock<std::mutex> lock(endMutex);
        while (!ended.wait_for(lock, kReportInterval, [&] { return running == 0; })) {
            lock.unlock();
            watch();
            lock.lock();
        }
    }
    for (std::thread& helper : helpers) {
        helper.join();
    }
}

// The groups one thread advances at a time: one group of many sub-steps per sample, or a
// share of the streamed groups.
struct WorkItem {
    std::size_t group = 0;  // into BatchPlan::groups, unless streamed
    bool streams = false;   // the groups of `streamed`, advanced together as streams
    std::vector<kernels::OscillatorGroup*> streamed;
};

// The groups of many sub-steps one by one, in the plan's order (most sub-steps first), then
// the streamed groups dealt out to `threads` items, each group to the item of least work so
// far, so that the threads finish together.
std::vector<WorkItem> PlanWork(BatchPlan& plan, int threads) {
    std::vector<WorkItem> items;
    for (std::size_t k = 0; k < plan.streamedFirst; ++k) {
        items.push_back({k, false, {}});
    }
    const std::size_t shares = std::min<std::size_t>(static_cast<std::size_t>(threads),
                                                     plan.groups.size() - plan.streamedFirst);
    std::vector<double> work(shares, 0.0);
    const std::size_t firstShare = items.size();
    items.resize(firstShare + shares, {0, true, {}});
    for (std::size_t k = plan.streamedFirst; k < plan.groups.size(); ++k) {
        kernels::OscillatorGroup& group = plan.groups[k];
        const std::size_t least =
            static_cast<std::size_t>(std::min_element(work.begin(), work.end()) - work.begin());
        work[least] += static_cast<double>(group.maxSubSteps) * static_cast<double>(group.lanes);
        items[firstShare + least].streamed.push_back(&group);
    }
    return items;
}

bool AdvanceItem(const WorkItem& item, BatchPlan& plan, const DOUBLEVECTOR& series, double g,
                 IntegrationMethod method, const std::atomic<bool>* cancel) {
    const bool exact = method == IntegrationMethod::PiecewiseExact;
    if (item.streams) {
        return exact ? kernels::AdvanceExactStreams(series.data(), series.size(), g, item.streamed,
                                                    cancel)
                     : kernels::AdvanceNewmarkStreams(series.data(), series.size(), g,
                                                      item.streamed, cancel);
    }
    kernels::OscillatorGroup& group = plan.groups[item.group];
    return exact ? kernels::AdvanceExactGroup(series.data(), series.size(), g, group, cancel)
                 : kernels::AdvanceNewmarkGroup(series.data(), series.size(), g, group, cancel);
}

// Advances every group over the whole record. Work items are taken in order by whichever
// thread is free; each group's numbers are the same whoever computes them. With a progress
// report the calling thread only watches: it adds up how far each group got, so that the
// report moves on within the longest group too, and it makes every call. Returns false when
// cancelled or stopped.
bool AdvanceGroups(BatchPlan& plan, const DOUBLEVECTOR& series, double g, IntegrationMethod method,
                   const BatchOptions& options) {
    std::vector<kernels::OscillatorGroup>& groups = plan.groups;
    const bool watched = static_cast<bool>(options.progress);
    std::vector<std::atomic<std::size_t>> samplesDone(watched ? groups.size() : 0);
    for (std::size_t k = 0; k < samplesDone.size(); ++k) {
        groups[k].samplesDone = &samplesDone[k];
    }
    const int threads = ThreadCount(options.threads, groups.size(), plan.totalWork);
    const std::vector<WorkItem> items = PlanWork(plan, threads);
    std::atomic<std::size_t> nextItem{0};
    std::atomic<bool> stopped{false};
    const auto work = [&] {
        for (;;) {
            const std::size_t k = nextItem.fetch_add(1);
            if (k >= items.size() || stopped.load()) {
                return;
            }
            const bool finished = AdvanceItem(items[k], plan, series, g, method, options.cancel);
            if (!finished || (options.cancel != nullptr && options.cancel->load())) {
                stopped.store(true);
                return;
            }
            if (watched) {
                const auto done = [&](const kernels::OscillatorGroup& group) {
                    group.samplesDone->store(series.size(), std::memory_order_relaxed);
                };
                if (items[k].streams) {
                    for (const kernels::OscillatorGroup* group : items[k].streamed) {
                        done(*group);
                    }
                } else {
                    done(groups[items[k].group]);
                }
            }
        }
    };
    double reported = 0;
    const auto watch = [&] {
        double done = 0;
        for (std::size_t k = 0; k < groups.size(); ++k) {
            done += static_cast<double>(groups[k].maxSubSteps) *
                    static_cast<double>(samplesDone[k].load(std::memory_order_relaxed));
        }
        const double fraction = plan.totalWork > 0 ? std::min(1.0, done / plan.totalWork) : 1.0;
        if (fraction > reported) {
            reported = fraction;
            options.progress(fraction);
        }
    };
    RunShared(threads, watched, work, watch);
    if (watched && !stopped.load()) {
        options.progress(1.0);
    }
    return !stopped.load();
}

// The thread's plan, kept from one batch to the next: a run over many records would
// otherwise map and zero its memory afresh for each, page by page, which costs about as
// much as a short record's arithmetic and leaves the speed to the memory allocator's
// choices. A batch started while the thread's plan is in use (from a progress report, say)
// plans in memory of its own.
class KeptPlan {
  public:
    KeptPlan() : plan(inUse ? own : kept), mine(!inUse) { inUse = true; }
    ~KeptPlan() {
        if (mine) {
            inUse = false;
        }
    }
    KeptPlan(const KeptPlan&) = delete;
    KeptPlan& operator=(const KeptPlan&) = delete;

    BatchPlan own;
    BatchPlan& plan;

  private:
    static thread_local BatchPlan kept;
    static thread_local bool inUse;
    bool mine;
};

thread_local BatchPlan KeptPlan::kept;
thread_local bool KeptPlan::inUse = false;

}  // namespace

bool ComputeOscillatorPeaksBatch(const AnalysisSettings& settings, const TimeHistory& record,
                                 double g, double maxDtOverT, bool useCorrected,
                                 IntegrationMethod method, std::span<OscillatorRun> runs,
                                 const BatchOptions& options) {
    const DOUBLEVECTOR& series = record.Acceleration(useCorrected);
    KeptPlan kept;
    BatchPlan& plan = kept.plan;
    PlanBatch(plan, settings, record, series, g, maxDtOverT, method, runs);
    if (!AdvanceGroups(plan, series, g, method, options)) {
        for (OscillatorRun& run : runs) {
            run.computed = false;
        }
        return false;
    }
    for (std::size_t k = 0; k < plan.groups.size(); ++k) {
        const kernels::OscillatorGroup& group = plan.groups[k];
        for (std::size_t lane = 0; lane < group.lanes; ++lane) {
            OscillatorRun& run = runs[plan.order[plan.firsts[k] + lane]];
            run.sd = group.sd[lane];
            run.sv = group.sv[lane];
            run.sa = TotalAccelerationPeak(group.saNumerator[lane], g);
        }
    }
    return true;
}

void ComputeOscillatorPeaksBatch(const AnalysisSettings& settings, const TimeHistory& record,
                                 double g, double maxDtOverT, bool useCorrected,
                                 IntegrationMethod method, std::span<OscillatorRun> runs) {
    ComputeOscillatorPeaksBatch(settings, record, g, maxDtOverT, useCorrected, method, runs,
                                BatchOptions{});
}

int OscillatorSubStepCount(double timeStep, double period, double maxDtOverT) {
    return SubStepCount(timeStep, period, maxDtOverT);
}

}  // namespace travik
