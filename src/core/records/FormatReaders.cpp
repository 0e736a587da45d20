#include "core/records/FormatReaders.h"

#include <array>
#include <vector>

namespace travik {
namespace {

// Detection order: the most specific first lines first.
constexpr std::array<RecordFormatReader, 6> kReaders{{
    {RecordFormat::Cosmos, IsCosmosFile, ReadCosmos},
    {RecordFormat::Knet, IsKnetFile, ReadKnet},
    {RecordFormat::PeerNga, IsPeerNgaFile, ReadPeerNga},
    {RecordFormat::Smc, IsSmcFile, ReadSmc},
    {RecordFormat::Csmip, IsCsmipFile, ReadCsmip},
    {RecordFormat::Bbp, IsBbpFile, ReadBbp},
}};

std::vector<std::string_view> FirstLines(std::string_view bytes) {
    LineSource source(bytes.substr(0, kDetectionPrefixBytes));
    std::vector<std::string_view> firstLines;
    std::string_view line;
    while (firstLines.size() < kDetectionLines && source.Next(line)) {
        firstLines.push_back(line);
    }
    return firstLines;
}

}  // namespace

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
    const std::vector<std::string_view> firstLines = FirstLines(bytes);
    for (const RecordFormatReader& reader : kReaders) {
        if (reader.detect(firstLines)) {
            return reader.format;
        }
    }
    return RecordFormat::Free;
}

}  // namespace travik

namespace travik {

bool RecognisesRecordFormat(RecordFormat format, std::string_view bytes) {
    const RecordFormatReader* reader = FindRecordFormatReader(format);
    return reader != nullptr && reader->detect(FirstLines(bytes));
}

}  // namespace travik
