#include "ComponentImport.h"

#include <cstddef>
#include <vector>

#include "core/text/ShownText.h"

namespace travik::cli {

ComponentPairing PairImportedComponents(const ImportOptions& import, const ImportOutcome& outcome) {
    std::vector<ComponentFile> files(import.files.size());
    for (std::size_t f = 0; f < files.size(); ++f) {
        files[f].path = import.files[f];
    }
    for (int i = 0; i < outcome.records.Count(); ++i) {
        const std::size_t file = outcome.recordFiles[static_cast<std::size_t>(i)];
        // The channels a failing file gave before its fault are not a whole motion.
        if (file != outcome.failedFile) {
            files[file].records.push_back(&outcome.records.At(i));
        }
    }
    return PairComponents(std::move(files));
}

std::optional<int> TellUnpaired(const ComponentPairing& pairing, const ImportOutcome& outcome,
                                std::ostream& err) {
    if (!pairing.unpaired) {
        return std::nullopt;
    }
    // Only reading tells how many channels a file holds, so an odd count is found now.
    if (outcome.readerFailed) {
        err << "ERROR: " << *pairing.unpaired << '\n';
        return std::nullopt;
    }
    err << "ERROR: " << *pairing.unpaired << "; nothing is written\n";
    return kExitBadOption;
}

bool TellPairing(const ComponentPair& pair, std::ostream& err) {
    if (pair.refusal) {
        err << MotionPrefix(*pair.h1) << "ERROR: " << *pair.refusal << '\n';
        return false;
    }
    for (const std::string& warning : pair.warnings) {
        err << MotionPrefix(*pair.h1) << "WARNING: " << warning << '\n';
    }
    return true;
}

std::optional<RotatedSpectraResult> RotateMotion(const ComponentPair& pair,
                                                 const AnalysisSettings& settings,
                                                 const RotatedSpectraOptions& options,
                                                 std::ostream& err) {
    if (!TellPairing(pair, err)) {
        return std::nullopt;
    }
    std::optional<RotatedSpectraResult> result =
        ComputeRotatedSpectra(settings, *pair.h1, *pair.h2, options);
    if (!result) {
        err << MotionPrefix(*pair.h1)
            << "ERROR: The pair cannot be rotated: it needs at least two samples\n";
    }
    return result;
}

std::string MotionPrefix(const TimeHistory& h1) {
    return "FILE: " + ShownText(h1.SourceFileName()) + ", ";
}

}  // namespace travik::cli
