#pragma once

#include <string>
#include <vector>

#include "core/records/TimeHistory.h"
#include "core/rotation/ComponentPairs.h"

struct RecordSource;

// The checked records read as two-component motions by the pairing the command line uses:
// records of one file (the same source, one after another) make one file, of which a file
// of several channels gives its two horizontal ones; a record of no file stands alone.
// `sources` holds one entry per record (null for a record of no file).
travik::ComponentPairing PairRecords(const std::vector<const travik::TimeHistory*>& records,
                                     const std::vector<const RecordSource*>& sources);

// The pairs that can be rotated, in order.
std::vector<const travik::ComponentPair*> RotatablePairs(const travik::ComponentPairing& pairing);

// What the pairing leaves out of a suite of pairs, for the user: the records in no pair,
// then each refused pair's reason. Empty when every record of `records` is in a pair.
std::string LeftOutOfPairs(const travik::ComponentPairing& pairing,
                           const std::vector<const travik::TimeHistory*>& records);
