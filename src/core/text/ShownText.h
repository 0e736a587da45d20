#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace travik {

// Longest piece of user-supplied text (a field, an edit) that messages quote in full; a
// longer one is cut after this many characters and ends with "…".
inline constexpr std::size_t kMaxQuotedCharacters = 64;

// The text as it may be shown in a message box, on a terminal or in a report header:
// bytes that are not UTF-8 become U+FFFD, control characters (C0, DEL, C1) and the
// invisible direction overrides are written as \xHH or \uHHHH, so that neither raw binary
// nor a reordered line reaches the user. Everything else is kept as it is.
std::string ShownText(std::string_view text);

// ShownText, cut after `maxCharacters` characters (code points of the shown text) with
// "…" appended when anything was left out.
std::string ShownTextCut(std::string_view text, std::size_t maxCharacters = kMaxQuotedCharacters);

// The text as one field of a comma-separated line (RFC 4180): enclosed in double quotes,
// with every quote doubled, when it holds a comma, a double quote or a line break;
// unchanged otherwise.
std::string CsvField(std::string_view text);

}  // namespace travik
