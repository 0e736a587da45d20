#include "core/text/NumberParse.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "core/text/ShownText.h"

namespace travik {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Far beyond any exponent a double can use, far below where the arithmetic would wrap.
constexpr long long kExponentCap = 1'000'000'000'000'000LL;
// The largest double is about 1.8e308; the smallest subnormal about 4.9e-324, so anything
// below 1e-325 rounds to zero.
constexpr long long kLargestMagnitude = 308;
constexpr long long kSmallestMagnitude = -325;

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

std::optional<unsigned long long> TryParsePlainWholeNumber(std::string_view text,
                                                           unsigned long long largest) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos ||
        (text.size() > 1 && text.front() == '0')) {
        return std::nullopt;
    }
    unsigned long long value = 0;
    for (const char digit : text) {
        const auto d = static_cast<unsigned long long>(digit - '0');
        if (value > (largest - d) / 10) {
            return std::nullopt;
        }
        value = value * 10 + d;
    }
    return value;
}

namespace {

// A number's text taken apart: sign, digits with a full stop where the separator was, and
// the exponent (capped at kExponentCap in magnitude).
struct ScannedNumber {
    bool negative = false;
    std::string mantissa;
    bool hasSeparator = false;
    long long integerDigits = 0;
    long long exponent = 0;
};

// The exponent after an 'e' or 'E' at `pos`, if any; read to its end whatever its length:
// beyond kExponentCap it cannot change the outcome (overflow or zero), but it must still be
// taken into account. Nothing when the letter has no digits after it.
std::optional<long long> ScanExponent(std::string_view text, std::size_t& pos) {
    const auto at = [&](std::size_t i) { return i < text.size() ? text[i] : '\0'; };
    long long exponent = 0;
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
            exponent = std::min(exponent * 10 + (at(pos) - '0'), kExponentCap);
            ++pos;
        }
        if (exponentNegative) {
            exponent = -exponent;
        }
    }
    return exponent;
}

std::optional<ScannedNumber> ScanNumber(std::string_view trimmed, char decimalSeparator) {
    ScannedNumber number;
    std::size_t pos = 0;
    const auto at = [&](std::size_t i) { return i < trimmed.size() ? trimmed[i] : '\0'; };
    if (at(pos) == '+' || at(pos) == '-') {
        number.negative = at(pos) == '-';
        ++pos;
    }
    // The number is rebuilt with a full stop so that the conversion never sees the locale.
    while (IsDigit(at(pos))) {
        number.mantissa.push_back(at(pos++));
        ++number.integerDigits;
    }
    // Where the user's separator is another character, the full stop is accepted too:
    // records and habits written with it still read. A number holds at most one
    // separator, so neither character can act as a thousands separator.
    const auto isSeparator = [decimalSeparator](char c) {
        return c == decimalSeparator || c == '.';
    };
    if (pos < trimmed.size() && isSeparator(trimmed[pos])) {
        number.hasSeparator = true;
        number.mantissa.push_back('.');
        ++pos;
        while (IsDigit(at(pos))) {
            number.mantissa.push_back(at(pos++));
        }
    }
    const bool hasMantissaDigit = number.mantissa.find_first_of("0123456789") != std::string::npos;
    if (!hasMantissaDigit && !number.hasSeparator) {
        return std::nullopt;
    }
    const std::optional<long long> exponent = ScanExponent(trimmed, pos);
    if (!exponent || pos != trimmed.size()) {
        return std::nullopt;
    }
    number.exponent = *exponent;
    return number;
}

// The double nearest to a scanned number; nothing when it overflows.
std::optional<double> ConvertScanned(const ScannedNumber& number) {
    const std::string& mantissa = number.mantissa;
    const bool negative = number.negative;
    // No significant digit (a lone separator such as "." or "-.e5", or zeros): zero.
    const std::size_t firstNonZero = mantissa.find_first_of("123456789");
    if (firstNonZero == std::string::npos) {
        return negative ? -0.0 : 0.0;
    }
    // Decimal exponent of the first significant digit: the value lies in
    // [10^magnitude, 10^(magnitude + 1)). The separator sits at index integerDigits.
    const long long first = static_cast<long long>(firstNonZero);
    const long long integerDigits = number.integerDigits;
    const long long magnitude = number.exponent + (first < integerDigits ? integerDigits - 1 - first
                                                                         : integerDigits - first);
    if (magnitude > kLargestMagnitude) {
        return std::nullopt;
    }
    if (magnitude < kSmallestMagnitude) {
        // Below half the smallest subnormal double: the value rounds to zero.
        return negative ? -0.0 : 0.0;
    }

    // Rebuilt as d.ddd...e<magnitude>: every significant digit is kept (the conversion
    // rounds correctly however many there are), the exponent is small.
    const std::size_t lastNonZero = mantissa.find_last_of("123456789");
    std::string normalized;
    normalized.reserve(lastNonZero - firstNonZero + 24);
    normalized.push_back(mantissa[firstNonZero]);
    normalized.push_back('.');
    for (std::size_t i = firstNonZero + 1; i <= lastNonZero; ++i) {
        if (mantissa[i] != '.') {
            normalized.push_back(mantissa[i]);
        }
    }
    normalized += 'e';
    normalized += std::to_string(magnitude);

    double value = 0.0;
    const auto result =
        std::from_chars(normalized.data(), normalized.data() + normalized.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (magnitude > 0) {
            return std::nullopt;
        }
        value = 0.0;  // truly below the smallest subnormal once rounded
    } else if (result.ec != std::errc{} || result.ptr != normalized.data() + normalized.size()) {
        return std::nullopt;
    }
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

}  // namespace

std::optional<double> TryParseNumber(std::string_view text, char decimalSeparator) {
    const std::optional<ScannedNumber> number =
        ScanNumber(TrimControlAndBlanks(text), decimalSeparator);
    if (!number) {
        return std::nullopt;
    }
    return ConvertScanned(*number);
}

double ParseNumberOrThrow(std::string_view text, char decimalSeparator) {
    const std::optional<double> value = TryParseNumber(text, decimalSeparator);
    if (!value) {
        throw ConversionError("'" + ShownTextCut(TrimControlAndBlanks(text)) +
                              "' is not a valid floating point value");
    }
    return *value;
}

std::string NotAValidFloatingNumberMessage(std::string_view editText) {
    return '"' + ShownTextCut(editText) + "\" is not a valid floating number!";
}

}  // namespace travik
