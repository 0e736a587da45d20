#pragma once

#include "core/analysis/SpectraComputation.h"

// The spectrum chart's axis lists. The X list (cbb5) picks the abscissa; the Y list (cbb7)
// holds the five spectrum kinds in SpectrumKind order, then the two fixed pairs: pseudo-
// velocity on the four-way (tripartite) paper and pseudo-acceleration against spectral
// displacement (Sa-Sd).
enum class AbscissaChoice { Period = 0, Frequency = 1, Displacement = 2 };
enum class OrdinateChoice {
    Displacement = 0,
    Velocity = 1,
    Acceleration = 2,
    PseudoVelocity = 3,
    PseudoAcceleration = 4,
    Tripartite = 5,
    Adrs = 6,
};

// The choice of a list's item index; no item (-1) or an index past the list is its first
// entry, so that nothing downstream meets a value outside the enumeration.
AbscissaChoice AbscissaOfIndex(int index);
OrdinateChoice OrdinateOfIndex(int index);

// The spectrum kind an ordinate choice draws (the tripartite chart pseudo-velocity, the
// Sa-Sd chart pseudo-acceleration).
travik::SpectrumKind KindOf(OrdinateChoice ordinate);
