// Every record-format reader on arbitrary bytes, through the same entry point as a file
// import (ReadRecordBytes). The first byte picks the format (Automatic detects it); the
// rest is the file. Whatever is read must be records of finite samples with a positive
// time step; whatever is refused must say so in showable text.
#include <cmath>
#include <cstdint>
#include <string>

#include "FuzzChecks.h"
#include "core/records/RecordFileReader.h"

using travik::fuzz::Require;
using travik::fuzz::RequireShowable;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    constexpr travik::RecordFormat kFormats[] = {
        travik::RecordFormat::Automatic, travik::RecordFormat::Free, travik::RecordFormat::PeerNga,
        travik::RecordFormat::Csmip,     travik::RecordFormat::Smc,  travik::RecordFormat::Knet,
        travik::RecordFormat::Cosmos};
    travik::RecordReadOptions options;
    options.format = kFormats[data[0] % 7];
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    const travik::RecordFileResult result = travik::ReadRecordBytes(bytes, "fuzz.txt", options);
    if (result.ok()) {
        for (const travik::FormatRecord& read : result.records) {
            Require(read.record != nullptr, "a record slot without a record");
            Require(read.record->SampleCount() > 0, "a record without samples");
            // Names may come from the file's contents; they become report names.
            Require(read.record->SourceFileName().find_first_of("/\\") == std::string::npos,
                    "a record name with a path separator");
            Require(std::isfinite(read.record->TimeStep()), "a time step that is not finite");
            for (const double sample : read.record->RawAcceleration()) {
                Require(std::isfinite(sample), "a sample that is not finite");
            }
        }
    } else {
        Require(result.records.empty(), "records kept from a refused file");
        RequireShowable(result.message, "reader message not showable");
    }
    for (const std::string& warning : result.warnings) {
        RequireShowable(warning, "reader warning not showable");
    }
    return 0;
}
