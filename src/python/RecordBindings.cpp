#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <pybind11/stl.h>

#include "Bindings.h"
#include "NumpyArrays.h"
#include "core/analysis/AnalysisSettings.h"
#include "core/records/CorrectedSet.h"
#include "core/records/FilterSettings.h"
#include "core/records/FreeFormatReader.h"
#include "core/records/RecordFileReader.h"
#include "core/records/RecordFormat.h"
#include "core/records/RecordIntegration.h"

namespace travik::python {

std::unique_ptr<TimeHistory> MakeRecord(std::span<const double> acceleration, double timeStep,
                                        double gravity, const std::string& name) {
    if (!(timeStep > 0.0) || !std::isfinite(timeStep)) {
        Refuse(kTimeStepNotPositiveMessage);
    }
    if (const std::optional<std::string> refusal = CheckGravity(gravity)) {
        Refuse(*refusal);
    }
    auto record = std::make_unique<TimeHistory>(name, timeStep);
    for (const double sample : acceleration) {
        record->AppendAcceleration(sample);
    }
    if (const std::optional<std::string> failure = IntegrateImportedRecord(*record, gravity)) {
        Refuse(*failure);
    }
    return record;
}

namespace {

std::optional<BaselineCorrectionType> BaselineOf(const std::string& kind) {
    if (kind == "none") {
        return BaselineCorrectionType::None;
    }
    if (kind == "linear") {
        return BaselineCorrectionType::Linear;
    }
    if (kind == "parabolic") {
        return BaselineCorrectionType::Parabolic;
    }
    return std::nullopt;
}

Record Corrected(const Record& record, const std::string& baseline,
                 const std::optional<FilterSettings>& filter) {
    const std::optional<BaselineCorrectionType> type = BaselineOf(baseline);
    if (!type) {
        Refuse("baseline must be none, linear or parabolic, not \"" + baseline + "\"");
    }
    const TimeHistory& source = *record.history;
    if (filter) {
        if (const std::optional<FilterProblem> problem =
                filter->Check(source.TimeStep(), source.SampleCount())) {
            Refuse(problem->message);
        }
    }
    Record copy = record;
    copy.history = MakeRecord(source.RawAcceleration(), source.TimeStep(), record.gravity,
                              source.SourceFileName());
    bool made = false;
    {
        py::gil_scoped_release release;
        made = RebuildCorrectedSet(*copy.history, *type, filter, record.gravity);
    }
    if (!made) {
        Refuse(kBaselineCorrectionFailedMessage);
    }
    return copy;
}

RecordReadOptions ReadOptionsOf(const std::string& format, std::optional<double> timeStep,
                                double scale, int skip, const std::string& delimiter, int column,
                                bool replaceHeaderTimeStep) {
    RecordReadOptions read;
    const std::optional<RecordFormat> chosen = RecordFormatFromKey(format);
    if (!chosen) {
        Refuse("format must be auto, free, peer, csmip, smc, knet or cosmos, not \"" + format +
               "\"");
    }
    if (delimiter != "comma" && delimiter != "space") {
        Refuse("delimiter must be comma or space, not \"" + delimiter + "\"");
    }
    read.format = *chosen;
    read.free.timeStep = timeStep.value_or(FreeFormatParameters{}.timeStep);
    read.free.scalingFactor = scale;
    read.free.linesToSkip = skip;
    read.free.delimiter = delimiter == "space" ? Delimiter::Space : Delimiter::Comma;
    read.free.accelerationColumn = column;
    if (const std::optional<std::string> problem = read.free.Validate()) {
        Refuse(*problem);
    }
    // Named formats take their time step from the file unless one is given.
    if (read.format != RecordFormat::Free && timeStep && replaceHeaderTimeStep) {
        read.timeStepOverride = timeStep;
    }
    if (const std::string problem = read.Check(); !problem.empty()) {
        Refuse(problem);
    }
    return read;
}

std::vector<Record> Read(const std::string& path, const std::string& format,
                         std::optional<double> timeStep, double scale, int skip,
                         const std::string& delimiter, int column, double gravity,
                         bool replaceHeaderTimeStep) {
    const RecordReadOptions read =
        ReadOptionsOf(format, timeStep, scale, skip, delimiter, column, replaceHeaderTimeStep);
    if (const std::optional<std::string> refusal = CheckGravity(gravity)) {
        Refuse(*refusal);
    }
    RecordFileResult file;
    {
        py::gil_scoped_release release;
        file = ReadRecordFile(path, read);
    }
    if (!file.ok()) {
        Refuse(file.message);
    }
    const py::object warn = py::module_::import("warnings").attr("warn");
    for (const std::string& warning : file.warnings) {
        warn(warning);
    }
    std::vector<Record> records;
    for (FormatRecord& entry : file.records) {
        if (const std::optional<std::string> failure =
                IntegrateImportedRecord(*entry.record, gravity)) {
            Refuse(*failure);
        }
        // The pairing of two-component motions reads each channel's direction from it.
        entry.record->SetOrientation(entry.orientation);
        records.push_back({std::shared_ptr<TimeHistory>(std::move(entry.record)), entry.channel,
                           entry.unitsFrom, std::string(RecordFormatKey(file.format)), gravity});
    }
    return records;
}

py::array_t<double> SeriesOf(const py::object& self, int which) {
    const Record& record = self.cast<const Record&>();
    const TimeHistory& h = *record.history;
    const bool c = record.Corrected();
    const DOUBLEVECTOR& series = which == 0 ? h.Acceleration(c)
                                 : which == 1
                                     ? (c ? h.CorrectedVelocity() : h.RawVelocity())
                                     : (c ? h.CorrectedDisplacement() : h.RawDisplacement());
    return ViewOf(series, self);
}

void BindRecordClass(py::module_& module) {
    py::class_<Record>(module, "Record",
                       "One record (channel) of a file. The arrays are read-only views of the "
                       "core's own samples: acceleration in g, velocity in cm/sec, "
                       "displacement in cm; of the corrected set once corrected.")
        .def_property_readonly("name", [](const Record& r) { return r.history->SourceFileName(); })
        .def_readonly("channel", &Record::channel, "the file's own channel label, or \"\"")
        .def_readonly("units_from", &Record::unitsFrom, "units of the file's values before g")
        .def_readonly("format", &Record::format, "the format the file was read as")
        .def_readonly("g", &Record::gravity, "g (cm/sec^2) the motions were integrated with")
        .def_property_readonly("dt", [](const Record& r) { return r.history->TimeStep(); })
        .def_property_readonly("is_corrected", &Record::Corrected)
        .def_property_readonly("acceleration", [](py::object s) { return SeriesOf(s, 0); })
        .def_property_readonly("velocity", [](py::object s) { return SeriesOf(s, 1); })
        .def_property_readonly("displacement", [](py::object s) { return SeriesOf(s, 2); })
        .def(
            "corrected",
            [](const Record& r, const std::string& baseline, const std::optional<std::string>& kind,
               const std::optional<std::vector<double>>& corners, int order, bool acausal) {
                std::optional<FilterSettings> filter;
                if (kind) {
                    filter = FilterSettings{};
                    filter->band = *kind == "lowpass"    ? FilterBand::LowPass
                                   : *kind == "highpass" ? FilterBand::HighPass
                                                         : FilterBand::BandPass;
                    if (*kind != "lowpass" && *kind != "highpass" && *kind != "bandpass") {
                        Refuse("filter must be lowpass, highpass or bandpass, not \"" + *kind +
                               "\"");
                    }
                    const std::vector<double> c = corners.value_or(std::vector<double>{});
                    if (c.size() != (filter->band == FilterBand::BandPass ? 2U : 1U)) {
                        Refuse(
                            "corners: one corner in Hz for a low- or high-pass, two for a "
                            "band-pass");
                    }
                    filter->lowCorner =
                        filter->band == FilterBand::LowPass ? filter->lowCorner : c[0];
                    filter->highCorner = filter->band == FilterBand::LowPass ? c[0] : c.back();
                    filter->order = order;
                    filter->acausal = acausal;
                }
                return Corrected(r, baseline, filter);
            },
            py::arg("baseline") = "linear", py::arg("filter") = py::none(),
            py::arg("corners") = py::none(), py::arg("order") = FilterSettings{}.order,
            py::arg("acausal") = FilterSettings{}.acausal,
            "A new record whose corrected set is this record's raw acceleration with the "
            "baseline fit (none, linear, parabolic) removed, then Butterworth-filtered when "
            "filter (lowpass, highpass, bandpass) is given, and integrated again.")
        .def("__repr__", [](const Record& r) {
            return "<travik.Record " + r.history->SourceFileName() +
                   (r.channel.empty() ? "" : " " + r.channel) + ", " +
                   std::to_string(r.history->SampleCount()) + " samples>";
        });
}

}  // namespace

void BindRecords(py::module_& module) {
    BindRecordClass(module);
    const FreeFormatParameters free;
    module.def("read", &Read, py::arg("path"), py::arg("format") = "auto",
               py::arg("dt") = py::none(), py::arg("scale") = free.scalingFactor,
               py::arg("skip") = free.linesToSkip, py::arg("delimiter") = "comma",
               py::arg("column") = free.accelerationColumn, py::arg("g") = AnalysisSettings{}.g,
               py::arg("replace_header_dt") = true,
               "Reads every record of a file (format: auto, free, peer, csmip, smc, knet, "
               "cosmos). dt, scale, skip, delimiter and column read free-format files; dt "
               "given for a named format replaces its header's time step. Warnings go to "
               "Python's warnings; a fault raises ValueError with the reader's message.");
}

}  // namespace travik::python
