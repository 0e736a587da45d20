// The number conversion against the C library's strtod on every text both accept, and the
// conversion's messages. The first byte picks the decimal separator.
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "FuzzChecks.h"
#include "core/text/NumberParse.h"

using travik::fuzz::Require;
using travik::fuzz::RequireShowable;

namespace {

// strtod also reads hexadecimal, infinities and NaNs, which the conversion refuses.
bool HasOnlyDecimalSyntax(const std::string& text) {
    return text.find_first_of("xXiInNpP") == std::string::npos;
}

void CompareWithStrtod(const std::string& text, const std::optional<double>& ours) {
    const std::string trimmed(travik::TrimControlAndBlanks(text));
    if (trimmed.empty() || trimmed.find('\0') != std::string::npos) {
        return;
    }
    errno = 0;
    char* end = nullptr;
    const double theirs = std::strtod(trimmed.c_str(), &end);
    const bool consumedAll = end == trimmed.c_str() + trimmed.size();
    if (ours) {
        // A lone separator ("." or "-.e5") is zero to the conversion, no number to strtod.
        if (!consumedAll) {
            Require(trimmed.find_first_of("0123456789") == std::string::npos ||
                        (trimmed.find_first_of("0123456789") > trimmed.find_first_of("eE")),
                    "accepted a text strtod does not read whole");
            return;
        }
        Require(std::isfinite(theirs), "accepted a text that overflows in strtod");
        Require(theirs == *ours && std::signbit(theirs) == std::signbit(*ours),
                "value differs from strtod");
    } else if (consumedAll && HasOnlyDecimalSyntax(trimmed)) {
        // Refused although strtod read it whole: only an overflow may cause that, and
        // the conversion's grammar is stricter about blanks inside ("1 e5" cannot occur).
        Require(std::isinf(theirs), "refused a decimal number strtod reads as finite");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    static const bool localeIsC = std::setlocale(LC_NUMERIC, "C") != nullptr;
    Require(localeIsC, "C locale");
    constexpr char kSeparators[] = {'.', ',', '?', '\xC3'};
    const char separator = kSeparators[data[0] % sizeof kSeparators];
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    const std::optional<double> value = travik::TryParseNumber(text, separator);
    if (value) {
        Require(std::isfinite(*value), "accepted a value that is not finite");
    }
    if (separator == '.') {
        CompareWithStrtod(text, value);
    }
    try {
        const double thrown = travik::ParseNumberOrThrow(text, separator);
        Require(value && (thrown == *value || (std::isnan(thrown) && std::isnan(*value))),
                "ParseNumberOrThrow disagrees with TryParseNumber");
    } catch (const travik::ConversionError& error) {
        Require(!value, "ParseNumberOrThrow refused an accepted text");
        const std::string message = error.what();
        // 64 characters of at most 4 bytes, or escapes of 4 to 6 bytes, and the fixed text.
        Require(message.size() <= 64 * 6 + 3 + 45, "message not cut");
        RequireShowable(message, "conversion message not showable");
    }
    const std::string editMessage = travik::NotAValidFloatingNumberMessage(text);
    Require(editMessage.size() <= 64 * 6 + 3 + 40, "edit message not cut");
    RequireShowable(editMessage, "edit message not showable");
    return 0;
}
