#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>

#include <pybind11/stl.h>

#include "Bindings.h"
#include "NumpyArrays.h"
#include "core/export/BatchTables.h"
#include "core/measures/FourierSpectrum.h"
#include "core/measures/GroundMotionMeasures.h"
#include "core/records/FreeFormatReader.h"

namespace travik::python {
namespace {

GroundMotionMeasures MeasuresOf(const InputArray& acceleration, double timeStep, double gravity,
                                double bracketThreshold, double maxDtRatio,
                                const std::string& name) {
    MeasureSettings settings;
    settings.g = gravity;
    settings.bracketThreshold = bracketThreshold;
    settings.maxDtOverT = maxDtRatio;
    if (const std::optional<std::string> problem = settings.Check()) {
        Refuse(*problem);
    }
    const std::unique_ptr<TimeHistory> record =
        MakeRecord(SamplesOf(acceleration, "acc"), timeStep, gravity, name);
    py::gil_scoped_release release;
    return ComputeGroundMotionMeasures(*record, settings);
}

py::dict MeasuresDict(const InputArray& acceleration, double timeStep, double gravity,
                      double bracketThreshold, double maxDtRatio) {
    const GroundMotionMeasures m =
        MeasuresOf(acceleration, timeStep, gravity, bracketThreshold, maxDtRatio, "array");
    py::dict measures;
    for (const MeasureRow& row : MeasureRows(m)) {
        const double value = row.measure->Available() ? row.measure->value
                                                      : std::numeric_limits<double>::quiet_NaN();
        measures[row.name] = py::make_tuple(value, row.unit);
    }
    return measures;
}

py::dict Fourier(const InputArray& acceleration, double timeStep, double smoothing,
                 double gravity) {
    const std::span<const double> samples = SamplesOf(acceleration, "acc");
    if (!(timeStep > 0.0) || !std::isfinite(timeStep)) {
        Refuse(kTimeStepNotPositiveMessage);
    }
    if (!(smoothing >= 0.0) || !std::isfinite(smoothing)) {
        Refuse("smoothing: the Konno-Ohmachi bandwidth b must be 0 (none) or more");
    }
    FourierSpectrum spectrum;
    {
        py::gil_scoped_release release;
        spectrum = ComputeFourierSpectrum(samples, timeStep, gravity, smoothing);
    }
    py::dict result;
    result["frequency"] = TakeOver(std::move(spectrum.frequencies));
    result["amplitude"] = TakeOver(std::move(spectrum.amplitudes));
    result["smoothed"] = TakeOver(std::move(spectrum.smoothed));
    return result;
}

}  // namespace

void BindMeasures(py::module_& module) {
    const MeasureSettings defaults;
    module.def("measures", &MeasuresDict, py::arg("acc"), py::arg("dt"), py::arg("g") = defaults.g,
               py::arg("bracket_threshold") = defaults.bracketThreshold,
               py::arg("max_dt_ratio") = defaults.maxDtOverT,
               "Every ground-motion measure of the core: {name: (value, unit)}; a measure "
               "that is not available is nan.");
    module.def("fourier", &Fourier, py::arg("acc"), py::arg("dt"),
               py::arg("smoothing") = kKonnoOhmachiBandwidth, py::arg("g") = defaults.g,
               "Fourier amplitude spectrum (cm/sec) of an acceleration series in g: "
               "{'frequency', 'amplitude', 'smoothed'} arrays; smoothing is the Konno-Ohmachi "
               "bandwidth b (0: none, 'smoothed' empty).");
    module.def("_measures_table_heading", &MeasuresTableHeading);
    module.def("_measures_table_row", [](const std::string& record, const std::string& channel,
                                         const InputArray& acc, double dt, double g) {
        const MeasureSettings base;
        return MeasuresTableRow(
            record, channel,
            MeasuresOf(acc, dt, g, base.bracketThreshold, base.maxDtOverT, record));
    });
}

}  // namespace travik::python
