#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <pybind11/stl.h>

#include "AnalysisArguments.h"
#include "Bindings.h"
#include "NumpyArrays.h"
#include "core/analysis/AnalysisSettings.h"
#include "core/analysis/CalculationErrors.h"
#include "core/analysis/DampingValues.h"
#include "core/analysis/SpectraComputation.h"
#include "core/export/BatchTables.h"

namespace travik::python {
namespace {

// The spectra of one call: the core's result, and its values laid out (damping, period)
// without the period-0 row, once, for every access.
struct Spectra {
    std::shared_ptr<const SpectraResult> result;
    std::array<py::array_t<double>, kSpectrumKindCount> blocks;
};

Spectra MakeSpectra(SpectraResult&& computed) {
    Spectra spectra;
    spectra.result = std::make_shared<const SpectraResult>(std::move(computed));
    const SpectraResult& r = *spectra.result;
    const auto rows = static_cast<py::ssize_t>(r.dampingRatios.size());
    const auto columns = static_cast<py::ssize_t>(r.periods.size() - 1);
    for (std::size_t kind = 0; kind < kSpectrumKindCount; ++kind) {
        std::vector<double> block;
        block.reserve(static_cast<std::size_t>(rows * columns));
        for (const DOUBLEVECTOR& column : r.columns[kind]) {
            block.insert(block.end(), column.begin() + 1, column.end());
        }
        spectra.blocks[kind] = TakeOver(std::move(block), rows, columns);
    }
    return spectra;
}

Spectra ComputeFor(const InputArray& acceleration, double timeStep,
                   const std::vector<double>& periods, const std::vector<double>& damping,
                   const std::string& method, double maxDtRatio, double gravity, double beta,
                   double gamma, int threads) {
    const AnalysisSettings settings = SettingsOf(method, maxDtRatio, beta, gamma, gravity);
    const std::vector<double> withZero = PeriodsOf(periods);
    CheckDamping(damping);
    if (threads < 0) {
        Refuse("threads must be 0 (one per core) or more");
    }
    const std::unique_ptr<TimeHistory> record =
        MakeRecord(SamplesOf(acceleration, "acc"), timeStep, gravity);
    SpectraResult result;
    {
        py::gil_scoped_release release;
        BatchOptions options;
        options.threads = threads;
        result = ComputeSpectra(*record, settings, damping, withZero, options);
    }
    if (!result.failures.empty()) {
        Refuse(AnalysisCalculationErrorMessage(result.failures.front().dampingRatio,
                                               result.failures.front().period));
    }
    return MakeSpectra(std::move(result));
}

py::array_t<int> SubSteps(const Spectra& s) {
    py::array_t<int> steps(static_cast<py::ssize_t>(s.result->periods.size() - 1));
    for (py::ssize_t k = 0; k < steps.shape(0); ++k) {
        steps.mutable_at(k) = s.result->accuracy[static_cast<std::size_t>(k) + 1].subSteps;
    }
    return steps;
}

void BindSpectraClass(py::module_& module) {
    auto block = [](SpectrumKind kind) {
        return [kind](const Spectra& s) { return s.blocks[static_cast<std::size_t>(kind)]; };
    };
    py::class_<Spectra>(module, "Spectra",
                        "Elastic response spectra: arrays of shape (damping, period). Sd cm, "
                        "Sv and PSv cm/sec, Sa and PSa g; PSv = omega Sd, PSa = omega^2 Sd / g.")
        .def_property_readonly("sd", block(SpectrumKind::Displacement))
        .def_property_readonly("sv", block(SpectrumKind::Velocity))
        .def_property_readonly("sa", block(SpectrumKind::Acceleration))
        .def_property_readonly("psv", block(SpectrumKind::PseudoVelocity))
        .def_property_readonly("psa", block(SpectrumKind::PseudoAcceleration))
        .def_property_readonly("periods",
                               [](const Spectra& s) {
                                   return std::vector<double>(s.result->periods.begin() + 1,
                                                              s.result->periods.end());
                               })
        .def_property_readonly("damping", [](const Spectra& s) { return s.result->dampingRatios; })
        .def_property_readonly("substeps", &SubSteps,
                               "sub-steps n each period was integrated with (dt / n <= "
                               "max_dt_ratio * T)");
}

}  // namespace

void BindSpectra(py::module_& module) {
    BindSpectraClass(module);
    const AnalysisSettings defaults;
    module.def("spectra", &ComputeFor, py::arg("acc"), py::arg("dt"), py::arg("periods"),
               py::arg("damping") = std::vector<double>{kDefaultDampingPercents[0] / 100.0},
               py::arg("method") = "exact", py::arg("max_dt_ratio") = defaults.maxDtOverT,
               py::arg("g") = defaults.g, py::arg("beta") = defaults.beta,
               py::arg("gamma") = defaults.gamma, py::arg("threads") = 0,
               "Response spectra of an acceleration series (g) sampled every dt s, for the "
               "periods (s, ascending, > 0) and damping ratios (fractions of critical): "
               "piecewise-exact recurrence (Nigam and Jennings, 1969) or Newmark's method "
               "(1959). threads: 0 for one per core. Python's lock is released meanwhile.");
    module.def(
        "period_list",
        [](double minPeriod, double maxPeriod, double step) {
            AnalysisSettings settings;
            settings.minPeriod = minPeriod;
            settings.maxPeriod = maxPeriod;
            settings.periodStep = step;
            if (const std::optional<SettingsProblem> problem = settings.Validate()) {
                Refuse(problem->message);
            }
            const std::vector<double> periods = settings.Periods();
            return std::vector<double>(periods.begin() + 1, periods.end());
        },
        py::arg("min_period") = defaults.minPeriod, py::arg("max_period") = defaults.maxPeriod,
        py::arg("step") = defaults.periodStep,
        "The program's period list for the range and step (s), as the settings build it.");
    module.def("_spectra_table_heading", &SpectraTableHeading);
    module.def("_spectra_table_rows",
               [](const std::string& record, const std::string& channel, const Spectra& s) {
                   return SpectraTableRows(record, channel, *s.result);
               });
    module.attr("DEFAULT_DAMPING_PERCENT") = kDefaultDampingPercents[0];
    module.attr("MAX_DAMPING_VALUES") = kMaxDampingValues;
}

}  // namespace travik::python
