#include "core/spectra/DesignSpectra.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/text/NumberFormat.h"

namespace travik {
namespace {

bool Positive(double x) {
    return std::isfinite(x) && x > 0;
}

void AddSorted(TargetSpectrum& target, std::vector<double> periods,
               double (*sa)(const void*, double), const void* parameters) {
    std::sort(periods.begin(), periods.end());
    periods.erase(std::unique(periods.begin(), periods.end()), periods.end());
    for (const double t : periods) {
        target.periods.push_back(t);
        target.sa.push_back(sa(parameters, t));
    }
}

std::vector<double> EvenPeriods(double maxPeriod, int pointCount) {
    std::vector<double> periods;
    const int n = std::max(pointCount, 2);
    for (int i = 0; i < n; ++i) {
        periods.push_back(maxPeriod * i / (n - 1));
    }
    return periods;
}

}  // namespace

std::string AsceTwoPeriodParameters::Check() const {
    if (!Positive(sds)) {
        return "S_DS must be greater than zero";
    }
    if (!Positive(sd1)) {
        return "S_D1 must be greater than zero";
    }
    if (sds > kLargestTargetSa || sd1 > kLargestTargetSa) {
        return "S_DS and S_D1 must be at most " + FormatGeneral(kLargestTargetSa) + " g";
    }
    if (!Positive(longPeriod) || !(longPeriod > sd1 / sds)) {
        return "T_L must be greater than T_S = S_D1 / S_DS";
    }
    if (longPeriod > kLargestTargetPeriod) {
        return "T_L must be at most " + FormatGeneral(kLargestTargetPeriod) + " s";
    }
    return {};
}

double AsceT0(const AsceTwoPeriodParameters& p) {
    return 0.2 * p.sd1 / p.sds;
}

double AsceTs(const AsceTwoPeriodParameters& p) {
    return p.sd1 / p.sds;
}

double AsceTwoPeriodSa(const AsceTwoPeriodParameters& p, double period) {
    const double t0 = AsceT0(p);
    const double ts = AsceTs(p);
    // §11.4.6: the linear rise from 0.4 S_DS at T = 0 to S_DS at T_0.
    if (period < t0) {
        return p.sds * (0.4 + 0.6 * period / t0);
    }
    // §11.4.6 item 2: the constant-acceleration plateau.
    if (period <= ts) {
        return p.sds;
    }
    // §11.4.6: constant velocity, S_a = S_D1 / T.
    if (period <= p.longPeriod) {
        return p.sd1 / period;
    }
    // §11.4.6: constant displacement beyond T_L, S_a = S_D1 T_L / T^2.
    return p.sd1 * p.longPeriod / (period * period);
}

EurocodeGroundParameters EurocodeGround(EurocodeSpectrumType type, EurocodeGroundType ground) {
    // EN 1998-1 Table 3.2 (Type 1, surface-wave magnitude above 5.5) and Table 3.3 (Type 2).
    static constexpr EurocodeGroundParameters kType1[] = {
        {1.0, 0.15, 0.4, 2.0},   // A
        {1.2, 0.15, 0.5, 2.0},   // B
        {1.15, 0.20, 0.6, 2.0},  // C
        {1.35, 0.20, 0.8, 2.0},  // D
        {1.4, 0.15, 0.5, 2.0},   // E
    };
    static constexpr EurocodeGroundParameters kType2[] = {
        {1.0, 0.05, 0.25, 1.2},   // A
        {1.35, 0.05, 0.25, 1.2},  // B
        {1.5, 0.10, 0.25, 1.2},   // C
        {1.8, 0.10, 0.30, 1.2},   // D
        {1.6, 0.05, 0.25, 1.2},   // E
    };
    const auto index = static_cast<std::size_t>(ground);
    return type == EurocodeSpectrumType::Type1 ? kType1[index] : kType2[index];
}

std::string EurocodeElasticParameters::Check() const {
    if (!Positive(ag)) {
        return "a_g must be greater than zero";
    }
    if (!std::isfinite(dampingPercent) || dampingPercent < 0) {
        return "The damping must be zero or more percent";
    }
    if (dampingPercent > 100) {
        return "The damping must be at most 100 percent";
    }
    const EurocodeGroundParameters g = EurocodeGround(type, ground);
    if (ag * g.s * EurocodeEta(dampingPercent) * 2.5 > kLargestTargetSa) {
        return "a_g is too large: the plateau a_g S eta 2.5 would exceed " +
               FormatGeneral(kLargestTargetSa) + " g";
    }
    return {};
}

double EurocodeEta(double dampingPercent) {
    // §3.2.2.2 (3), Eq. (3.6).
    return std::max(std::sqrt(10 / (5 + dampingPercent)), 0.55);
}

double EurocodeElasticSa(const EurocodeElasticParameters& p, double period) {
    const EurocodeGroundParameters g = EurocodeGround(p.type, p.ground);
    const double eta = EurocodeEta(p.dampingPercent);
    const double plateau = p.ag * g.s * eta * 2.5;
    // Eq. (3.2): the rise from a_g S at T = 0 to the plateau at T_B.
    if (period <= g.tb) {
        return p.ag * g.s * (1 + period / g.tb * (eta * 2.5 - 1));
    }
    // Eq. (3.3): constant acceleration.
    if (period <= g.tc) {
        return plateau;
    }
    // Eq. (3.4): constant velocity.
    if (period <= g.td) {
        return plateau * g.tc / period;
    }
    // Eq. (3.5): constant displacement.
    return plateau * g.tc * g.td / (period * period);
}

TargetSpectrum SampleAsceTwoPeriod(const AsceTwoPeriodParameters& p, double maxPeriod,
                                   int pointCount) {
    TargetSpectrum target;
    target.name = "ASCE 7-22 S_DS=" + FormatGeneral(p.sds) + " S_D1=" + FormatGeneral(p.sd1) +
                  " T_L=" + FormatGeneral(p.longPeriod) + " s";
    std::vector<double> periods = EvenPeriods(maxPeriod, pointCount);
    for (const double corner : {AsceT0(p), AsceTs(p), p.longPeriod}) {
        if (corner < maxPeriod) {
            periods.push_back(corner);
        }
    }
    AddSorted(
        target, periods,
        [](const void* q, double t) {
            return AsceTwoPeriodSa(*static_cast<const AsceTwoPeriodParameters*>(q), t);
        },
        &p);
    return target;
}

TargetSpectrum SampleEurocodeElastic(const EurocodeElasticParameters& p, double maxPeriod,
                                     int pointCount) {
    static constexpr const char* kGroundNames[] = {"A", "B", "C", "D", "E"};
    TargetSpectrum target;
    target.name = std::string("EN 1998-1 Type ") +
                  (p.type == EurocodeSpectrumType::Type1 ? "1" : "2") + " ground " +
                  kGroundNames[static_cast<std::size_t>(p.ground)] + " a_g=" + FormatGeneral(p.ag) +
                  " g xi=" + FormatGeneral(p.dampingPercent) + "%";
    const EurocodeGroundParameters g = EurocodeGround(p.type, p.ground);
    std::vector<double> periods = EvenPeriods(maxPeriod, pointCount);
    for (const double corner : {g.tb, g.tc, g.td}) {
        if (corner < maxPeriod) {
            periods.push_back(corner);
        }
    }
    AddSorted(
        target, periods,
        [](const void* q, double t) {
            return EurocodeElasticSa(*static_cast<const EurocodeElasticParameters*>(q), t);
        },
        &p);
    return target;
}

double EurocodeDampingRatio(const EurocodeElasticParameters& p) {
    return p.dampingPercent / 100.0;
}

std::optional<double> ComparisonDampingRatio(const std::vector<double>& enteredRatios,
                                             const std::optional<double>& targetRatio) {
    if (targetRatio) {
        return targetRatio;
    }
    if (enteredRatios.empty()) {
        return std::nullopt;
    }
    return enteredRatios.front();
}

double InterpolateTarget(const TargetSpectrum& target, double period) {
    const std::vector<double>& t = target.periods;
    if (t.empty() || period < t.front() || period > t.back()) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const auto upper = std::lower_bound(t.begin(), t.end(), period);
    const auto i = static_cast<std::size_t>(upper - t.begin());
    if (t[i] == period) {
        return target.sa[i];
    }
    const double w = (period - t[i - 1]) / (t[i] - t[i - 1]);
    return target.sa[i - 1] + w * (target.sa[i] - target.sa[i - 1]);
}

}  // namespace travik
