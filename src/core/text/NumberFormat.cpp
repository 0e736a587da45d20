#include "core/text/NumberFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>
#include <utility>

namespace travik {
namespace {

// A finite non-negative value as decimal digits: value = 0.d1d2d3... x 10^(pointPosition),
// with no leading zeros unless the value is zero ("0"). At most 17 digits.
struct DecimalDigits {
    std::array<char, 24> digits{};
    int length = 0;
    int pointPosition = 0;  // number of digits before the decimal point
};

// Shortest round-trip decimal form of |value|, so that rounding works on the digits a
// person would read, not on the binary expansion.
DecimalDigits ShortestDigits(double magnitude) {
    std::array<char, 32> buffer{};
    const char* end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                    std::chars_format::scientific)
                          .ptr;
    DecimalDigits out;
    const char* c = buffer.data();
    for (; c != end && *c != 'e'; ++c) {
        if (*c != '.') {
            out.digits[static_cast<std::size_t>(out.length++)] = *c;
        }
    }
    int exponent = 0;
    std::from_chars(c + 1 + (c[1] == '+' ? 1 : 0), end, exponent);
    out.pointPosition = exponent + 1;
    return out;
}

// round(|value| * 10^decimals) as decimal digits, ties away from zero on the shortest form,
// written from scaled[1] on (scaled[0] takes the carry of a rounding up). `scaled` holds
// max(pointPosition + decimals, 1) + 1 characters. Returns the first digit and the count.
std::pair<char*, std::size_t> ScaledRoundedDigits(const DecimalDigits& number, int decimals,
                                                  char* scaled) {
    const int keep = number.pointPosition + decimals;  // digits that stay before rounding
    char* const first = scaled + 1;
    if (keep >= number.length) {
        std::copy_n(number.digits.data(), number.length, first);
        std::fill_n(first + number.length, keep - number.length, '0');
        return {first, static_cast<std::size_t>(keep)};
    }
    if (keep <= 0) {
        // Only "0" stays; it rounds up to "1" when the first dropped digit is 5 or more.
        *first = keep == 0 && number.digits[0] >= '5' ? '1' : '0';
        return {first, 1};
    }
    std::copy_n(number.digits.data(), keep, first);
    if (number.digits[static_cast<std::size_t>(keep)] >= '5') {
        for (char* digit = first + keep; digit-- != first;) {
            if (*digit != '9') {
                ++*digit;
                return {first, static_cast<std::size_t>(keep)};
            }
            *digit = '0';
        }
        *scaled = '1';
        return {scaled, static_cast<std::size_t>(keep) + 1};
    }
    return {first, static_cast<std::size_t>(keep)};
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

    const auto minIntegerDigits =
        static_cast<std::size_t>(std::count(integerPattern.begin(), integerPattern.end(), '0'));
    const std::size_t maxDecimals = fractionPattern.size();
    const std::size_t minDecimals =
        std::min(fractionPattern.find_first_not_of('0'), fractionPattern.size());

    // The digits are worked on in place: on the stack for every usual pattern and value, in
    // a string only for huge values or patterns (reports write millions of these).
    const DecimalDigits digits = ShortestDigits(std::fabs(value));
    const auto room = static_cast<std::size_t>(
                          std::max(digits.pointPosition + static_cast<int>(maxDecimals), 1)) +
                      2;
    std::array<char, 96> local{};
    std::string large;
    char* buffer = local.data();
    if (room > local.size()) {
        large.resize(room);
        buffer = large.data();
    }
    const std::pair<char*, std::size_t> rounding =
        ScaledRoundedDigits(digits, static_cast<int>(maxDecimals), buffer);
    const char* const scaled = rounding.first;
    const std::size_t length = rounding.second;
    const std::string_view rounded(scaled, length);
    const bool negative =
        std::signbit(value) && rounded.find_first_not_of('0') != std::string_view::npos;

    // Zeros in front up to the pattern's compulsory digits, then the integer digits without
    // leading zeros beyond those ("#.##" of 0.5 is ".5"), and the decimals without trailing
    // zeros beyond the pattern's compulsory ones.
    const std::size_t padding =
        length < maxDecimals + minIntegerDigits ? maxDecimals + minIntegerDigits - length : 0;
    const auto digitAt = [&](std::size_t i) { return i < padding ? '0' : scaled[i - padding]; };
    const std::size_t total = padding + length;
    const std::size_t integerLength = total - maxDecimals;
    std::size_t firstSignificant = 0;
    while (firstSignificant < integerLength && digitAt(firstSignificant) == '0') {
        ++firstSignificant;
    }
    const std::size_t dropLimit =
        integerLength > minIntegerDigits ? integerLength - minIntegerDigits : 0;
    const std::size_t integerStart = std::min(firstSignificant, dropLimit);
    std::size_t fractionEnd = total;
    while (fractionEnd - integerLength > minDecimals && digitAt(fractionEnd - 1) == '0') {
        --fractionEnd;
    }

    std::string text;
    text.reserve(total + 3);
    if (negative) {
        text += '-';
    }
    for (std::size_t i = integerStart; i < integerLength; ++i) {
        text += digitAt(i);
    }
    if (fractionEnd > integerLength) {
        text += decimalSeparator;
        for (std::size_t i = integerLength; i < fractionEnd; ++i) {
            text += digitAt(i);
        }
    }
    if (integerStart == integerLength && fractionEnd == integerLength) {
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
