#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace travik {

// The record file formats the program reads. Automatic is a choice, not a format: it asks
// for detection by content (DetectRecordFormat), with Free as the fallback.
enum class RecordFormat { Automatic, Free, PeerNga, Csmip, Smc, Knet, Cosmos, Bbp };

// Detection (DetectRecordFormat, FormatReaders.h) looks at no more than this many bytes at
// the start of a file.
inline constexpr std::size_t kDetectionPrefixBytes = 64 * 1024;

// The name shown to the user ("PEER NGA AT2", "Free Type", ...).
std::string_view RecordFormatName(RecordFormat format);

// The command-line word ("auto", "free", "peer", "csmip", "smc", "knet", "cosmos", "bbp").
std::string_view RecordFormatKey(RecordFormat format);
std::optional<RecordFormat> RecordFormatFromKey(std::string_view key);

}  // namespace travik
