#pragma once

#include <memory>
#include <span>
#include <string>

#include <pybind11/pybind11.h>

#include "records/TimeHistory.h"

namespace travik::python {

namespace py = pybind11;

// A record built from samples (g) at `timeStep` s, integrated with `gravity` (cm/sec^2);
// raises ValueError with the core's message when it cannot be.
std::unique_ptr<TimeHistory> MakeRecord(std::span<const double> acceleration, double timeStep,
                                        double gravity, const std::string& name = "array");

void BindRecords(py::module_& module);
void BindSpectra(py::module_& module);
void BindMeasures(py::module_& module);
void BindProcessing(py::module_& module);
void BindRotation(py::module_& module);

}  // namespace travik::python
