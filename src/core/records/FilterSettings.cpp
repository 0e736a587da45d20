#include "records/FilterSettings.h"

#include <cmath>

#include "text/NumberFormat.h"

namespace travik {
namespace {

constexpr int kMinOrder = 1;
constexpr int kMaxOrder = 8;

std::string Hz(double value) {
    return FormatGeneral(value) + " Hz";
}

std::optional<FilterProblem> CheckCorner(FilterField field, const char* name, double corner,
                                         double nyquist) {
    if (!std::isfinite(corner) || !(corner > 0.0)) {
        return FilterProblem{field, std::string(name) + " must be greater than 0 Hz (is " +
                                        FormatGeneral(corner) + ")"};
    }
    if (!(corner < nyquist)) {
        return FilterProblem{field, std::string(name) + " " + Hz(corner) +
                                        " must be below the Nyquist frequency " + Hz(nyquist)};
    }
    return std::nullopt;
}

}  // namespace

std::optional<FilterProblem> FilterSettings::Check(double timeStep, int sampleCount) const {
    if (order < kMinOrder || order > kMaxOrder) {
        return FilterProblem{FilterField::Order, "Filter order must be from 1 to 8 (is " +
                                                     FormatInteger(order) + ")"};
    }
    if (!std::isfinite(timeStep) || !(timeStep > 0.0)) {
        return FilterProblem{FilterField::Record, "The record's time step must be greater than 0 "
                                                  "s to filter it (is " +
                                                      FormatGeneral(timeStep) + ")"};
    }
    const double nyquist = 0.5 / timeStep;
    if (band != FilterBand::LowPass) {
        if (auto problem =
                CheckCorner(FilterField::LowCorner, "Low corner frequency", lowCorner, nyquist)) {
            return problem;
        }
    }
    if (band != FilterBand::HighPass) {
        if (auto problem = CheckCorner(FilterField::HighCorner, "High corner frequency",
                                       highCorner, nyquist)) {
            return problem;
        }
    }
    if (band == FilterBand::BandPass && !(highCorner > lowCorner)) {
        return FilterProblem{FilterField::HighCorner,
                             "High corner frequency " + Hz(highCorner) +
                                 " must be above the low corner frequency " + Hz(lowCorner)};
    }
    const double recordDuration = static_cast<double>(sampleCount) * timeStep;
    if (recordDuration < PadDuration()) {
        return FilterProblem{
            FilterField::Record,
            "Record too short for the filter: " + FormatGeneral(recordDuration) +
                " s of record, but the zero pads of order " + FormatInteger(order) + " at " +
                Hz(PadCorner()) + " take 1.5 x order / corner = " +
                FormatNumber(PadDuration(), "0.###") + " s"};
    }
    return std::nullopt;
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
