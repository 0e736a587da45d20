#include "core/export/RotDTables.h"

#include <array>
#include <cstddef>
#include <stdexcept>

#include "core/export/BatchTables.h"
#include "core/text/ShownText.h"

namespace travik {
namespace {

std::size_t PercentileColumn(const RotatedSpectraResult& result, double percentile) {
    const std::vector<double>& asked = result.options.percentiles;
    for (std::size_t i = 0; i < asked.size(); ++i) {
        if (asked[i] == percentile) {
            return i;
        }
    }
    throw std::invalid_argument("the rotated spectra lack a percentile the table needs");
}

}  // namespace

std::string RotDTableHeading() {
    return "h1_record,h1_channel,h2_record,h2_channel,damping_percent,period_s,RotD00_g,"
           "RotD50_g,RotD100_g,RotD100_angle_deg,GMRotI50_g,H1_PSa_g,H2_PSa_g";
}

std::string RotDTableRows(std::string_view h1Record, std::string_view h1Channel,
                          std::string_view h2Record, std::string_view h2Channel,
                          const RotatedSpectraResult& result) {
    const std::array<std::size_t, 3> columns = {PercentileColumn(result, 0.0),
                                                PercentileColumn(result, 50.0),
                                                PercentileColumn(result, 100.0)};
    const std::string prefix = CsvField(h1Record) + ',' + CsvField(h1Channel) + ',' +
                               CsvField(h2Record) + ',' + CsvField(h2Channel) + ',';
    std::string rows;
    for (const RotatedDampingSpectra& damping : result.damping) {
        const std::string percent = ExactNumber(damping.dampingRatio * 100.0);
        for (std::size_t k = 0; k < damping.points.size(); ++k) {
            const RotatedSpectrumPoint& point = damping.points[k];
            if (!point.computed) {
                continue;
            }
            rows += prefix + percent + ',' + ExactNumber(result.options.periods[k]);
            for (const std::size_t column : columns) {
                rows += ',' + ExactNumber(point.psa.percentiles[column]);
            }
            rows += ',' + std::to_string(point.psa.maxAngle);
            rows += ',' + ExactNumber(damping.gmrotI50[k]);
            rows += ',' + ExactNumber(point.psa.h1);
            rows += ',' + ExactNumber(point.psa.h2);
            rows += '\n';
        }
    }
    return rows;
}

}  // namespace travik
