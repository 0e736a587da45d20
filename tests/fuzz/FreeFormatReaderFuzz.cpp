// The free-format reader on arbitrary file bytes. The first three bytes pick the reading
// parameters; the rest is the file, decoded as the reader decodes files.
#include <cmath>
#include <cstdint>
#include <string>

#include "FuzzChecks.h"
#include "core/records/FreeFormatReader.h"

using travik::fuzz::Require;
using travik::fuzz::RequireShowable;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    travik::FreeFormatParameters parameters;
    parameters.linesToSkip = data[0] % 4;
    parameters.accelerationColumn = 1 + data[1] % 3;
    parameters.delimiter = (data[2] & 1) != 0 ? travik::Delimiter::Space : travik::Delimiter::Comma;
    parameters.decimalSeparator = (data[2] & 2) != 0 ? ',' : '.';
    parameters.scalingFactor = (data[2] & 4) != 0 ? 1e300 : 1.0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 3, size - 3);

    const std::string text = travik::DecodeRecordText(bytes);
    Require(text.empty() || text.back() != '\0', "trailing NUL kept");
    const travik::ReadResult result = travik::ReadFreeFormatText(text, "fuzz\x01.txt", parameters);
    if (result.ok()) {
        Require(result.record->SampleCount() > 0, "a record without samples");
        Require(text.find('\0') == std::string::npos, "a text with a NUL was read");
        for (const double sample : result.record->RawAcceleration()) {
            Require(std::isfinite(sample), "a sample that is not finite");
        }
        Require(
            result.record->SampleCount() <= static_cast<int>(travik::SplitTextLines(text).size()),
            "more samples than lines");
    } else {
        Require(!result.message.empty(), "a failure without a message");
        RequireShowable(result.message, "reader message not showable");
        Require(result.message.size() < 1000, "reader message not cut");
    }
    return 0;
}
