#pragma once

#include <optional>
#include <string>
#include <vector>

namespace travik {

// What any target spectrum, a file's or a code's, may hold: periods (s) and Sa (g) within
// these bounds, Sa either 0 or at least the smallest value. Beyond them lies a wrong
// input, not a spectrum, and one that no logarithmic axis could show.
inline constexpr double kLargestTargetPeriod = 1000.0;     // s
inline constexpr double kLargestTargetSa = 100.0;          // g
inline constexpr double kSmallestNonZeroTargetSa = 1e-12;  // g

// Code design spectra: the 5 %-damped (or eta-scaled) spectral acceleration a structure of
// a given period is designed for. Periods in s, accelerations in g.

// The two-period design response spectrum of ASCE/SEI 7-22 §11.4.6, built from the design
// spectral accelerations at short periods S_DS and at 1 s S_D1 (g) and the long-period
// transition period T_L (s).
struct AsceTwoPeriodParameters {
    double sds = 1.0;       // S_DS, g, > 0, <= kLargestTargetSa
    double sd1 = 0.6;       // S_D1, g, > 0, <= kLargestTargetSa
    double longPeriod = 8;  // T_L, s, > S_D1 / S_DS, <= kLargestTargetPeriod

    // Empty when valid, else the message naming the field.
    std::string Check() const;
};

// T_0 = 0.2 S_D1 / S_DS and T_S = S_D1 / S_DS (s).
double AsceT0(const AsceTwoPeriodParameters& p);
double AsceTs(const AsceTwoPeriodParameters& p);

// S_a (g) at `period` (s, >= 0). Expects parameters that pass Check().
double AsceTwoPeriodSa(const AsceTwoPeriodParameters& p, double period);

// EN 1998-1 §3.2.2.2, horizontal elastic response spectrum.
enum class EurocodeSpectrumType { Type1, Type2 };
enum class EurocodeGroundType { A, B, C, D, E };

// The soil factor S and the corner periods T_B, T_C, T_D (s) of the standard's Table 3.2
// (Type 1) and Table 3.3 (Type 2).
struct EurocodeGroundParameters {
    double s;
    double tb;
    double tc;
    double td;
};
EurocodeGroundParameters EurocodeGround(EurocodeSpectrumType type, EurocodeGroundType ground);

struct EurocodeElasticParameters {
    EurocodeSpectrumType type = EurocodeSpectrumType::Type1;
    EurocodeGroundType ground = EurocodeGroundType::B;
    double ag = 0.25;           // design ground acceleration on type A ground a_g, g, > 0,
                                // with a plateau a_g S eta 2.5 <= kLargestTargetSa
    double dampingPercent = 5;  // viscous damping xi, percent, 0 to 100

    std::string Check() const;
};

// The damping correction factor eta = sqrt(10 / (5 + xi)) >= 0.55 (§3.2.2.2 (3)), xi in
// percent.
double EurocodeEta(double dampingPercent);

// S_e (g) at `period` (s, >= 0). The standard draws the spectrum to 4 s; beyond, the
// T_D-to-4 s branch is continued (constant spectral displacement), as its Annex A does.
double EurocodeElasticSa(const EurocodeElasticParameters& p, double period);

// A spectrum drawn as a curve: name, periods (s, ascending) and Sa (g).
struct TargetSpectrum {
    std::string name;
    std::vector<double> periods;
    std::vector<double> sa;
};

// The viscous damping ratio (fraction) a code spectrum is given for: ASCE/SEI 7-22's design
// spectrum (§11.4.6) for 5 %, EN 1998-1's elastic spectrum for the xi it is drawn with. A
// file of periods and values states none.
inline constexpr double kAsceDesignDampingRatio = 0.05;
double EurocodeDampingRatio(const EurocodeElasticParameters& p);

// The damping ratio (fraction) to compare records with a target at: the target's where it
// states one, else the first of the ratios the user entered (in the order entered), else
// nothing.
std::optional<double> ComparisonDampingRatio(const std::vector<double>& enteredRatios,
                                             const std::optional<double>& targetRatio);

// The code spectra sampled for drawing and comparison: at every corner period and at
// `pointCount` (>= 2) periods spread evenly from 0 to `maxPeriod` (s, > 0).
TargetSpectrum SampleAsceTwoPeriod(const AsceTwoPeriodParameters& p, double maxPeriod,
                                   int pointCount = 400);
TargetSpectrum SampleEurocodeElastic(const EurocodeElasticParameters& p, double maxPeriod,
                                     int pointCount = 400);

// Sa (g) of the target at `period` by linear interpolation between its points; outside
// its period range nothing (NaN).
double InterpolateTarget(const TargetSpectrum& target, double period);

}  // namespace travik
