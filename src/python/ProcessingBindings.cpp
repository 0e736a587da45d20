#include <optional>
#include <string>
#include <vector>

#include <pybind11/stl.h>

#include "Bindings.h"
#include "NumpyArrays.h"
#include "core/analysis/AnalysisSettings.h"
#include "core/records/BaselineCorrection.h"
#include "core/records/ButterworthFilter.h"
#include "core/records/FilterSettings.h"
#include "core/records/FreeFormatReader.h"

namespace travik::python {
namespace {

FilterSettings FilterOf(const std::string& kind, const std::vector<double>& corners, int order,
                        bool acausal) {
    FilterSettings settings;
    settings.order = order;
    settings.acausal = acausal;
    const std::size_t needed = kind == "bandpass" ? 2 : 1;
    if (kind == "lowpass") {
        settings.band = FilterBand::LowPass;
    } else if (kind == "highpass") {
        settings.band = FilterBand::HighPass;
    } else if (kind != "bandpass") {
        Refuse("kind must be lowpass, highpass or bandpass, not \"" + kind + "\"");
    }
    if (corners.size() != needed) {
        Refuse(kind + " takes " + std::to_string(needed) + (needed == 1 ? " corner" : " corners") +
               " in Hz");
    }
    if (settings.band == FilterBand::LowPass) {
        settings.highCorner = corners[0];
    } else {
        settings.lowCorner = corners[0];
        if (needed == 2) {
            settings.highCorner = corners[1];
        }
    }
    return settings;
}

py::array_t<double> Filter(const InputArray& acceleration, double timeStep, const std::string& kind,
                           const std::vector<double>& corners, int order, bool acausal) {
    const std::span<const double> samples = SamplesOf(acceleration, "acc");
    const FilterSettings settings = FilterOf(kind, corners, order, acausal);
    if (const std::optional<FilterProblem> problem =
            settings.Check(timeStep, static_cast<int>(samples.size()))) {
        Refuse(problem->message);
    }
    const std::optional<ButterworthDesign> design = DesignButterworth(settings, timeStep);
    if (!design) {
        Refuse("the filter cannot be designed for this time step");
    }
    std::vector<double> filtered;
    {
        py::gil_scoped_release release;
        filtered = FilterSeries(*design, samples);
    }
    return TakeOver(std::move(filtered));
}

BaselineCorrectionType BaselineOf(const std::string& kind) {
    if (kind == "linear") {
        return BaselineCorrectionType::Linear;
    }
    if (kind == "parabolic") {
        return BaselineCorrectionType::Parabolic;
    }
    Refuse("kind must be linear or parabolic, not \"" + kind + "\"");
}

py::array_t<double> Correct(const InputArray& acceleration, double timeStep,
                            const std::string& kind, double gravity) {
    const BaselineCorrectionType type = BaselineOf(kind);
    std::unique_ptr<TimeHistory> record =
        MakeRecord(SamplesOf(acceleration, "acc"), timeStep, gravity);
    bool corrected = false;
    {
        py::gil_scoped_release release;
        corrected = CorrectBaseline(*record, gravity, type);
    }
    if (!corrected) {
        Refuse(kBaselineCorrectionFailedMessage);
    }
    return TakeOver(std::move(record->MutableCorrectedAcceleration()));
}

}  // namespace

void BindProcessing(py::module_& module) {
    const FilterSettings defaults;
    module.def("filter", &Filter, py::arg("acc"), py::arg("dt"), py::arg("kind"),
               py::arg("corners"), py::arg("order") = defaults.order,
               py::arg("acausal") = defaults.acausal,
               "Butterworth filter of a series (kind: lowpass, highpass or bandpass; corners "
               "in Hz, one or two), with zero pads by Boore's rule; one causal pass, or "
               "forward and backward passes when acausal. Returns a new array.");
    module.def("correct", &Correct, py::arg("acc"), py::arg("dt"), py::arg("kind"),
               py::arg("g") = AnalysisSettings{}.g,
               "Baseline correction (linear or parabolic polynomial fit of the drift) of an "
               "acceleration series in g. Returns a new array.");
}

}  // namespace travik::python
