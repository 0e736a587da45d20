// Reading a PEER NGA AT2 file beside reading the same 16,396 values from a one-column
// free-format file: the named-format reader should take no longer than the free-format one.
#include <benchmark/benchmark.h>

#include <string>

#include "core/records/FreeFormatReader.h"
#include "core/records/RecordFileReader.h"

namespace {

const std::string kSamples = TRAVIK_SAMPLE_DATA_DIR;
const std::string kAt2 = kSamples + "/formats/peer/RSN8883_14383980_13849090.AT2";
const std::string kFree = kSamples + "/peer-chinohills-rsn8883-090.txt";

void ReadAt2File(benchmark::State& state) {
    travik::RecordReadOptions options;
    options.format = travik::RecordFormat::PeerNga;
    for (auto _ : state) {
        travik::RecordFileResult result = travik::ReadRecordFile(kAt2, options);
        if (!result.ok() || result.records.at(0).record->SampleCount() != 16396) {
            state.SkipWithError(result.message.c_str());
            break;
        }
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations() * 16396);
}
BENCHMARK(ReadAt2File)->Unit(benchmark::kMillisecond);

void ReadAt2FileDetected(benchmark::State& state) {
    travik::RecordReadOptions options;
    options.format = travik::RecordFormat::Automatic;
    for (auto _ : state) {
        travik::RecordFileResult result = travik::ReadRecordFile(kAt2, options);
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations() * 16396);
}
BENCHMARK(ReadAt2FileDetected)->Unit(benchmark::kMillisecond);

void ReadFreeFormatFileOfTheSameValues(benchmark::State& state) {
    const travik::FreeFormatParameters parameters;
    for (auto _ : state) {
        travik::ReadResult result = travik::ReadFreeFormatFile(kFree, parameters);
        if (!result.ok() || result.record->SampleCount() != 16396) {
            state.SkipWithError(result.message.c_str());
            break;
        }
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations() * 16396);
}
BENCHMARK(ReadFreeFormatFileOfTheSameValues)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
