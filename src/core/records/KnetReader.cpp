// K-NET and KiK-net ASCII files of NIED (.EW, .NS, .UD; KiK-net .EW1, .NS2, ...): 17 header
// lines "label  value", then the acceleration in counts, eight to a line. Taken from the
// file: "Sampling Freq(Hz)" (e.g. 100Hz), "Duration Time(s)" (the point count is duration
// times sampling frequency), "Dir." (K-NET N-S, E-W, U-D; KiK-net 1-3 borehole, 4-6
// surface) and "Scale Factor" (e.g. 7845(gal)/8223790). As NIED documents, counts times the
// scale factor give gal, and the mean of the whole record is removed; gal are turned into g
// with 980.665 cm/s^2.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "core/records/FormatParsing.h"

namespace travik {
namespace {

using namespace format_detail;

constexpr std::size_t kHeaderLines = 17;
// Far more samples than any file holds (a day at 10 kHz is 8.6e8), and far below where the
// count would overflow a whole number.
constexpr double kMostAnnouncedSamples = 1e12;

struct HeaderLabel {
    std::size_t index;  // line, from 0
    std::string_view label;
};
constexpr HeaderLabel kOriginTime{0, "Origin Time"};
constexpr HeaderLabel kStationCode{5, "Station Code"};
constexpr HeaderLabel kSamplingFrequency{10, "Sampling Freq(Hz)"};
constexpr HeaderLabel kDuration{11, "Duration Time(s)"};
constexpr HeaderLabel kDirection{12, "Dir."};
constexpr HeaderLabel kScaleFactor{13, "Scale Factor"};

std::string_view ValueOf(std::string_view line, const HeaderLabel& label) {
    return Trim(line.substr(std::min(label.label.size(), line.size())));
}

bool EndsWithHz(std::string_view text) {
    return text.size() >= 2 && Upper(text.substr(text.size() - 2)) == "HZ";
}

std::string DirectionLabel(std::string_view direction) {
    static constexpr std::string_view kKiknet[] = {"N-S, borehole", "E-W, borehole",
                                                   "U-D, borehole", "N-S, surface",
                                                   "E-W, surface",  "U-D, surface"};
    if (direction.size() == 1 && direction[0] >= '1' && direction[0] <= '6') {
        return std::string(direction) + " (" +
               std::string(kKiknet[static_cast<std::size_t>(direction[0] - '1')]) + ")";
    }
    return std::string(direction);
}

}  // namespace

bool IsKnetFile(std::span<const std::string_view> firstLines) {
    if (firstLines.size() < kHeaderLines) {
        return false;
    }
    for (const HeaderLabel& label : {kOriginTime, kStationCode, kSamplingFrequency, kScaleFactor}) {
        if (!StartsWithNoCase(firstLines[label.index], label.label)) {
            return false;
        }
    }
    return true;
}

FormatReadResult ReadKnet(LineSource& lines, const std::string& fileName) {
    return ReadWithMessages(lines, fileName, [&](FormatReadResult& result) {
        std::vector<std::string> header;
        for (std::size_t i = 0; i < kHeaderLines; ++i) {
            header.emplace_back(RequireLine(lines, "the 17 header lines"));
        }
        const auto field = [&](const HeaderLabel& label) {
            if (!StartsWithNoCase(header[label.index], label.label)) {
                Fail(label.index + 1, "header line " + std::to_string(label.index + 1) +
                                          " does not begin with \"" + std::string(label.label) +
                                          "\"");
            }
            return ValueOf(header[label.index], label);
        };
        for (const HeaderLabel& label :
             {kOriginTime, kStationCode, kSamplingFrequency, kDuration, kDirection, kScaleFactor}) {
            field(label);
        }

        std::string_view frequencyText = field(kSamplingFrequency);
        if (EndsWithHz(frequencyText)) {
            frequencyText.remove_suffix(2);
        }
        const std::optional<double> frequency = ParseReal(frequencyText);
        std::optional<double> timeStep;
        if (frequency) {
            timeStep = *frequency > 0.0 ? 1.0 / *frequency : *frequency;
        }
        const double dt =
            RequireTimeStep(timeStep, kSamplingFrequency.index + 1, "\"Sampling Freq(Hz)\"");

        const std::optional<double> duration = ParseReal(field(kDuration));
        if (!duration || !(*duration > 0.0) || !std::isfinite(*duration * *frequency)) {
            Fail(kDuration.index + 1, "the duration \"" + std::string(field(kDuration)) +
                                          "\" is not a number of seconds greater than zero");
        }
        const double samples = std::round(*duration * *frequency);
        if (samples < 1.0) {
            Fail(kDuration.index + 1, "the duration \"" + std::string(field(kDuration)) +
                                          "\" at the sampling frequency gives no sample");
        }
        if (samples > kMostAnnouncedSamples) {
            Fail(kDuration.index + 1, "the duration \"" + std::string(field(kDuration)) +
                                          "\" at the sampling frequency gives more samples "
                                          "than a record can hold");
        }
        const auto count = static_cast<std::size_t>(samples);

        const std::string_view scaleText = field(kScaleFactor);
        const std::size_t gal = Upper(scaleText).find("(GAL)/");
        std::optional<double> numerator;
        std::optional<double> denominator;
        if (gal != std::string::npos) {
            numerator = ParseReal(scaleText.substr(0, gal));
            denominator = ParseReal(scaleText.substr(gal + 6));
        }
        if (!numerator || !denominator || !(*denominator != 0.0)) {
            Fail(kScaleFactor.index + 1, "the scale factor \"" + std::string(scaleText) +
                                             "\" is not of the form 7845(gal)/8223790");
        }
        const double galPerCount = *numerator / *denominator;

        const std::vector<double> counts =
            ReadValueBlock(lines, count, ValueLayout{}, true, fileName,
                           "the header (duration times sampling frequency)", result);
        std::vector<double> galValues(counts.size());
        double sum = 0.0;
        for (std::size_t i = 0; i < counts.size(); ++i) {
            galValues[i] = counts[i] * galPerCount;
            sum += galValues[i];
        }
        const double mean = sum / static_cast<double>(galValues.size());
        for (double& value : galValues) {
            value -= mean;
        }
        const std::string direction = DirectionLabel(field(kDirection));
        result.records.push_back(
            MakeRecord(fileName, dt, galValues, kStandardGravity, direction,
                       "counts (x " + std::string(scaleText) + ", mean removed)"));
        result.records.back().orientation = direction;
    });
}

}  // namespace travik
