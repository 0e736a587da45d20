// The two report writers on records built from arbitrary bytes: the file name (any bytes
// a file system may hold), the time step, the correction and the samples. Every line
// written must be showable text with no line break inside, and the header must keep its
// shape whatever the name holds.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzChecks.h"
#include "core/analysis/AnalysisSettings.h"
#include "core/export/SpectraReport.h"
#include "core/export/TimeHistoryReport.h"
#include "core/records/CorrectedSet.h"
#include "core/records/TimeHistory.h"

using travik::fuzz::Require;
using travik::fuzz::RequireShowable;

namespace {

void RequireReportLines(const travik::ReportLines& lines) {
    for (const std::string& line : lines) {
        RequireShowable(line, "report line not showable");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const std::size_t nameLength = data[0] % 24;
    constexpr double kTimeSteps[] = {0.01, 0.005, 0.02, 1e-6, 0.5};
    const double timeStep = kTimeSteps[data[1] % 5];
    const auto correction = static_cast<travik::BaselineCorrectionType>(data[2] % 3);
    std::size_t pos = 3;
    const std::size_t nameEnd = std::min(size, pos + nameLength);
    std::string name(reinterpret_cast<const char*>(data) + pos, nameEnd - pos);
    pos = nameEnd;

    travik::TimeHistory record(name, timeStep);
    // Samples as the reader could deliver them: finite numbers, here within +-10 g.
    for (; pos + sizeof(double) <= size && record.SampleCount() < 256; pos += sizeof(double)) {
        double sample = 0;
        std::memcpy(&sample, data + pos, sizeof sample);
        if (std::isfinite(sample) && std::fabs(sample) <= 10.0) {
            record.AppendAcceleration(sample);
        }
    }
    if (record.SampleCount() == 0) {
        return 0;
    }
    constexpr double kGravity = 980.0;
    travik::IntegrateMotion(record, kGravity, travik::MotionSet::Raw);
    record.SetIntegrated(true);
    if (correction != travik::BaselineCorrectionType::None) {
        travik::ApplyBaselineCorrection(record, correction, kGravity);
    }

    const travik::ReportDate date{2026, 12, 9};
    travik::ReportLines lines;
    travik::BuildTimeHistoryReport(lines, record, travik::kSoftwareEdition, date);
    Require(lines.size() == 8 + static_cast<std::size_t>(record.SampleCount()),
            "time-history report line count");
    RequireReportLines(lines);

    travik::AnalysisSettings settings;
    settings.maxDtOverT = 0.25;  // few sub-steps: the writer is under test, not the speed
    const std::vector<double> damping{0.0, 0.05};
    const std::vector<double> periods{0.0, 0.05, 1.0};
    travik::BuildSpectraReport(lines, record, settings, damping, periods, travik::kSoftwareEdition,
                               date, nullptr);
    Require(lines.size() == 8 + periods.size(), "spectra report line count");
    RequireReportLines(lines);
    return 0;
}
