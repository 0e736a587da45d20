#include "ui/suite/SuitePairs.h"

#include <algorithm>
#include <cstddef>

#include "core/text/ShownText.h"
#include "ui/app/RecordSource.h"

travik::ComponentPairing PairRecords(const std::vector<const travik::TimeHistory*>& records,
                                     const std::vector<const RecordSource*>& sources) {
    std::vector<travik::ComponentFile> files;
    const RecordSource* previous = nullptr;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const RecordSource* source = i < sources.size() ? sources[i] : nullptr;
        if (source == nullptr || source != previous) {
            travik::ComponentFile& file = files.emplace_back();
            file.path = source != nullptr ? source->path : records[i]->SourceFileName();
        }
        files.back().records.push_back(records[i]);
        previous = source;
    }
    return travik::PairComponents(std::move(files));
}

std::vector<const travik::ComponentPair*> RotatablePairs(const travik::ComponentPairing& pairing) {
    std::vector<const travik::ComponentPair*> pairs;
    for (const travik::ComponentPair& pair : pairing.motions) {
        if (!pair.refusal && pair.h2 != nullptr) {
            pairs.push_back(&pair);
        }
    }
    return pairs;
}

std::string LeftOutOfPairs(const travik::ComponentPairing& pairing,
                           const std::vector<const travik::TimeHistory*>& records) {
    const std::vector<const travik::ComponentPair*> pairs = RotatablePairs(pairing);
    std::string alone;
    for (const travik::TimeHistory* record : records) {
        const bool paired = std::any_of(pairs.begin(), pairs.end(), [record](const auto* pair) {
            return pair->h1 == record || pair->h2 == record;
        });
        if (!paired) {
            // Appended piece by piece: GCC 12 misreads a prepended literal as an overlapping copy.
            alone += alone.empty() ? "" : ", ";
            alone += travik::ShownText(record->SourceFileName());
        }
    }
    if (alone.empty()) {
        return {};
    }
    std::string message =
        "Not scaled, as they are in no pair of horizontal components: " + alone + ".";
    for (const travik::ComponentPair& pair : pairing.motions) {
        if (pair.refusal) {
            message += "\n";
            message += travik::ShownText(pair.h1->SourceFileName());
            message += ": ";
            message += *pair.refusal;
        }
    }
    return message;
}
