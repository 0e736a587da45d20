#include "core/rotation/PairProposals.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <optional>
#include <utility>

#include "core/rotation/ComponentOrientation.h"
#include "core/rotation/ComponentPairs.h"

namespace travik {
namespace {

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

// The pair the command line would form of the two records, H1 then H2, when it would
// rotate them.
bool Rotatable(const TimeHistory& h1, const TimeHistory& h2) {
    std::vector<ComponentFile> files(2);
    files[0].records = {&h1};
    files[1].records = {&h2};
    const ComponentPairing pairing = PairComponents(std::move(files));
    return pairing.motions.size() == 1 && !pairing.motions.front().refusal;
}

bool Horizontal(const TimeHistory& record) {
    return !ReadComponentOrientation(record.Orientation()).vertical;
}

// The name a record is known by: its file, or its own name when it came from no file.
std::filesystem::path NameOf(const LoadedComponent& component) {
    return std::filesystem::path(component.path.empty() ? component.record->SourceFileName()
                                                        : component.path);
}

// "EW" or "NS" and what follows it in a K-NET or KiK-net extension (".EW", ".ns2"), or
// nothing for another extension.
std::optional<std::pair<std::string, std::string>> CompassExtension(
    const std::filesystem::path& name) {
    const std::string extension = Upper(name.extension().string());
    if (extension.size() < 3 || extension.size() > 4 || extension[0] != '.') {
        return std::nullopt;
    }
    const std::string direction = extension.substr(1, 2);
    if (direction != "EW" && direction != "NS") {
        return std::nullopt;
    }
    return std::make_pair(direction, extension.substr(3));
}

// The readings of one record each, by reading, in the order loaded.
std::map<std::size_t, std::vector<std::size_t>> RecordsByReading(
    const std::vector<LoadedComponent>& loaded) {
    std::map<std::size_t, std::vector<std::size_t>> readings;
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        readings[loaded[i].reading].push_back(i);
    }
    return readings;
}

// The two horizontal channels of a reading of several, as the command line pairs a file.
std::optional<ProposedPair> PairOfReading(const std::vector<LoadedComponent>& loaded,
                                          const std::vector<std::size_t>& channels) {
    std::vector<ComponentFile> files(1);
    for (const std::size_t i : channels) {
        files[0].records.push_back(loaded[i].record);
    }
    const ComponentPairing pairing = PairComponents(std::move(files));
    if (pairing.motions.size() != 1 || pairing.motions.front().refusal) {
        return std::nullopt;
    }
    ProposedPair pair;
    for (const std::size_t i : channels) {
        if (loaded[i].record == pairing.motions.front().h1) {
            pair.h1 = i;
        } else if (loaded[i].record == pairing.motions.front().h2) {
            pair.h2 = i;
        }
    }
    return pair;
}

// Pairs of east-west and north-south files of one station and time among the single
// records; the records paired are marked used.
void PairCompassFiles(const std::vector<LoadedComponent>& loaded,
                      const std::vector<std::size_t>& singles, std::vector<bool>& used,
                      std::vector<ProposedPair>& pairs) {
    for (std::size_t a = 0; a < singles.size(); ++a) {
        const std::size_t first = singles[a];
        const std::filesystem::path firstName = NameOf(loaded[first]);
        const auto firstCompass = CompassExtension(firstName);
        if (used[first] || !firstCompass) {
            continue;
        }
        for (std::size_t b = a + 1; b < singles.size(); ++b) {
            const std::size_t second = singles[b];
            const std::filesystem::path secondName = NameOf(loaded[second]);
            const auto secondCompass = CompassExtension(secondName);
            if (used[second] || !secondCompass || secondCompass->first == firstCompass->first ||
                secondCompass->second != firstCompass->second ||
                Upper(secondName.stem().string()) != Upper(firstName.stem().string()) ||
                !Rotatable(*loaded[first].record, *loaded[second].record)) {
                continue;
            }
            pairs.push_back({first, second});
            used[first] = used[second] = true;
            break;
        }
    }
}

}  // namespace

std::vector<ProposedPair> ProposeComponentPairs(const std::vector<LoadedComponent>& loaded) {
    std::vector<ProposedPair> pairs;
    std::vector<bool> used(loaded.size(), false);
    std::vector<std::size_t> singles;  // horizontal records read alone, in the order loaded
    for (const auto& [reading, records] : RecordsByReading(loaded)) {
        if (records.size() > 1) {
            if (const std::optional<ProposedPair> pair = PairOfReading(loaded, records)) {
                pairs.push_back(*pair);
            }
        } else if (Horizontal(*loaded[records.front()].record)) {
            singles.push_back(records.front());
        }
    }
    std::sort(singles.begin(), singles.end());
    PairCompassFiles(loaded, singles, used, pairs);
    std::vector<std::size_t> left;
    for (const std::size_t i : singles) {
        if (!used[i]) {
            left.push_back(i);
        }
    }
    if (left.size() == 2 && Rotatable(*loaded[left[0]].record, *loaded[left[1]].record)) {
        pairs.push_back({left[0], left[1]});
    }
    std::sort(pairs.begin(), pairs.end(),
              [](const ProposedPair& a, const ProposedPair& b) { return a.h1 < b.h1; });
    return pairs;
}

}  // namespace travik
