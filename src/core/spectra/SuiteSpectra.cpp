#include "core/spectra/SuiteSpectra.h"

#include <algorithm>
#include <mutex>
#include <thread>

#include "core/analysis/SpectraComputation.h"

namespace travik {

SuiteSpectra ComputeSuiteSpectra(const std::vector<const TimeHistory*>& records,
                                 const AnalysisSettings& settings, double dampingRatio,
                                 const std::vector<double>& periods, const SuiteProgress& progress,
                                 const std::atomic<bool>* cancel, unsigned threads) {
    SuiteSpectra suite;
    suite.settings = settings;
    suite.dampingRatio = dampingRatio;
    suite.periods = periods;

    const std::size_t count = records.size();
    std::vector<SpectraResult> results(count);
    std::vector<char> done(count, 0);
    std::atomic<std::size_t> next{0};
    std::mutex progressMutex;
    int finished = 0;
    const auto work = [&]() {
        for (std::size_t i = next++; i < count; i = next++) {
            if (cancel != nullptr && cancel->load()) {
                return;
            }
            results[i] = ComputeSpectra(*records[i], settings, {dampingRatio}, periods);
            done[i] = 1;
            if (progress) {
                const std::lock_guard<std::mutex> lock(progressMutex);
                progress(++finished, static_cast<int>(count));
            }
        }
    };
    if (threads == 0) {
        threads = std::max(1u, std::thread::hardware_concurrency());
    }
    const std::size_t workerCount = std::min<std::size_t>(threads, std::max<std::size_t>(count, 1));
    std::vector<std::thread> workers;
    for (std::size_t w = 1; w < workerCount; ++w) {
        workers.emplace_back(work);
    }
    work();
    for (std::thread& worker : workers) {
        worker.join();
    }
    if (cancel != nullptr && cancel->load()) {
        suite.cancelled = true;
        return suite;
    }

    for (std::size_t i = 0; i < count; ++i) {
        const std::string& name = records[i]->SourceFileName();
        // A record with a failed run would put zeros into the statistics.
        if (!done[i] || !results[i].failures.empty() || results[i].columns[0].empty()) {
            suite.failedRecords.push_back(name);
            continue;
        }
        suite.recordNames.push_back(name);
        for (int kind = 0; kind < kSpectrumKindCount; ++kind) {
            suite.curves[static_cast<std::size_t>(kind)].push_back(
                results[i].Columns(static_cast<SpectrumKind>(kind)).front());
        }
    }
    suite.statistics.dampingRatio = dampingRatio;
    suite.statistics.recordNames = suite.recordNames;
    for (std::size_t kind = 0; kind < suite.curves.size(); ++kind) {
        suite.statistics.kinds[kind] = ComputeSuiteStatistics(periods, suite.curves[kind]);
    }
    return suite;
}

}  // namespace travik
