#include "core/text/ShownText.h"

#include <cstdint>
#include <optional>
#include <utility>

namespace travik {
namespace {

constexpr const char* kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD in UTF-8
constexpr const char* kEllipsis = "\xE2\x80\xA6";              // U+2026 in UTF-8

// The code point starting at `pos` and its length in bytes, or nothing when the bytes
// there are not well-formed UTF-8 (overlong forms and surrogates included).
std::optional<std::pair<std::uint32_t, std::size_t>> DecodeAt(std::string_view text,
                                                              std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        return std::pair<std::uint32_t, std::size_t>{lead, 1};
    }
    std::size_t length = 0;
    std::uint32_t codePoint = 0;
    std::uint32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
        smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
        smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (pos + length > text.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    if (codePoint < smallest || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return std::nullopt;
    }
    return std::pair<std::uint32_t, std::size_t>{codePoint, length};
}

// Characters that change how the rest of a line looks without being visible themselves.
bool IsHidden(std::uint32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069) || c == 0x2028 || c == 0x2029;
}

void AppendEscaped(std::uint32_t c, std::string& out) {
    constexpr const char* kHex = "0123456789ABCDEF";
    const int digits = c <= 0xFF ? 2 : 4;
    out += c <= 0xFF ? "\\x" : "\\u";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
        out.push_back(kHex[(c >> shift) & 0xFu]);
    }
}

std::string Shown(std::string_view text, std::size_t maxCharacters) {
    std::string out;
    out.reserve(text.size() < 2 * maxCharacters ? text.size() : 2 * maxCharacters);
    std::size_t characters = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (characters == maxCharacters) {
            out += kEllipsis;
            return out;
        }
        const auto decoded = DecodeAt(text, pos);
        if (!decoded) {
            out += kReplacementCharacter;
            ++pos;
        } else {
            const auto [codePoint, length] = *decoded;
            if (IsHidden(codePoint)) {
                AppendEscaped(codePoint, out);
            } else {
                out.append(text.substr(pos, length));
            }
            pos += length;
        }
        ++characters;
    }
    return out;
}

}  // namespace

std::string ShownText(std::string_view text) {
    return Shown(text, static_cast<std::size_t>(-1));
}

std::string ShownTextCut(std::string_view text, std::size_t maxCharacters) {
    return Shown(text, maxCharacters);
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string quoted(1, '"');
    for (const char c : text) {
        if (c == '"') {
            quoted.push_back('"');
        }
        quoted.push_back(c);
    }
    quoted.push_back('"');
    return quoted;
}

}  // namespace travik
