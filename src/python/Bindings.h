#pragma once

#include <memory>
#include <span>
#include <string>

#include <pybind11/pybind11.h>

#include "core/analysis/AnalysisSettings.h"
#include "core/records/TimeHistory.h"

namespace travik::python {

namespace py = pybind11;

// One record as Python sees it: the core's record, shared by the copies `corrected` makes
// of it, and which of its two sets the arrays show.
struct Record {
    std::shared_ptr<TimeHistory> history;
    std::string channel;
    std::string unitsFrom;
    std::string format;
    double gravity = AnalysisSettings{}.g;

    bool Corrected() const { return history->IsCorrected(); }
};

// A record built from samples (g) at `timeStep` s, integrated with `gravity` (cm/sec^2);
// raises ValueError with the core's message when it cannot be.
std::unique_ptr<TimeHistory> MakeRecord(std::span<const double> acceleration, double timeStep,
                                        double gravity, const std::string& name = "array");

void BindRecords(py::module_& module);
void BindSpectra(py::module_& module);
void BindMeasures(py::module_& module);
void BindProcessing(py::module_& module);
void BindRotation(py::module_& module);
void BindPairing(py::module_& module);

}  // namespace travik::python
