#include "core/export/At2Writer.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "core/text/NumberFormat.h"
#include "core/text/ShownText.h"

namespace travik {
namespace {

constexpr int kValuesPerLine = 5;
constexpr int kFieldWidth = 15;
// Below this the exponent would need three digits, which E15.7 has no room for.
constexpr double kSmallest = 1e-99;

std::string PadLeft(std::string text, std::size_t width) {
    if (text.size() < width) {
        text.insert(0, width - text.size(), ' ');
    }
    return text;
}

}  // namespace

std::string At2FileName(std::string_view stem, double factor) {
    return std::string(stem) + "_x" + FormatNumber(factor, "0.0000") + ".AT2";
}

std::string FormatE15_7(double value) {
    if (!std::isfinite(value)) {
        return PadLeft(FormatNumber(value, "0"), kFieldWidth);
    }
    if (std::fabs(value) < kSmallest) {
        return PadLeft("0.0000000E+00", kFieldWidth);
    }
    // Seven significant digits d.dddddde±x, rounded once, then shifted to 0.ddddddd.
    char buffer[32];
    const std::to_chars_result done =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 6);
    const std::string text(buffer, done.ptr);
    const std::size_t e = text.find('e');
    const bool negative = text[0] == '-';
    const std::size_t first = negative ? 1 : 0;
    const std::string digits = text.substr(first, 1) + text.substr(first + 2, e - first - 2);
    const int exponent = std::atoi(text.c_str() + e + 1) + 1;
    if (exponent > 99) {
        return PadLeft(negative ? "-INF" : "INF", kFieldWidth);
    }
    std::string field = negative ? "-0." : "0.";
    field += digits;
    field += exponent < 0 ? "E-" : "E+";
    const int magnitude = std::abs(exponent);
    field += static_cast<char>('0' + magnitude / 10);
    field += static_cast<char>('0' + magnitude % 10);
    return PadLeft(field, kFieldWidth);
}

void WriteAt2(const ReportLineSink& sink, const At2Record& record) {
    const std::string factor = FormatGeneral(record.factor);
    sink("TRAVIK SCALED RECORD IN THE PEER NGA FORMAT");
    // The reader of these files takes the last comma-separated field as the component.
    sink(record.channel.empty()
             ? "Scaled from " + ShownText(record.sourceName) + ", factor " + factor
             : "Scaled from " + ShownText(record.sourceName) + " by " + factor + ", " +
                   ShownText(record.channel));
    sink("ACCELERATION TIME SERIES IN UNITS OF G");
    sink("NPTS=  " + FormatInteger(static_cast<long long>(record.acceleration.size())) +
         ", DT=  " + FormatGeneral(record.timeStep) + " SEC");
    std::string line;
    int onLine = 0;
    for (const double value : record.acceleration) {
        line += FormatE15_7(value);
        if (++onLine == kValuesPerLine) {
            sink(line);
            line.clear();
            onLine = 0;
        }
    }
    if (!line.empty()) {
        sink(line);
    }
}

}  // namespace travik
