#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace travik {

// The record file formats the program reads. Automatic is a choice, not a format: it asks
// for detection by content (DetectRecordFormat), with Free as the fallback.
enum class RecordFormat { Automatic, Free, PeerNga, Csmip, Smc, Knet, Cosmos };

// Detection looks at no more than this many bytes at the start of a file.
inline constexpr std::size_t kDetectionPrefixBytes = 64 * 1024;

// The name shown to the user ("PEER NGA AT2", "Free Type", ...).
std::string_view RecordFormatName(RecordFormat format);

// The command-line word ("auto", "free", "peer", "csmip", "smc", "knet", "cosmos").
std::string_view RecordFormatKey(RecordFormat format);
std::optional<RecordFormat> RecordFormatFromKey(std::string_view key);

// The format of a record file judged from its first lines: `bytes` may be the whole file or
// its beginning; only the first kDetectionPrefixBytes are looked at. Each format has its own
// detector; the file's name and extension play no part. A file no detector recognises is
// free format. Never returns Automatic.
RecordFormat DetectRecordFormat(std::string_view bytes);

}  // namespace travik
