#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/records/TimeHistory.h"

namespace travik {

// One loaded record as the window holds it: the record, the file it was read from (as
// given to the reader; empty for a record of no file) and which reading gave it. Records
// of one reading share `reading`: a file of several channels gives several of them.
struct LoadedComponent {
    const TimeHistory* record = nullptr;
    std::string path;
    std::size_t reading = 0;
};

// A pair proposed to the user, H1 then H2, as indexes into the loaded records.
struct ProposedPair {
    std::size_t h1 = 0;
    std::size_t h2 = 0;
    friend bool operator==(const ProposedPair&, const ProposedPair&) = default;
};

// The pairs the loaded records suggest, in the order of their H1:
// - a reading of several channels gives its two horizontal channels, as the command line
//   pairs such a file (the vertical left out, H1 the first in the file's order);
// - K-NET and KiK-net files of one station and time carry it in their names
//   (station code, then year to minute: CHB0031412312349.EW beside CHB0031412312349.NS;
//   KiK-net's EW2 beside NS2): the east-west and north-south files of one stem form a
//   pair, H1 the one loaded first;
// - when, besides these, exactly two single-component horizontal records are loaded, they
//   are proposed as the command line would take two files, in the order loaded.
// A proposal the command line would refuse (different time steps, azimuths not at right
// angles) is not made.
std::vector<ProposedPair> ProposeComponentPairs(const std::vector<LoadedComponent>& loaded);

}  // namespace travik
