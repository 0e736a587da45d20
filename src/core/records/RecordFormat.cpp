#include "core/records/RecordFormat.h"

#include <array>

namespace travik {
namespace {

struct FormatNames {
    RecordFormat format;
    std::string_view key;
    std::string_view name;
};

constexpr std::array<FormatNames, 8> kNames{{
    {RecordFormat::Automatic, "auto", "Automatic"},
    {RecordFormat::Free, "free", "Free Type"},
    {RecordFormat::PeerNga, "peer", "PEER NGA AT2"},
    {RecordFormat::Csmip, "csmip", "CSMIP/CGS V1/V2"},
    {RecordFormat::Smc, "smc", "USGS SMC"},
    {RecordFormat::Knet, "knet", "K-NET/KiK-net ASCII"},
    {RecordFormat::Cosmos, "cosmos", "COSMOS V1/V2"},
    {RecordFormat::Bbp, "bbp", "SCEC BBP acceleration"},
}};

}  // namespace

std::string_view RecordFormatName(RecordFormat format) {
    for (const FormatNames& names : kNames) {
        if (names.format == format) {
            return names.name;
        }
    }
    return {};
}

std::string_view RecordFormatKey(RecordFormat format) {
    for (const FormatNames& names : kNames) {
        if (names.format == format) {
            return names.key;
        }
    }
    return {};
}

std::optional<RecordFormat> RecordFormatFromKey(std::string_view key) {
    for (const FormatNames& names : kNames) {
        if (names.key == key) {
            return names.format;
        }
    }
    return std::nullopt;
}

}  // namespace travik
