#include "core/text/NumberFormat.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace travik {
namespace {

// A finite non-negative value as decimal digits: value = 0.d1d2d3... x 10^(pointPosition).
struct DecimalDigits {
    std::string digits;     // no leading zeros unless the value is zero ("0")
    int pointPosition = 0;  // number of digits before the decimal point
};

// Shortest round-trip decimal form of |value|, so that rounding works on the digits a
// person would read, not on the binary expansion.
DecimalDigits ShortestDigits(double magnitude) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::scientific);
    const std::string_view text(buffer.data(),
                                static_cast<std::size_t>(result.ptr - buffer.data()));
    const std::size_t ePos = text.find('e');
    DecimalDigits out;
    for (const char c : text.substr(0, ePos)) {
        if (c != '.') {
            out.digits.push_back(c);
        }
    }
    int exponent = 0;
    const std::string_view exponentText = text.substr(ePos + 1);
    const char* first = exponentText.data();
    if (*first == '+') {
        ++first;
    }
    std::from_chars(first, exponentText.data() + exponentText.size(), exponent);
    out.pointPosition = exponent + 1;
    return out;
}

// Adds one to a string of decimal digits.
void IncrementDigits(std::string& digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            return;
        }
    }
    digits.insert(digits.begin(), '1');
}

// round(|value| * 10^decimals) as decimal digits, ties away from zero on the shortest form.
std::string ScaledRoundedDigits(const DecimalDigits& number, int decimals) {
    const int length = static_cast<int>(number.digits.size());
    const int keep = number.pointPosition + decimals;  // digits that stay before rounding
    if (keep >= length) {
        return number.digits + std::string(static_cast<std::size_t>(keep - length), '0');
    }
    if (keep < 0) {
        return "0";
    }
    std::string kept = keep == 0 ? std::string("0") : number.digits.substr(0, keep);
    if (number.digits[static_cast<std::size_t>(keep)] >= '5') {
        IncrementDigits(kept);
    }
    return kept;
}

bool IsAllZero(std::string_view digits) {
    return digits.find_first_not_of('0') == std::string_view::npos;
}

std::string NonFiniteText(double value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    return value < 0 ? "-INF" : "INF";
}

}  // namespace

std::string FormatNumber(double value, std::string_view pattern, char decimalSeparator) {
    if (!std::isfinite(value)) {
        return NonFiniteText(value);
    }
    const std::size_t point = pattern.find('.');
    const std::string_view integerPattern = pattern.substr(0, point);
    const std::string_view fractionPattern =
        point == std::string_view::npos ? std::string_view{} : pattern.substr(point + 1);

    int minIntegerDigits = 0;
    for (const char c : integerPattern) {
        minIntegerDigits += c == '0' ? 1 : 0;
    }
    const int maxDecimals = static_cast<int>(fractionPattern.size());
    int minDecimals = 0;
    for (const char c : fractionPattern) {
        if (c != '0') {
            break;
        }
        ++minDecimals;
    }

    std::string scaled = ScaledRoundedDigits(ShortestDigits(std::fabs(value)), maxDecimals);
    const bool negative = std::signbit(value) && !IsAllZero(scaled);
    const std::size_t wanted = static_cast<std::size_t>(maxDecimals + minIntegerDigits);
    if (scaled.size() < wanted) {
        scaled.insert(0, wanted - scaled.size(), '0');
    }
    const std::size_t integerLength = scaled.size() - static_cast<std::size_t>(maxDecimals);
    std::string integerPart = scaled.substr(0, integerLength);
    std::string fraction = scaled.substr(integerLength);
    // Without a compulsory integer digit, leading zeros are dropped ("#.##" of 0.5 is ".5").
    std::size_t firstSignificant = integerPart.find_first_not_of('0');
    if (firstSignificant == std::string::npos) {
        firstSignificant = integerPart.size();
    }
    const std::size_t dropLimit =
        integerPart.size() > static_cast<std::size_t>(minIntegerDigits)
            ? integerPart.size() - static_cast<std::size_t>(minIntegerDigits)
            : 0;
    integerPart.erase(0, std::min(firstSignificant, dropLimit));
    while (static_cast<int>(fraction.size()) > minDecimals && fraction.back() == '0') {
        fraction.pop_back();
    }

    std::string text = negative ? "-" : "";
    text += integerPart;
    if (!fraction.empty()) {
        text += decimalSeparator;
        text += fraction;
    }
    if (integerPart.empty() && fraction.empty()) {
        text += '0';
    }
    return text;
}

namespace {

// `value` to `significantDigits` digits, trailing zeros dropped: fixed notation for
// `smallestFixed` <= |value| < 10^`significantDigits`, scientific ("1.5E-6") otherwise.
std::string FormatSignificant(double value, int significantDigits, double smallestFixed,
                              char decimalSeparator) {
    if (!std::isfinite(value)) {
        return NonFiniteText(value);
    }
    if (value == 0.0) {
        return "0";
    }
    std::array<char, 64> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                      std::chars_format::scientific, significantDigits - 1);
    const std::string_view text(buffer.data(),
                                static_cast<std::size_t>(result.ptr - buffer.data()));
    const std::size_t ePos = text.find('e');
    std::string digits;
    for (const char c : text.substr(0, ePos)) {
        if (c != '.') {
            digits.push_back(c);
        }
    }
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    const int exponent = std::atoi(std::string(text.substr(ePos + 1)).c_str());

    std::string out = value < 0 ? "-" : "";
    const double rounded = std::fabs(value);
    if (exponent >= significantDigits || rounded < smallestFixed) {
        out += digits[0];
        if (digits.size() > 1) {
            out += decimalSeparator;
            out += digits.substr(1);
        }
        out += 'E';
        out += std::to_string(exponent);
        return out;
    }
    if (exponent < 0) {
        out += '0';
        out += decimalSeparator;
        out += std::string(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
        return out;
    }
    const std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
        out += digits;
        out += std::string(integerDigits - digits.size(), '0');
    } else {
        out += digits.substr(0, integerDigits);
        out += decimalSeparator;
        out += digits.substr(integerDigits);
    }
    return out;
}

}  // namespace

std::string FormatGeneral(double value, char decimalSeparator) {
    return FormatSignificant(value, 15, 1e-5, decimalSeparator);
}

std::string FormatShown(double value, char decimalSeparator) {
    return FormatSignificant(value, 6, 1e-4, decimalSeparator);
}

std::string FormatInteger(long long value) {
    return std::to_string(value);
}

}  // namespace travik
