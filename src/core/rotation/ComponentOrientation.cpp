#include "core/rotation/ComponentOrientation.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

namespace travik {
namespace {

std::string UpperTrimmed(std::string_view text) {
    std::string upper;
    for (const char c : text) {
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    const std::size_t first = upper.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    const std::size_t last = upper.find_last_not_of(" \t\r\n");
    return upper.substr(first, last - first + 1);
}

double Wrapped(double degrees, double period) {
    double wrapped = std::fmod(degrees, period);
    if (wrapped < 0.0) {
        wrapped += period;
    }
    // fmod of a value just below a multiple of the period may round up to the period.
    return wrapped >= period ? 0.0 : wrapped;
}

// A leading decimal number and the rest of the text after it (blanks skipped).
std::optional<double> LeadingNumber(std::string_view text, std::string_view& rest) {
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || !std::isfinite(value)) {
        return std::nullopt;
    }
    rest = text.substr(static_cast<std::size_t>(end - text.data()));
    while (!rest.empty() && rest.front() == ' ') {
        rest.remove_prefix(1);
    }
    return value;
}

// "90", "360 DEG", "340 DEG.", "90°": a whole text that is an azimuth in degrees.
std::optional<double> Degrees(std::string_view text) {
    std::string_view rest;
    const std::optional<double> value = LeadingNumber(text, rest);
    if (!value || *value < 0.0 || *value > 360.0) {
        return std::nullopt;
    }
    if (rest.empty() || rest == "DEG" || rest == "DEG." || rest == "DEGREES" ||
        rest == "\xC2\xB0") {
        return Wrapped(*value, 360.0);
    }
    return std::nullopt;
}

// "S69E", "N21W", "N 45 E": the angle from north or south towards east or west.
std::optional<double> QuadrantBearing(std::string_view text) {
    if (text.size() < 3 || (text.front() != 'N' && text.front() != 'S') ||
        (text.back() != 'E' && text.back() != 'W')) {
        return std::nullopt;
    }
    std::string_view inner = text.substr(1, text.size() - 2);
    while (!inner.empty() && inner.front() == ' ') {
        inner.remove_prefix(1);
    }
    std::string_view rest;
    const std::optional<double> angle = LeadingNumber(inner, rest);
    if (!angle || !rest.empty() || *angle > 90.0) {
        return std::nullopt;
    }
    const bool north = text.front() == 'N';
    const bool east = text.back() == 'E';
    const double azimuth =
        north ? (east ? *angle : 360.0 - *angle) : (east ? 180.0 - *angle : 180.0 + *angle);
    return Wrapped(azimuth, 360.0);
}

bool NamesVertical(const std::string& text) {
    for (const char* name : {"U-D", "UP", "DOWN", "VERT"}) {
        if (text.find(name) != std::string::npos) {
            return true;
        }
    }
    return text == "V" || text == "Z" || text == "UD" || text == "DWN";
}

// Three-letter channel codes (band, instrument, orientation): "HNE", "HHN", "BNZ".
bool IsChannelCode(const std::string& text) {
    return text.size() == 3 && std::isalpha(static_cast<unsigned char>(text[0])) &&
           std::isalpha(static_cast<unsigned char>(text[1]));
}

}  // namespace

ComponentOrientation ReadComponentOrientation(std::string_view text) {
    ComponentOrientation orientation;
    const std::string upper = UpperTrimmed(text);
    if (upper.empty()) {
        return orientation;
    }
    if (NamesVertical(upper) || (IsChannelCode(upper) && upper[2] == 'Z')) {
        orientation.vertical = true;
        return orientation;
    }
    if (const std::optional<double> degrees = Degrees(upper)) {
        orientation.azimuth = degrees;
    } else if (const std::optional<double> bearing = QuadrantBearing(upper)) {
        orientation.azimuth = bearing;
    } else if (upper.find("N-S") != std::string::npos || upper == "NS" || upper == "N" ||
               (IsChannelCode(upper) && upper[2] == 'N')) {
        orientation.azimuth = 0.0;
    } else if (upper.find("E-W") != std::string::npos || upper == "EW" || upper == "E" ||
               (IsChannelCode(upper) && upper[2] == 'E')) {
        orientation.azimuth = 90.0;
    }
    return orientation;
}

bool AtRightAngles(double azimuth1, double azimuth2, double tolerance) {
    const double between = Wrapped(azimuth2 - azimuth1, 180.0);
    return std::fabs(between - 90.0) <= tolerance;
}

double RotatedAzimuth(double azimuth1, double azimuth2, double angle) {
    // H2 clockwise of H1 when it lies between 0 and 180 degrees clockwise of it.
    const bool clockwise = Wrapped(azimuth2 - azimuth1, 360.0) < 180.0;
    return Wrapped(clockwise ? azimuth1 + angle : azimuth1 - angle, 180.0);
}

}  // namespace travik
