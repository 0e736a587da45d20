#include "core/records/FilterSettings.h"

#include <cmath>

#include "core/text/NumberFormat.h"

namespace travik {
namespace {

constexpr int kMinOrder = 1;
constexpr int kMaxOrder = 8;

std::string Hz(double value) {
    return FormatGeneral(value) + " Hz";
}

}  // namespace

std::optional<FilterProblem> FilterSettings::CheckSettings() const {
    if (order < kMinOrder || order > kMaxOrder) {
        return FilterProblem{FilterField::Order,
                             "Filter order must be from 1 to 8 (is " + FormatInteger(order) + ")"};
    }
    const auto positive = [](FilterField field, const char* name,
                             double corner) -> std::optional<FilterProblem> {
        if (!std::isfinite(corner) || !(corner > 0.0)) {
            return FilterProblem{field, std::string(name) + " must be greater than 0 Hz (is " +
                                            FormatGeneral(corner) + ")"};
        }
        return std::nullopt;
    };
    if (band != FilterBand::LowPass) {
        if (auto problem = positive(FilterField::LowCorner, "Low corner frequency", lowCorner)) {
            return problem;
        }
    }
    if (band != FilterBand::HighPass) {
        if (auto problem = positive(FilterField::HighCorner, "High corner frequency", highCorner)) {
            return problem;
        }
    }
    if (band == FilterBand::BandPass && !(highCorner > lowCorner)) {
        return FilterProblem{FilterField::HighCorner,
                             "High corner frequency " + Hz(highCorner) +
                                 " must be above the low corner frequency " + Hz(lowCorner)};
    }
    return std::nullopt;
}

std::optional<FilterProblem> FilterSettings::CheckTimeStep(double timeStep) const {
    if (auto problem = CheckSettings()) {
        return problem;
    }
    if (!std::isfinite(timeStep) || !(timeStep > 0.0)) {
        return FilterProblem{FilterField::Record,
                             "The record's time step must be greater than 0 "
                             "s to filter it (is " +
                                 FormatGeneral(timeStep) + ")"};
    }
    const double nyquist = 0.5 / timeStep;
    const auto below = [nyquist](FilterField field, const char* name,
                                 double corner) -> std::optional<FilterProblem> {
        if (!(corner < nyquist)) {
            return FilterProblem{field, std::string(name) + " " + Hz(corner) +
                                            " must be below the Nyquist frequency " + Hz(nyquist) +
                                            " of the record"};
        }
        return std::nullopt;
    };
    if (band != FilterBand::LowPass) {
        if (auto problem = below(FilterField::LowCorner, "Low corner frequency", lowCorner)) {
            return problem;
        }
    }
    if (band != FilterBand::HighPass) {
        if (auto problem = below(FilterField::HighCorner, "High corner frequency", highCorner)) {
            return problem;
        }
    }
    return std::nullopt;
}

std::optional<FilterProblem> FilterSettings::Check(double timeStep, int sampleCount) const {
    if (auto problem = CheckTimeStep(timeStep)) {
        return problem;
    }
    // As PadSampleCount counts them, in floating point so that no count can overflow.
    const double padSamples = 2.0 * std::ceil(0.5 * PadDuration() / timeStep - 1e-9);
    if (!(padSamples + static_cast<double>(sampleCount) <= kMaxFilteredSamples)) {
        return FilterProblem{
            FilterField::Record,
            "Zero pads too long to compute: the zero pads of order " + FormatInteger(order) +
                " at " + Hz(PadCorner()) + " take 1.5 x order / corner = " +
                FormatNumber(PadDuration(), "0.###") + " s, " + FormatGeneral(padSamples) +
                " samples at " + FormatGeneral(timeStep) + " s; with the record's " +
                FormatInteger(sampleCount) + " samples that is more than the " +
                FormatGeneral(kMaxFilteredSamples) + " a filtered record may hold"};
    }
    return std::nullopt;
}

std::optional<std::string> FilterSettings::ResolutionWarning(double timeStep,
                                                             int sampleCount) const {
    const double length = static_cast<double>(sampleCount) * timeStep;
    const double lowest = 1.0 / length;
    if (!(length > 0.0) || !(PadCorner() < lowest)) {
        return std::nullopt;
    }
    const char* name =
        band == FilterBand::LowPass ? "High corner frequency " : "Low corner frequency ";
    return name + Hz(PadCorner()) + " is below " + FormatShown(lowest) +
           " Hz, the lowest frequency a record of " + FormatGeneral(length) +
           " s resolves (1 / its length): the record is filtered, but it holds no whole cycle "
           "at the corner";
}

std::string FilterSettings::Describe() const {
    std::string text = "Butterworth ";
    switch (band) {
        case FilterBand::LowPass:
            text += "low-pass " + Hz(highCorner);
            break;
        case FilterBand::HighPass:
            text += "high-pass " + Hz(lowCorner);
            break;
        case FilterBand::BandPass:
            text += "band-pass " + FormatGeneral(lowCorner) + "-" + Hz(highCorner);
            break;
    }
    text += ", order " + FormatInteger(order);
    text += acausal ? ", acausal" : ", causal";
    return text;
}

}  // namespace travik
