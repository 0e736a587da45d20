#include "text/NumberParse.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <system_error>

namespace travik {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string_view TrimControlAndBlanks(std::string_view text) {
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<double> TryParseNumber(std::string_view text, char decimalSeparator) {
    const std::string_view trimmed = TrimControlAndBlanks(text);
    std::size_t pos = 0;
    const auto at = [&](std::size_t i) { return i < trimmed.size() ? trimmed[i] : '\0'; };

    bool negative = false;
    if (at(pos) == '+' || at(pos) == '-') {
        negative = at(pos) == '-';
        ++pos;
    }
    // The number is rebuilt with a full stop so that the conversion never sees the locale.
    std::string mantissa;
    bool hasSeparator = false;
    int integerDigits = 0;
    while (IsDigit(at(pos))) {
        mantissa.push_back(at(pos++));
        ++integerDigits;
    }
    // Where the user's separator is another character, the full stop is accepted too:
    // records and habits written with it still read. A number holds at most one
    // separator, so neither character can act as a thousands separator.
    const auto isSeparator = [decimalSeparator](char c) {
        return c == decimalSeparator || c == '.';
    };
    if (pos < trimmed.size() && isSeparator(trimmed[pos])) {
        hasSeparator = true;
        mantissa.push_back('.');
        ++pos;
        while (IsDigit(at(pos))) {
            mantissa.push_back(at(pos++));
        }
    }
    const bool hasMantissaDigit = mantissa.find_first_of("0123456789") != std::string::npos;
    if (!hasMantissaDigit && !hasSeparator) {
        return std::nullopt;
    }

    long long exponent = 0;
    bool hasExponent = false;
    if (at(pos) == 'e' || at(pos) == 'E') {
        ++pos;
        bool exponentNegative = false;
        if (at(pos) == '+' || at(pos) == '-') {
            exponentNegative = at(pos) == '-';
            ++pos;
        }
        if (!IsDigit(at(pos))) {
            return std::nullopt;
        }
        while (IsDigit(at(pos))) {
            if (exponent < 100000) {
                exponent = exponent * 10 + (at(pos) - '0');
            }
            ++pos;
        }
        if (exponentNegative) {
            exponent = -exponent;
        }
        hasExponent = true;
    }
    if (pos != trimmed.size()) {
        return std::nullopt;
    }
    if (!hasMantissaDigit) {
        // A lone separator ("." or "-.e5") stands for zero.
        return negative ? -0.0 : 0.0;
    }

    std::string normalized = mantissa;
    if (normalized.front() == '.') {
        normalized.insert(normalized.begin(), '0');
    }
    if (hasExponent) {
        normalized += 'e';
        normalized += std::to_string(exponent);
    }
    double value = 0.0;
    const auto result =
        std::from_chars(normalized.data(), normalized.data() + normalized.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Decide between overflow (not a number) and underflow (zero) by the decimal
        // exponent of the first significant digit.
        const std::size_t firstNonZero = mantissa.find_first_of("123456789");
        if (firstNonZero == std::string::npos) {
            value = 0.0;
        } else {
            // Mantissa index of the first significant digit; the separator sits at
            // index integerDigits when there is one.
            const long long first = static_cast<long long>(firstNonZero);
            const long long magnitude =
                exponent +
                (first < integerDigits ? integerDigits - 1 - first : integerDigits - first);
            if (magnitude > 0) {
                return std::nullopt;
            }
            value = 0.0;
        }
    } else if (result.ec != std::errc{} || result.ptr != normalized.data() + normalized.size()) {
        return std::nullopt;
    }
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

double ParseNumberOrThrow(std::string_view text, char decimalSeparator) {
    const std::optional<double> value = TryParseNumber(text, decimalSeparator);
    if (!value) {
        throw ConversionError("'" + std::string(TrimControlAndBlanks(text)) +
                              "' is not a valid floating point value");
    }
    return *value;
}

std::string NotAValidFloatingNumberMessage(std::string_view editText) {
    std::string message;
    message.reserve(editText.size() + 40);
    message += '"';
    message += editText;
    message += "\" is not a valid floating number!";
    return message;
}

}  // namespace travik
