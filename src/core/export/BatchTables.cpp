#include "core/export/BatchTables.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <vector>

namespace travik {

std::string ExactNumber(double value) {
    std::array<char, 32> buffer{};
    const std::to_chars_result end =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return {buffer.data(), end.ptr};
}

std::string SpectraTableHeading() {
    return "record,channel,damping_percent,period_s,Sd_cm,Sv_cm_s,Sa_g,PSv_cm_s,PSa_g";
}

std::string SpectraTableRows(std::string_view record, std::string_view channel,
                             const SpectraResult& result) {
    const std::string prefix = CsvField(record) + ',' + CsvField(channel) + ',';
    constexpr std::array<SpectrumKind, kSpectrumKindCount> kOrder = {
        SpectrumKind::Displacement, SpectrumKind::Velocity, SpectrumKind::Acceleration,
        SpectrumKind::PseudoVelocity, SpectrumKind::PseudoAcceleration};
    std::string rows;
    for (std::size_t d = 0; d < result.dampingRatios.size(); ++d) {
        const std::string damping = ExactNumber(result.dampingRatios[d] * 100.0);
        for (std::size_t k = 1; k < result.periods.size(); ++k) {
            if (!result.Computed(d, k)) {
                continue;
            }
            rows += prefix;
            rows += damping;
            rows += ',';
            rows += ExactNumber(result.periods[k]);
            for (const SpectrumKind kind : kOrder) {
                rows += ',';
                rows += ExactNumber(result.Columns(kind)[d][k]);
            }
            rows += '\n';
        }
    }
    return rows;
}

std::string MeasuresTableHeading() {
    std::string heading = "record,channel";
    const GroundMotionMeasures none;
    for (const MeasureRow& row : MeasureRows(none)) {
        heading += ',';
        heading += CsvField(std::string(row.name) + " (" + row.unit + ")");
    }
    return heading;
}

std::string MeasuresTableRow(std::string_view record, std::string_view channel,
                             const GroundMotionMeasures& measures) {
    std::string line = CsvField(record) + ',' + CsvField(channel);
    for (const MeasureRow& row : MeasureRows(measures)) {
        line += ',';
        if (row.measure->Available()) {
            line += ExactNumber(row.measure->value);
        }
    }
    return line;
}

}  // namespace travik
