#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/records/RecordFileReader.h"

// The file a loaded record was read from and how it was read, so that a saved workspace can
// read it again. The records one reading of a file gave share one source object: a file
// read twice (two imports) gives two sources, even with the same path.
struct RecordSource {
    std::string path;  // as given to the reader (local encoding)
    travik::RecordReadOptions read;
};

// Per loaded record, in the workspace's order: its source, or nothing when the record came
// from no file (a test's or a benchmark's records).
using RecordSources = std::vector<std::shared_ptr<const RecordSource>>;
