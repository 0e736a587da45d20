#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <pybind11/stl.h>

#include "AnalysisArguments.h"
#include "Bindings.h"
#include "NumpyArrays.h"
#include "core/analysis/CalculationErrors.h"
#include "core/analysis/DampingValues.h"
#include "core/export/RotDTables.h"
#include "core/rotation/RotatedSpectra.h"

namespace travik::python {
namespace {

// The rotated spectra of one pair, with its values laid out for numpy once.
struct RotD {
    std::shared_ptr<const RotatedSpectraResult> result;
};

// Rows of `value(d, k)` for every damping ratio d and period k.
template <typename Value>
py::array_t<double> ByDampingAndPeriod(const RotatedSpectraResult& r, Value value) {
    const std::size_t periods = r.options.periods.size();
    std::vector<double> block;
    block.reserve(r.damping.size() * periods);
    for (const RotatedDampingSpectra& damping : r.damping) {
        for (std::size_t k = 0; k < periods; ++k) {
            block.push_back(value(damping, k));
        }
    }
    return TakeOver(std::move(block), static_cast<py::ssize_t>(r.damping.size()),
                    static_cast<py::ssize_t>(periods));
}

std::size_t PercentileIndex(const RotatedSpectraResult& r, double percentile) {
    const std::vector<double>& asked = r.options.percentiles;
    for (std::size_t i = 0; i < asked.size(); ++i) {
        if (asked[i] == percentile) {
            return i;
        }
    }
    Refuse("percentile " + std::to_string(static_cast<int>(percentile)) +
           " was not asked for: pass it in percentiles");
}

py::array_t<double> Percentile(const RotD& rotd, double percentile) {
    const std::size_t index = PercentileIndex(*rotd.result, percentile);
    return ByDampingAndPeriod(*rotd.result, [index](const RotatedDampingSpectra& d, std::size_t k) {
        return d.points[k].psa.percentiles[index];
    });
}

py::dict PeaksDict(const RotatedPeaks& peaks, const std::vector<double>& percentiles) {
    py::dict dict;
    for (std::size_t i = 0; i < percentiles.size(); ++i) {
        const auto whole = static_cast<int>(percentiles[i]);
        const std::string name =
            whole == percentiles[i]
                ? "rotd" + std::string(whole < 10 ? "0" : "") + std::to_string(whole)
                : "rotd" + std::to_string(percentiles[i]);
        dict[py::str(name)] = peaks.percentiles[i];
    }
    dict["angle"] = peaks.maxAngle;
    dict["h1"] = peaks.h1;
    dict["h2"] = peaks.h2;
    return dict;
}

RotD ComputeFor(const InputArray& h1, const InputArray& h2, double timeStep,
                const std::vector<double>& periods, const std::vector<double>& damping,
                const std::vector<double>& percentiles, const std::string& method,
                double maxDtRatio, double gravity, double beta, double gamma, int threads) {
    const AnalysisSettings settings = SettingsOf(method, maxDtRatio, beta, gamma, gravity);
    RotatedSpectraOptions options;
    // Checked as the spectra's periods are; the rotated spectra have no period-0 row.
    const std::vector<double> checked = PeriodsOf(periods);
    options.periods.assign(checked.begin() + 1, checked.end());
    CheckDamping(damping);
    options.dampingRatios = damping;
    options.percentiles = percentiles;
    if (threads < 0) {
        Refuse("threads must be 0 (one per core) or more");
    }
    options.threads = threads;
    if (const std::optional<std::string> problem = options.Validate()) {
        Refuse(*problem);
    }
    const std::unique_ptr<TimeHistory> first =
        MakeRecord(SamplesOf(h1, "h1"), timeStep, gravity, "h1");
    const std::unique_ptr<TimeHistory> second =
        MakeRecord(SamplesOf(h2, "h2"), timeStep, gravity, "h2");
    const std::size_t n1 = static_cast<std::size_t>(first->SampleCount());
    const std::size_t n2 = static_cast<std::size_t>(second->SampleCount());
    if (n1 != n2) {
        // As the command line does with a pair of files: both are cut to the shorter.
        py::module_::import("warnings")
            .attr("warn")("h1 has " + std::to_string(n1) + " samples and h2 " + std::to_string(n2) +
                          ": both are cut to the shorter");
    }
    std::optional<RotatedSpectraResult> result;
    {
        py::gil_scoped_release release;
        result = ComputeRotatedSpectra(settings, *first, *second, options);
    }
    if (!result) {
        Refuse("the pair cannot be rotated: it needs at least two samples in each component");
    }
    for (const RotatedDampingSpectra& d : result->damping) {
        for (std::size_t k = 0; k < d.points.size(); ++k) {
            if (!d.points[k].computed) {
                Refuse(AnalysisCalculationErrorMessage(d.dampingRatio, options.periods[k]));
            }
        }
    }
    return RotD{std::make_shared<const RotatedSpectraResult>(std::move(*result))};
}

void BindRotDClass(py::module_& module) {
    py::class_<RotD>(module, "RotD",
                     "Orientation-independent spectra of two horizontal components (Boore, "
                     "Watson-Lamprey and Abrahamson 2006; Boore 2010): PSa in g as arrays of "
                     "shape (damping, period), angles in degrees from H1 towards H2.")
        .def_property_readonly("periods",
                               [](const RotD& r) {
                                   const std::vector<double>& p = r.result->options.periods;
                                   return std::vector<double>(p.begin() + 1, p.end());
                               })
        .def_property_readonly("damping",
                               [](const RotD& r) { return r.result->options.dampingRatios; })
        .def_property_readonly("percentiles",
                               [](const RotD& r) { return r.result->options.percentiles; })
        .def("percentile", &Percentile, py::arg("p"),
             "RotDp: the p-th percentile of the 180 rotated peaks (p among those asked)")
        .def_property_readonly("rotd00", [](const RotD& r) { return Percentile(r, 0.0); })
        .def_property_readonly("rotd50", [](const RotD& r) { return Percentile(r, 50.0); })
        .def_property_readonly("rotd100", [](const RotD& r) { return Percentile(r, 100.0); })
        .def_property_readonly(
            "rotd100_angle",
            [](const RotD& r) {
                return ByDampingAndPeriod(*r.result,
                                          [](const RotatedDampingSpectra& d, std::size_t k) {
                                              return static_cast<double>(d.points[k].psa.maxAngle);
                                          });
            },
            "the angle of RotD100 (degrees, 0 to 179)")
        .def_property_readonly("gmroti50",
                               [](const RotD& r) {
                                   return ByDampingAndPeriod(
                                       *r.result, [](const RotatedDampingSpectra& d,
                                                     std::size_t k) { return d.gmrotI50[k]; });
                               })
        .def_property_readonly(
            "gmroti50_angle",
            [](const RotD& r) {
                std::vector<int> angles;
                for (const RotatedDampingSpectra& d : r.result->damping) {
                    angles.push_back(d.gmrotI50Angle);
                }
                return angles;
            },
            "per damping ratio, the one angle (0 to 89 degrees) that defines GMRotI50")
        .def_property_readonly("h1",
                               [](const RotD& r) {
                                   return ByDampingAndPeriod(
                                       *r.result, [](const RotatedDampingSpectra& d,
                                                     std::size_t k) { return d.points[k].psa.h1; });
                               })
        .def_property_readonly("h2",
                               [](const RotD& r) {
                                   return ByDampingAndPeriod(
                                       *r.result, [](const RotatedDampingSpectra& d,
                                                     std::size_t k) { return d.points[k].psa.h2; });
                               })
        .def_property_readonly(
            "pga",
            [](const RotD& r) {
                py::dict dict = PeaksDict(r.result->pga, r.result->options.percentiles);
                std::vector<double> gmrot;
                for (const RotatedDampingSpectra& d : r.result->damping) {
                    gmrot.push_back(d.pgaGmrotI50);
                }
                dict["gmroti50"] = gmrot;
                return dict;
            },
            "rotated peak ground acceleration (g): the percentiles asked, the angle of the "
            "largest, H1 and H2, and per damping ratio GMRotI50 at the spectra's angle")
        .def_property_readonly(
            "pgv",
            [](const RotD& r) -> py::object {
                if (!r.result->pgv) {
                    return py::none();
                }
                return PeaksDict(*r.result->pgv, r.result->options.percentiles);
            },
            "rotated peak ground velocity (cm/sec), as pga");
}

}  // namespace

void BindRotation(py::module_& module) {
    BindRotDClass(module);
    const AnalysisSettings defaults;
    module.def("rotd", &ComputeFor, py::arg("h1"), py::arg("h2"), py::arg("dt"), py::arg("periods"),
               py::arg("damping") = std::vector<double>{kDefaultDampingPercents[0] / 100.0},
               py::arg("percentiles") = std::vector<double>{0.0, 50.0, 100.0},
               py::arg("method") = "exact", py::arg("max_dt_ratio") = defaults.maxDtOverT,
               py::arg("g") = defaults.g, py::arg("beta") = defaults.beta,
               py::arg("gamma") = defaults.gamma, py::arg("threads") = 0,
               "RotD00/50/100 (and any percentile asked), the RotD100 angle, GMRotI50 and the "
               "PSa of H1 and H2 of two horizontal components at right angles (g, sampled "
               "every dt s). The rotated component at theta is h1 cos(theta) + h2 sin(theta), "
               "theta = 0..179 degrees, its peak taken at every integration sub-step, so that "
               "h1 equals spectra(h1, ...).psa to the last digit. Components of different "
               "lengths are cut to the shorter with a warning. Python's lock is released "
               "meanwhile.");
    module.def("_rotd_table_heading", &RotDTableHeading);
    module.def("_rotd_table_rows",
               [](const std::string& h1Record, const std::string& h1Channel,
                  const std::string& h2Record, const std::string& h2Channel, const RotD& r) {
                   return RotDTableRows(h1Record, h1Channel, h2Record, h2Channel, *r.result);
               });
}

}  // namespace travik::python
