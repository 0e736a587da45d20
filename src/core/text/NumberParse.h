#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace travik {

// Raised when a text is not a number; what() is the user-facing error text
// "'<text>' is not a valid floating point value" with the trimmed text as ShownTextCut
// shows it.
class ConversionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Strict text-to-number conversion shared by the record reader and every edit.
// Leading and trailing characters with codes up to 32 are ignored. The rest must be:
// an optional sign, digits, optionally the decimal separator and more digits, optionally
// "E"/"e", an optional sign and digits; at least one digit or the separator before the
// exponent. The full stop is accepted as the separator as well when `decimalSeparator` is
// another character; a number holds one separator at most. No thousands separators,
// hexadecimal or special values. The value is the correctly rounded double of the text,
// however many digits the text or its exponent has: a value too large for a double is not
// a number; one that rounds below the smallest subnormal is zero. Returns nothing when the
// text does not have this form.
std::optional<double> TryParseNumber(std::string_view text, char decimalSeparator = '.');

// As TryParseNumber, but throws ConversionError with the reader's error text.
double ParseNumberOrThrow(std::string_view text, char decimalSeparator = '.');

// A whole-number option's text: plain decimal digits, with no sign, blank, prefix
// ("0x", "0o", "0b") or leading zero ("0" itself excepted), so that "010" can never be
// read as octal 8 nor "0x8" as hexadecimal. Nothing when the text has another form or its
// value exceeds `largest`.
std::optional<unsigned long long> TryParsePlainWholeNumber(std::string_view text,
                                                           unsigned long long largest);

// Removes leading and trailing characters with codes from 0 to 32.
std::string_view TrimControlAndBlanks(std::string_view text);

// The message shown when an edit does not hold a number: the edit's text (as ShownTextCut
// shows it) between straight double quotes followed by " is not a valid floating number!".
std::string NotAValidFloatingNumberMessage(std::string_view editText);

}  // namespace travik
