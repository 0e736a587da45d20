#pragma once

#include <string>

#include "core/spectra/DesignSpectra.h"

namespace travik {

// The spectrum a suite is scaled to: a code spectrum, evaluated by its own formula at any
// period, or a spectrum read from a file, interpolated linearly between its points.
struct ScalingTarget {
    enum class Kind { File, Asce, Eurocode };
    Kind kind = Kind::Asce;
    AsceTwoPeriodParameters asce;
    EurocodeElasticParameters eurocode;
    TargetSpectrum file;  // Kind::File: periods (s, ascending) and Sa (g)

    // Sa (g) at `period` (s, >= 0); NaN where a file target does not reach.
    double Sa(double period) const;
    // The name shown in reports and figures.
    std::string Name() const;
    // The curve drawn for the target, up to `maxPeriod` (s) for a code spectrum.
    TargetSpectrum Curve(double maxPeriod) const;
};

}  // namespace travik
