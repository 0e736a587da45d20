#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/records/TimeHistory.h"

namespace travik {

// One file as read: its name as given and its records in the file's order. A file of one
// record is a single component; a file of several channels holds a whole motion.
struct ComponentFile {
    std::string path;
    std::vector<const TimeHistory*> records;
};

// Two horizontal components taken as one ground motion, H1 then H2, or the reason they
// cannot be rotated together. A motion is refused on its own; the others go on.
struct ComponentPair {
    std::size_t firstFile = 0;  // the file (index into the files) H1 comes from
    const TimeHistory* h1 = nullptr;
    const TimeHistory* h2 = nullptr;
    std::optional<double> azimuth1;  // degrees from north, when the header gives it
    std::optional<double> azimuth2;
    std::optional<std::string> refusal;  // one line: why the pair is not rotated
    // One line each: the components are cut to one length, or only one of them is
    // baseline-corrected or filtered (both are then rotated as read).
    std::vector<std::string> warnings;

    bool AzimuthsKnown() const { return azimuth1.has_value() && azimuth2.has_value(); }
};

// The motions of one run, with the files they were formed from.
struct ComponentPairing {
    std::vector<ComponentFile> files;
    std::vector<ComponentPair> motions;
    // An odd number of single-component files: the message naming the last one, which has
    // no partner (the motions before it are formed all the same; the caller decides).
    std::optional<std::string> unpaired;
};

// Forms the motions of the files in order: a file of several channels gives its two
// horizontal channels (the vertical left out, H1 the first in the file's order); files of
// one channel are taken two by two, H1 then H2. Refused: components with different time
// steps, components whose azimuths are both known and not 90 +/- 1 degrees apart, a
// vertical single component, a file of several channels without exactly two horizontal
// ones. Components of different lengths are cut to the shorter, with a warning; so is a
// pair of which only one component is corrected, since both are rotated as read then.
ComponentPairing PairComponents(std::vector<ComponentFile> files);

}  // namespace travik
