#pragma once

#include <optional>
#include <ostream>

#include "ImportOptions.h"
#include "core/analysis/AnalysisSettings.h"
#include "core/rotation/ComponentPairs.h"
#include "core/rotation/RotatedSpectra.h"

namespace travik::cli {

// The motions of the files an import read (a file whose reading failed gives none).
ComponentPairing PairImportedComponents(const ImportOptions& import, const ImportOutcome& outcome);

// Says on `err` that a single-component file has no partner. Returns the exit status when
// the run ends here: kExitBadOption, nothing to be written, when every file was read (an
// odd count is the user's mistake); when a reader failed the motions before go on.
std::optional<int> TellUnpaired(const ComponentPairing& pairing, const ImportOutcome& outcome,
                                std::ostream& err);

// Says on `err` why a motion is refused, or that it is cut to the shorter component;
// false when it is refused.
bool TellPairing(const ComponentPair& pair, std::ostream& err);

// The rotated spectra of a motion, having said on `err` why it is refused or cut; nothing
// when it is refused or too short to rotate (said too).
std::optional<RotatedSpectraResult> RotateMotion(const ComponentPair& pair,
                                                 const AnalysisSettings& settings,
                                                 const RotatedSpectraOptions& options,
                                                 std::ostream& err);

// "FILE: <record name>, " as the messages about a motion begin.
std::string MotionPrefix(const TimeHistory& h1);

}  // namespace travik::cli
