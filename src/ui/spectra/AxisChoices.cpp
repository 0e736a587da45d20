#include "ui/spectra/AxisChoices.h"

AbscissaChoice AbscissaOfIndex(int index) {
    return index >= 0 && index <= static_cast<int>(AbscissaChoice::Displacement)
               ? static_cast<AbscissaChoice>(index)
               : AbscissaChoice::Period;
}

OrdinateChoice OrdinateOfIndex(int index) {
    return index >= 0 && index <= static_cast<int>(OrdinateChoice::Adrs)
               ? static_cast<OrdinateChoice>(index)
               : OrdinateChoice::Displacement;
}

travik::SpectrumKind KindOf(OrdinateChoice ordinate) {
    switch (ordinate) {
        case OrdinateChoice::Tripartite:
            return travik::SpectrumKind::PseudoVelocity;
        case OrdinateChoice::Adrs:
            return travik::SpectrumKind::PseudoAcceleration;
        default:
            // The first five entries are the spectrum kinds in their own order.
            return static_cast<travik::SpectrumKind>(static_cast<int>(ordinate));
    }
}
