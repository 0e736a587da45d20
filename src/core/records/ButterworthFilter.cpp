#include "core/records/ButterworthFilter.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace travik {
namespace {

using Complex = std::complex<double>;

// Zeros, poles and gain of a filter, analog or digital.
struct ZerosPolesGain {
    std::vector<Complex> zeros;
    std::vector<Complex> poles;
    double gain = 1.0;
};

// Analog Butterworth prototype of unit cut-off: the order's poles evenly spaced on the
// left half of the unit circle, no zeros, unit gain.
ZerosPolesGain Prototype(int order) {
    ZerosPolesGain zpk;
    for (int m = -order + 1; m < order; m += 2) {
        zpk.poles.push_back(-std::exp(Complex(0.0, std::numbers::pi * m / (2.0 * order))));
    }
    return zpk;
}

Complex Product(const std::vector<Complex>& values, Complex offset, double sign) {
    Complex product(1.0, 0.0);
    for (const Complex& value : values) {
        product *= offset + sign * value;
    }
    return product;
}

// Frequency transformations of the prototype (s -> s/w, w/s, (s^2 + w0^2)/(s bw)).
ZerosPolesGain ToLowPass(const ZerosPolesGain& prototype, double omega) {
    ZerosPolesGain zpk;
    for (const Complex& p : prototype.poles) {
        zpk.poles.push_back(omega * p);
    }
    zpk.gain = prototype.gain * std::pow(omega, static_cast<double>(prototype.poles.size()));
    return zpk;
}

ZerosPolesGain ToHighPass(const ZerosPolesGain& prototype, double omega) {
    ZerosPolesGain zpk;
    for (const Complex& p : prototype.poles) {
        zpk.poles.push_back(omega / p);
    }
    zpk.zeros.assign(prototype.poles.size(), Complex(0.0, 0.0));
    zpk.gain = prototype.gain / Product(prototype.poles, Complex(0.0, 0.0), -1.0).real();
    return zpk;
}

ZerosPolesGain ToBandPass(const ZerosPolesGain& prototype, double omegaLow, double omegaHigh) {
    const double bandwidth = omegaHigh - omegaLow;
    const double centreSquared = omegaLow * omegaHigh;
    ZerosPolesGain zpk;
    for (const Complex& p : prototype.poles) {
        const Complex scaled = p * (bandwidth / 2.0);
        const Complex root = std::sqrt(scaled * scaled - centreSquared);
        zpk.poles.push_back(scaled + root);
        zpk.poles.push_back(scaled - root);
    }
    zpk.zeros.assign(prototype.poles.size(), Complex(0.0, 0.0));
    zpk.gain = prototype.gain * std::pow(bandwidth, static_cast<double>(prototype.poles.size()));
    return zpk;
}

// s = 2 fs (z - 1) / (z + 1); the zeros at infinity go to z = -1.
ZerosPolesGain Bilinear(const ZerosPolesGain& analog, double sampleRate) {
    const double twoFs = 2.0 * sampleRate;
    ZerosPolesGain digital;
    for (const Complex& z : analog.zeros) {
        digital.zeros.push_back((twoFs + z) / (twoFs - z));
    }
    for (const Complex& p : analog.poles) {
        digital.poles.push_back((twoFs + p) / (twoFs - p));
    }
    digital.zeros.resize(analog.poles.size(), Complex(-1.0, 0.0));
    digital.gain = analog.gain * (Product(analog.zeros, Complex(twoFs, 0.0), -1.0) /
                                  Product(analog.poles, Complex(twoFs, 0.0), -1.0))
                                     .real();
    return digital;
}

// Groups conjugate pole pairs (and pairs of real poles) into sections, each with two of
// the zeros, which all lie at z = 1 or z = -1; a band-pass section takes one of each.
std::vector<SecondOrderSection> ToSections(const ZerosPolesGain& digital) {
    std::vector<double> realPoles;
    std::vector<Complex> upperPoles;
    for (const Complex& p : digital.poles) {
        const double tolerance = 1e-12 * std::max(1.0, std::abs(p));
        if (std::abs(p.imag()) <= tolerance) {
            realPoles.push_back(p.real());
        } else if (p.imag() > 0.0) {
            upperPoles.push_back(p);
        }
    }
    std::vector<double> zerosAtPlusOne;
    std::vector<double> zerosAtMinusOne;
    int plusOne = 0;
    int minusOne = 0;
    for (const Complex& z : digital.zeros) {
        (z.real() > 0.0 ? plusOne : minusOne) += 1;
    }
    // Next zero for a section: alternate between +1 and -1 while both remain.
    bool lastWasPlus = false;
    const auto nextZero = [&]() -> double {
        const bool takePlus = plusOne > 0 && (minusOne == 0 || !lastWasPlus);
        lastWasPlus = takePlus;
        if (takePlus) {
            --plusOne;
            return 1.0;
        }
        --minusOne;
        return -1.0;
    };

    std::vector<SecondOrderSection> sections;
    const auto addSection = [&](double a1, double a2, int poleCount) {
        SecondOrderSection section;
        section.a1 = a1;
        section.a2 = a2;
        if (poleCount == 2) {
            const double z1 = nextZero();
            const double z2 = nextZero();
            section.b1 = -(z1 + z2);
            section.b2 = z1 * z2;
        } else {
            section.b1 = -nextZero();
        }
        sections.push_back(section);
    };
    for (const Complex& p : upperPoles) {
        addSection(-2.0 * p.real(), std::norm(p), 2);
    }
    for (std::size_t i = 0; i + 1 < realPoles.size(); i += 2) {
        addSection(-(realPoles[i] + realPoles[i + 1]), realPoles[i] * realPoles[i + 1], 2);
    }
    if (realPoles.size() % 2 == 1) {
        addSection(-realPoles.back(), 0.0, 1);
    }
    if (!sections.empty()) {
        sections.front().b0 *= digital.gain;
        sections.front().b1 *= digital.gain;
        sections.front().b2 *= digital.gain;
    }
    return sections;
}

void RunSectionsInPlace(const std::vector<SecondOrderSection>& sections,
                        std::vector<double>& series) {
    for (const SecondOrderSection& s : sections) {
        double z1 = 0.0;
        double z2 = 0.0;
        for (double& value : series) {
            const double x = value;
            const double y = s.b0 * x + z1;
            z1 = s.b1 * x - s.a1 * y + z2;
            z2 = s.b2 * x - s.a2 * y;
            value = y;
        }
    }
}

}  // namespace

std::optional<ButterworthDesign> DesignButterworth(const FilterSettings& settings,
                                                   double timeStep) {
    if (settings.CheckTimeStep(timeStep)) {
        return std::nullopt;
    }
    const double sampleRate = 1.0 / timeStep;
    const auto warp = [sampleRate](double frequency) {
        return 2.0 * sampleRate * std::tan(std::numbers::pi * frequency / sampleRate);
    };
    const ZerosPolesGain prototype = Prototype(settings.order);
    ZerosPolesGain analog;
    switch (settings.band) {
        case FilterBand::LowPass:
            analog = ToLowPass(prototype, warp(settings.highCorner));
            break;
        case FilterBand::HighPass:
            analog = ToHighPass(prototype, warp(settings.lowCorner));
            break;
        case FilterBand::BandPass:
            analog = ToBandPass(prototype, warp(settings.lowCorner), warp(settings.highCorner));
            break;
    }
    ButterworthDesign design;
    design.settings = settings;
    design.timeStep = timeStep;
    design.sections = ToSections(Bilinear(analog, sampleRate));
    return design;
}

std::vector<double> RunSections(const std::vector<SecondOrderSection>& sections,
                                std::span<const double> input) {
    std::vector<double> series(input.begin(), input.end());
    RunSectionsInPlace(sections, series);
    return series;
}

int PadSampleCount(const FilterSettings& settings, double timeStep) {
    // A billionth of a step of slack: 30 s at 0.01 s is 3000 samples, not 3001 by rounding.
    return static_cast<int>(std::ceil(0.5 * settings.PadDuration() / timeStep - 1e-9));
}

PaddedSeries FilterSeriesPadded(const ButterworthDesign& design, std::span<const double> input) {
    PaddedSeries result;
    result.pad = static_cast<std::size_t>(PadSampleCount(design.settings, design.timeStep));
    result.count = input.size();
    result.values.assign(input.size() + 2 * result.pad, 0.0);
    std::copy(input.begin(), input.end(),
              result.values.begin() + static_cast<std::ptrdiff_t>(result.pad));
    RunSectionsInPlace(design.sections, result.values);
    if (design.settings.acausal) {
        std::reverse(result.values.begin(), result.values.end());
        RunSectionsInPlace(design.sections, result.values);
        std::reverse(result.values.begin(), result.values.end());
    }
    return result;
}

std::vector<double> FilterSeries(const ButterworthDesign& design, std::span<const double> input) {
    const PaddedSeries padded = FilterSeriesPadded(design, input);
    const std::span<const double> inner = padded.Inner();
    return std::vector<double>(inner.begin(), inner.end());
}

double FilterGain(const ButterworthDesign& design, double frequency) {
    const Complex zInverse =
        std::exp(Complex(0.0, -2.0 * std::numbers::pi * frequency * design.timeStep));
    Complex response(1.0, 0.0);
    for (const SecondOrderSection& s : design.sections) {
        response *= (s.b0 + zInverse * (s.b1 + zInverse * s.b2)) /
                    (1.0 + zInverse * (s.a1 + zInverse * s.a2));
    }
    const double magnitude = std::abs(response);
    return design.settings.acausal ? magnitude * magnitude : magnitude;
}

}  // namespace travik
