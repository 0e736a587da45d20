#pragma once

#include <cstddef>
#include <vector>

#include "core/rotation/RotatedSpectra.h"
#include "ui/figures/SpectrumFigures.h"

namespace travik::figures {

// The five curves of one damping value of a pair's rotated spectra, at the period 0 (the
// rotated peak ground accelerations) and every period computed: RotD50, RotD100 and
// GMRotI50 strong, then H1 and H2 thin (drawn over them). The other kinds are derived from PSa as
// pseudo-spectra (Sd = PSa g / omega^2, PSv = PSa g / omega), since only PSa is rotated. `g` in
// cm/sec^2.
std::vector<SpectrumCurve> RotatedSpectraCurves(const RotatedSpectraResult& result,
                                                std::size_t damping, double g);

}  // namespace travik::figures
