#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <pybind11/stl.h>

#include "Bindings.h"
#include "core/rotation/ComponentPairs.h"

namespace travik::python {
namespace {

// The Python record that holds `history` among the files' records.
py::object RecordOf(const std::vector<std::vector<Record>>& records, const TimeHistory* history) {
    for (const std::vector<Record>& file : records) {
        for (const Record& record : file) {
            if (record.history.get() == history) {
                return py::cast(record);
            }
        }
    }
    return py::none();
}

py::tuple PairFiles(const std::vector<std::pair<std::string, std::vector<Record>>>& files) {
    std::vector<ComponentFile> components;
    std::vector<std::vector<Record>> records;
    for (const auto& [path, fileRecords] : files) {
        ComponentFile& file = components.emplace_back();
        file.path = path;
        for (const Record& record : fileRecords) {
            file.records.push_back(record.history.get());
        }
        records.push_back(fileRecords);
    }
    const ComponentPairing pairing = PairComponents(std::move(components));
    py::list motions;
    for (const ComponentPair& pair : pairing.motions) {
        py::dict motion;
        motion["file"] = pair.firstFile;
        motion["h1"] = RecordOf(records, pair.h1);
        motion["h2"] = RecordOf(records, pair.h2);
        motion["azimuth1"] = pair.azimuth1;
        motion["azimuth2"] = pair.azimuth2;
        motion["refusal"] = pair.refusal;
        motion["warnings"] = pair.warnings;
        motions.append(motion);
    }
    return py::make_tuple(motions, pairing.unpaired);
}

}  // namespace

void BindPairing(py::module_& module) {
    module.def("pair_components", &PairFiles, py::arg("files"),
               "The two-component motions of files read, as travik-cli rotd forms them: "
               "files is a list of (path, records) in order; a file of several channels "
               "gives its two horizontal channels (H1 the first), files of one channel go "
               "two by two, H1 then H2. Returns (motions, unpaired): each motion a dict with "
               "file (index of H1's file), h1, h2 (Records), azimuth1, azimuth2 (degrees or "
               "None), refusal (why it cannot be rotated, or None) and warnings; unpaired "
               "names a last single file without a partner, or is None.");
}

}  // namespace travik::python
