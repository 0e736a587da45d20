#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace travik {

// Largest record file any reader accepts, in bytes (2 GiB). The largest strong-motion
// records in use (hours at 200 samples per second, a few numbers per line) stay far below
// it; anything larger is taken for a wrong choice rather than read until memory runs out.
inline constexpr std::uintmax_t kMaxRecordFileBytes = std::uintmax_t{2} << 30;

// The checks every record reader makes before it opens a file: only a regular file (after
// following links) is read, since a named pipe would block the import forever and a device
// such as /dev/zero never ends; and a file larger than `maxBytes` is refused before any of
// it is read. Returns the error text for the load message ("Cannot open file "<full
// path>". " and the reason), or nothing when the file may be read. A path that does not
// exist or cannot be examined passes, so that opening it gives the system's own reason.
std::optional<std::string> CheckRecordFileEntry(const std::string& path,
                                                std::uintmax_t maxBytes = kMaxRecordFileBytes);

// The full path of a file between double quotes, as the load messages show it.
std::string QuotedRecordFilePath(const std::string& path);

}  // namespace travik
