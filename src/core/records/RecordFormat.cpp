#include "records/RecordFormat.h"

#include <array>
#include <vector>

#include "records/FormatReaders.h"
#include "records/LineSource.h"

namespace travik {
namespace {

struct FormatNames {
    RecordFormat format;
    std::string_view key;
    std::string_view name;
};

constexpr std::array<FormatNames, 7> kNames{{
    {RecordFormat::Automatic, "auto", "Automatic"},
    {RecordFormat::Free, "free", "Free Type"},
    {RecordFormat::PeerNga, "peer", "PEER NGA AT2"},
    {RecordFormat::Csmip, "csmip", "CSMIP/CGS V1/V2"},
    {RecordFormat::Smc, "smc", "USGS SMC"},
    {RecordFormat::Knet, "knet", "K-NET/KiK-net ASCII"},
    {RecordFormat::Cosmos, "cosmos", "COSMOS V1/V2"},
}};

// Detection order: the most specific first lines first.
constexpr std::array<RecordFormatReader, 5> kReaders{{
    {RecordFormat::Cosmos, IsCosmosFile, ReadCosmos},
    {RecordFormat::Knet, IsKnetFile, ReadKnet},
    {RecordFormat::PeerNga, IsPeerNgaFile, ReadPeerNga},
    {RecordFormat::Smc, IsSmcFile, ReadSmc},
    {RecordFormat::Csmip, IsCsmipFile, ReadCsmip},
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

std::span<const RecordFormatReader> RecordFormatReaders() {
    return kReaders;
}

const RecordFormatReader* FindRecordFormatReader(RecordFormat format) {
    for (const RecordFormatReader& reader : kReaders) {
        if (reader.format == format) {
            return &reader;
        }
    }
    return nullptr;
}

RecordFormat DetectRecordFormat(std::string_view bytes) {
    const std::string_view prefix = bytes.substr(0, kDetectionPrefixBytes);
    LineSource source(prefix);
    std::vector<std::string_view> firstLines;
    std::string_view line;
    while (firstLines.size() < kDetectionLines && source.Next(line)) {
        firstLines.push_back(line);
    }
    for (const RecordFormatReader& reader : kReaders) {
        if (reader.detect(firstLines)) {
            return reader.format;
        }
    }
    return RecordFormat::Free;
}

}  // namespace travik
