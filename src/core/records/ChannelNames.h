#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace travik {

// Longest safe part taken from a file's contents, in bytes.
inline constexpr std::size_t kMaxSafeNamePartBytes = 24;

// A text from a file's contents (a channel number, an orientation, a station) reduced to
// a part of a file name that is safe on every file system: ASCII letters, digits, '-' and
// '+' are kept, every run of other characters (separators, dots, blanks, control and
// non-ASCII characters) becomes one '_', none at either end, at most `maxBytes` bytes.
// Empty when nothing is left.
std::string SafeFileNamePart(std::string_view text, std::size_t maxBytes = kMaxSafeNamePartBytes);

// One channel of a file as its header names it.
struct ChannelLabel {
    std::string number;       // the header's channel number, or the channel's position
    std::string orientation;  // e.g. "90 Deg", "Up"; may be empty
};

// The record names of a file's channels. One channel keeps the file's name; several are
// named <stem>_ch<channel>[_<orientation>], the stem being the file name without its
// extension, channel and orientation reduced by SafeFileNamePart and an azimuth in
// degrees written with three digits ("90 Deg" gives "090"), e.g. CIWLT_ch1_090. No two
// names of one file are the same: a repeated one gets "_" and the channel's position.
std::vector<std::string> ChannelRecordNames(std::string_view fileName,
                                            const std::vector<ChannelLabel>& channels);

}  // namespace travik
