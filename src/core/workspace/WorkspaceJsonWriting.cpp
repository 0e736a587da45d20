#include "core/workspace/WorkspaceJson.h"

#include <utility>

#include <nlohmann/json.hpp>

namespace travik {
namespace {

using Json = nlohmann::ordered_json;

std::string BaselineKey(BaselineCorrectionType type) {
    switch (type) {
        case BaselineCorrectionType::Linear:
            return "linear";
        case BaselineCorrectionType::Parabolic:
            return "parabolic";
        case BaselineCorrectionType::None:
            break;
    }
    return "none";
}

std::string BandKey(FilterBand band) {
    switch (band) {
        case FilterBand::LowPass:
            return "lowpass";
        case FilterBand::HighPass:
            return "highpass";
        case FilterBand::BandPass:
            break;
    }
    return "bandpass";
}

Json FilterToJson(const FilterSettings& filter) {
    return Json{{"band", BandKey(filter.band)},
                {"lowCorner", filter.lowCorner},
                {"highCorner", filter.highCorner},
                {"order", filter.order},
                {"acausal", filter.acausal}};
}

Json ReadingToJson(const RecordReadOptions& read) {
    Json json{{"format", std::string(RecordFormatKey(read.format))},
              {"timeStep", read.free.timeStep},
              {"scalingFactor", read.free.scalingFactor},
              {"linesToSkip", read.free.linesToSkip},
              {"delimiter", read.free.delimiter == Delimiter::Space ? "space" : "comma"},
              {"accelerationColumn", read.free.accelerationColumn},
              {"decimalSeparator", std::string(1, read.free.decimalSeparator)}};
    if (read.timeStepOverride) {
        json["timeStepOverride"] = *read.timeStepOverride;
    }
    return json;
}

Json FileToJson(const WorkspaceFileEntry& file) {
    Json records = Json::array();
    for (const WorkspaceRecordSetup& record : file.records) {
        Json entry{{"checked", record.checked}, {"baseline", BaselineKey(record.baseline)}};
        entry["filter"] = record.filter ? FilterToJson(*record.filter) : Json(nullptr);
        records.push_back(std::move(entry));
    }
    Json json{{"path", file.path}};
    if (file.size) {
        json["size"] = *file.size;
    }
    json["reading"] = ReadingToJson(file.read);
    json["records"] = std::move(records);
    return json;
}

Json AnalysisToJson(const AnalysisSettings& settings) {
    return Json{{"g", settings.g},
                {"minPeriod", settings.minPeriod},
                {"maxPeriod", settings.maxPeriod},
                {"periodStep", settings.periodStep},
                {"method", settings.method == IntegrationMethod::Newmark ? "newmark" : "exact"},
                {"maxDtOverT", settings.maxDtOverT},
                {"beta", settings.beta},
                {"gamma", settings.gamma}};
}

}  // namespace

std::string WorkspaceToJson(const WorkspaceDocument& document) {
    Json files = Json::array();
    for (const WorkspaceFileEntry& file : document.files) {
        files.push_back(FileToJson(file));
    }
    Json figures = Json::object();
    for (const auto& [key, value] : document.figures) {
        figures[key] = value;
    }
    const Json json{
        {"format", kWorkspaceFormatMarker},    {"version", kWorkspaceVersion},
        {"files", std::move(files)},           {"analysis", AnalysisToJson(document.analysis)},
        {"damping", document.dampingPercents}, {"figures", std::move(figures)}};
    return json.dump(2) + "\n";
}

}  // namespace travik
