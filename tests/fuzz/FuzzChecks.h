#pragma once

// Properties every fuzz target checks on texts meant for the user: a violation aborts, so
// libFuzzer records the input that caused it.
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace travik::fuzz {

[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
}

inline void Require(bool condition, const char* what) {
    if (!condition) {
        Fail(what);
    }
}

// Text that reaches a terminal, a message box or a report: well-formed UTF-8 and no control
// character (escaped texts show them as \xHH).
inline void RequireShowable(std::string_view text, const char* what) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x20 || lead == 0x7F) {
            Fail(what);
        }
        std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if (lead >= 0x80 && (lead < 0xC2 || lead > 0xF4)) {
            Fail(what);
        }
        if (i + length > text.size()) {
            Fail(what);
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                Fail(what);
            }
        }
        if (lead == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
            Fail(what);  // a C1 control
        }
        i += length;
    }
}

}  // namespace travik::fuzz
