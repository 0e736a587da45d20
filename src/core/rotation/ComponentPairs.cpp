#include "core/rotation/ComponentPairs.h"

#include <algorithm>
#include <utility>

#include "core/rotation/ComponentOrientation.h"
#include "core/text/NumberFormat.h"
#include "core/text/ShownText.h"

namespace travik {
namespace {

std::string Degrees(double azimuth) {
    return FormatGeneral(azimuth) + " degrees";
}

// The checks every pair gets, whichever way it was formed.
void CheckPair(ComponentPair& pair) {
    const TimeHistory& h1 = *pair.h1;
    const TimeHistory& h2 = *pair.h2;
    if (h1.TimeStep() != h2.TimeStep()) {
        pair.refusal = "Components have different time steps: " + FormatGeneral(h1.TimeStep()) +
                       " s and " + FormatGeneral(h2.TimeStep()) + " s";
        return;
    }
    if (pair.AzimuthsKnown() && !AtRightAngles(*pair.azimuth1, *pair.azimuth2)) {
        // The rotated components are those of two orthogonal sensors only.
        pair.refusal = "Components are not at right angles: azimuths " + Degrees(*pair.azimuth1) +
                       " and " + Degrees(*pair.azimuth2) +
                       " (rotation needs two horizontal components 90 +/- 1 degrees apart)";
        return;
    }
    if (h1.SampleCount() != h2.SampleCount()) {
        const int shorter = std::min(h1.SampleCount(), h2.SampleCount());
        pair.warnings.push_back(
            "Components have different lengths: " + FormatInteger(h1.SampleCount()) + " and " +
            FormatInteger(h2.SampleCount()) + " samples; both are cut to the shorter, " +
            FormatInteger(shorter) + " samples");
    }
    if (h1.IsCorrected() != h2.IsCorrected()) {
        // Rotating a corrected series with a raw one would mix two processings.
        pair.warnings.push_back(std::string("Only ") + (h1.IsCorrected() ? "H1" : "H2") +
                                " is baseline-corrected or filtered: both components are "
                                "rotated as read");
    }
}

ComponentPair PairOfChannels(const ComponentFile& file, std::size_t index) {
    ComponentPair pair;
    pair.firstFile = index;
    std::vector<std::pair<const TimeHistory*, ComponentOrientation>> horizontals;
    for (const TimeHistory* record : file.records) {
        const ComponentOrientation orientation = ReadComponentOrientation(record->Orientation());
        if (!orientation.vertical) {
            horizontals.emplace_back(record, orientation);
        }
    }
    if (horizontals.size() != 2) {
        pair.h1 = file.records.front();
        pair.refusal = "The file holds " + std::to_string(file.records.size()) +
                       " channels of which " + std::to_string(horizontals.size()) +
                       " horizontal: a pair needs exactly two horizontal channels";
        return pair;
    }
    pair.h1 = horizontals[0].first;
    pair.h2 = horizontals[1].first;
    pair.azimuth1 = horizontals[0].second.azimuth;
    pair.azimuth2 = horizontals[1].second.azimuth;
    CheckPair(pair);
    return pair;
}

std::optional<std::string> VerticalRefusal(const TimeHistory& record) {
    if (!ReadComponentOrientation(record.Orientation()).vertical) {
        return std::nullopt;
    }
    return "The component " + ShownText(record.SourceFileName()) + " is vertical (" +
           ShownText(record.Orientation()) + "): a pair needs two horizontal components";
}

ComponentPair PairOfFiles(const ComponentFile& first, const ComponentFile& second,
                          std::size_t index) {
    ComponentPair pair;
    pair.firstFile = index;
    pair.h1 = first.records.front();
    pair.h2 = second.records.front();
    pair.azimuth1 = ReadComponentOrientation(pair.h1->Orientation()).azimuth;
    pair.azimuth2 = ReadComponentOrientation(pair.h2->Orientation()).azimuth;
    pair.refusal = VerticalRefusal(*pair.h1);
    if (!pair.refusal) {
        pair.refusal = VerticalRefusal(*pair.h2);
    }
    if (!pair.refusal) {
        CheckPair(pair);
    }
    return pair;
}

}  // namespace

ComponentPairing PairComponents(std::vector<ComponentFile> files) {
    ComponentPairing pairing;
    pairing.files = std::move(files);
    std::optional<std::size_t> waiting;  // a single-component file waiting for its H2
    for (std::size_t f = 0; f < pairing.files.size(); ++f) {
        const ComponentFile& file = pairing.files[f];
        if (file.records.empty()) {
            continue;
        }
        if (file.records.size() > 1) {
            pairing.motions.push_back(PairOfChannels(file, f));
        } else if (waiting) {
            pairing.motions.push_back(PairOfFiles(pairing.files[*waiting], file, *waiting));
            waiting.reset();
        } else {
            waiting = f;
        }
    }
    if (waiting) {
        pairing.unpaired =
            "An odd number of single-component files: " + ShownText(pairing.files[*waiting].path) +
            " has no second horizontal component";
    }
    return pairing;
}

}  // namespace travik
